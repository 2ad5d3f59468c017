#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The few Xlib functions the editor uses, from libX11 loaded when the editor first opens, so
// the plug-in loads on a machine without X.
struct Xlib {
  decltype(&XOpenDisplay) OpenDisplay = nullptr;
  decltype(&XCloseDisplay) CloseDisplay = nullptr;
  decltype(&XCreateSimpleWindow) CreateSimpleWindow = nullptr;
  decltype(&XDestroyWindow) DestroyWindow = nullptr;
  decltype(&XMapWindow) MapWindow = nullptr;
  decltype(&XSelectInput) SelectInput = nullptr;
  decltype(&XPending) Pending = nullptr;
  decltype(&XNextEvent) NextEvent = nullptr;
  decltype(&XCreateImage) CreateImage = nullptr;
  decltype(&XPutImage) PutImage = nullptr;
  decltype(&XCreateGC) CreateGC = nullptr;
  decltype(&XFreeGC) FreeGC = nullptr;
  decltype(&XSetErrorHandler) SetErrorHandler = nullptr;
  decltype(&XSync) Sync = nullptr;
  decltype(&XFlush) Flush = nullptr;
  decltype(&XGetWindowAttributes) GetWindowAttributes = nullptr;
  decltype(&XChangeWindowAttributes) ChangeWindowAttributes = nullptr;
  decltype(&XTranslateCoordinates) TranslateCoordinates = nullptr;
  decltype(&XGrabPointer) GrabPointer = nullptr;
  decltype(&XUngrabPointer) UngrabPointer = nullptr;
  decltype(&XGrabKeyboard) GrabKeyboard = nullptr;
  decltype(&XUngrabKeyboard) UngrabKeyboard = nullptr;
  decltype(&XLookupString) LookupString = nullptr;
  decltype(&XSendEvent) SendEvent = nullptr;
  decltype(&XStoreName) StoreName = nullptr;
  decltype(&XSetTransientForHint) SetTransientForHint = nullptr;
  decltype(&XInternAtom) InternAtom = nullptr;
  decltype(&XSetWMProtocols) SetWMProtocols = nullptr;
  decltype(&XQueryTree) QueryTree = nullptr;
  decltype(&XFree) Free = nullptr;
  decltype(&XSetInputFocus) SetInputFocus = nullptr;
  decltype(&XGetInputFocus) GetInputFocus = nullptr;
  decltype(&XConvertSelection) ConvertSelection = nullptr;
  decltype(&XGetWindowProperty) GetWindowProperty = nullptr;
  decltype(&XGetSelectionOwner) GetSelectionOwner = nullptr;

  // The library, loaded on the first call; null when libX11 or one of its functions is
  // missing.
  static const Xlib* Get();
};
