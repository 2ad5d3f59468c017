#include "platform/x11/Xlib.h"

#include <memory>

#include "platform/DynamicLibrary.h"

namespace {

template <typename Function>
bool Bind(const DynamicLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Symbol(name));
  return function != nullptr;
}

std::unique_ptr<Xlib> Load(const DynamicLibrary& library) {
  auto x = std::make_unique<Xlib>();
  const bool complete =
      Bind(library, "XOpenDisplay", x->OpenDisplay) &&
      Bind(library, "XCloseDisplay", x->CloseDisplay) &&
      Bind(library, "XCreateSimpleWindow", x->CreateSimpleWindow) &&
      Bind(library, "XDestroyWindow", x->DestroyWindow) &&
      Bind(library, "XMapWindow", x->MapWindow) && Bind(library, "XSelectInput", x->SelectInput) &&
      Bind(library, "XPending", x->Pending) && Bind(library, "XNextEvent", x->NextEvent) &&
      Bind(library, "XCreateImage", x->CreateImage) && Bind(library, "XPutImage", x->PutImage) &&
      Bind(library, "XCreateGC", x->CreateGC) && Bind(library, "XFreeGC", x->FreeGC) &&
      Bind(library, "XSetErrorHandler", x->SetErrorHandler) && Bind(library, "XSync", x->Sync) &&
      Bind(library, "XFlush", x->Flush) &&
      Bind(library, "XGetWindowAttributes", x->GetWindowAttributes) &&
      Bind(library, "XChangeWindowAttributes", x->ChangeWindowAttributes) &&
      Bind(library, "XTranslateCoordinates", x->TranslateCoordinates) &&
      Bind(library, "XGrabPointer", x->GrabPointer) &&
      Bind(library, "XUngrabPointer", x->UngrabPointer) &&
      Bind(library, "XGrabKeyboard", x->GrabKeyboard) &&
      Bind(library, "XUngrabKeyboard", x->UngrabKeyboard) &&
      Bind(library, "XLookupString", x->LookupString) &&
      Bind(library, "XSendEvent", x->SendEvent) && Bind(library, "XStoreName", x->StoreName) &&
      Bind(library, "XSetTransientForHint", x->SetTransientForHint) &&
      Bind(library, "XInternAtom", x->InternAtom) &&
      Bind(library, "XSetWMProtocols", x->SetWMProtocols) &&
      Bind(library, "XQueryTree", x->QueryTree) && Bind(library, "XFree", x->Free) &&
      Bind(library, "XSetInputFocus", x->SetInputFocus) &&
      Bind(library, "XGetInputFocus", x->GetInputFocus) &&
      Bind(library, "XConvertSelection", x->ConvertSelection) &&
      Bind(library, "XGetWindowProperty", x->GetWindowProperty) &&
      Bind(library, "XGetSelectionOwner", x->GetSelectionOwner);
  return complete ? std::move(x) : nullptr;
}

}  // namespace

const Xlib* Xlib::Get() {
  // Kept loaded for the life of the plug-in: Xlib keeps state behind its displays.
  static const DynamicLibrary library("libX11.so.6");
  static const std::unique_ptr<Xlib> functions = library.Loaded() ? Load(library) : nullptr;
  return functions.get();
}
