#pragma once

#include <memory>
#include <string>
#include <vector>

class PopupMenu;

struct PopupMenuItem {
  enum Flags { kDisabled = 1, kGrayed = 2, kChecked = 4, kSeparator = 8 };
  std::string text;
  std::unique_ptr<PopupMenu> submenu;
  int flags = 0;

  bool Enabled() const { return !(flags & (kDisabled | kGrayed)); }
};

// A menu tree. Every entry has a command id: the entries of one menu take a block of
// consecutive ids (the top menu's from 0) and each submenu, when reached, the next free
// block; separators take an id too. A dismissed menu is told apart from the first entry
// by answering no menu at all, never id 0.
class PopupMenu {
 public:
  enum Numbering { kNoNumbers = 0, kOneDigit = 1, kTwoDigits = 2, kThreeDigits = 3 };

  explicit PopupMenu(Numbering numbering = kNoNumbers) : numbering_(numbering) {}

  PopupMenuItem& AddItem(const std::string& text, int flags = 0);
  PopupMenu& AddSubmenu(const std::string& text, Numbering numbering = kNoNumbers);
  void AddSeparator();

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const PopupMenuItem& Item(int index) const { return items_[static_cast<size_t>(index)]; }
  // The entry's text with the menu's numbering ("%02d: %s" and so on).
  std::string ItemText(int index) const;

  // Numbers the tree; answers the first id after it.
  int AssignIds(int firstId = 0);
  int FirstId() const { return firstId_; }
  // The menu holding the entry with `id`, its chosen index set; nullptr when no selectable
  // entry has that id.
  PopupMenu* Choose(int id);
  int ChosenIndex() const { return chosen_; }

 private:
  Numbering numbering_;
  std::vector<PopupMenuItem> items_;
  int firstId_ = 0;
  int chosen_ = -1;
};
