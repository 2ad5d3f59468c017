#include "editor/PopupMenu.h"

#include <cstdio>

PopupMenuItem& PopupMenu::AddItem(const std::string& text, int flags) {
  items_.push_back({text, nullptr, flags});
  return items_.back();
}

PopupMenu& PopupMenu::AddSubmenu(const std::string& text, Numbering numbering) {
  PopupMenuItem& item = AddItem(text);
  item.submenu = std::make_unique<PopupMenu>(numbering);
  return *item.submenu;
}

void PopupMenu::AddSeparator() {
  AddItem("", PopupMenuItem::kSeparator);
}

std::string PopupMenu::ItemText(int index) const {
  const std::string& text = Item(index).text;
  static const char* const kFormats[] = {nullptr, "%1d: %s", "%02d: %s", "%03d: %s"};
  if (numbering_ == kNoNumbers) return text;
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, kFormats[numbering_], index + 1, text.c_str());
  return buffer;
}

int PopupMenu::AssignIds(int firstId) {
  firstId_ = firstId;
  chosen_ = -1;
  int next = firstId + ItemCount();
  for (PopupMenuItem& item : items_) {
    if (item.submenu) next = item.submenu->AssignIds(next);
  }
  return next;
}

PopupMenu* PopupMenu::Choose(int id) {
  int index = id - firstId_;
  if (index >= 0 && index < ItemCount()) {
    const PopupMenuItem& item = Item(index);
    if (item.submenu || !item.Enabled() || (item.flags & PopupMenuItem::kSeparator)) return nullptr;
    chosen_ = index;
    return this;
  }
  for (PopupMenuItem& item : items_) {
    if (!item.submenu) continue;
    if (PopupMenu* menu = item.submenu->Choose(id)) return menu;
  }
  return nullptr;
}
