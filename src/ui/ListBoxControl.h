// A standard LISTBOX control as the shared list helpers see it.
#pragma once

#include "common/Win32.h"

#include <string>

#include "common/ListBox.h"

namespace tessaly::ui {

class ListBoxControl : public ListBox {
 public:
  ListBoxControl() = default;
  explicit ListBoxControl(HWND hwnd) : hwnd_(hwnd) {}
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND hWnd() const { return hwnd_; }

  int ListCount() const override;
  // Index outside 0..ListCount-1: AppError 5.
  std::string List(int index) const override;
  // Index outside 0..ListCount-1: AppError 5.
  void SetList(int index, const std::string& text) override;
  bool Selected(int index) const override;
  void SetSelected(int index, bool selected) override;
  // Appends at the end (also in a sorted list box).
  void AddItem(const std::string& item) override;
  void RemoveItem(int index) override;
  void Clear() override;
  // How many items are selected, and the first of them (-1 when none).
  int SelCount() const;
  int FirstSelected() const;

 private:
  void CheckIndex(int index, const char* proc) const;
  HWND hwnd_ = nullptr;
};

}  // namespace tessaly::ui
