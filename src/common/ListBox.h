// The list box as the shared helpers and the engine see it: items by 0-based
// index, selection, changing, appending and removing. The configuration window's list
// boxes implement it; tests use an in-memory one.
#pragma once

#include <string>

namespace tessaly {

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual int ListCount() const = 0;
  // 0-based; an index outside 0..ListCount-1 raises an invalid-call error.
  virtual std::string List(int index) const = 0;
  // Replaces the text of an item, keeping its place and selection.
  virtual void SetList(int index, const std::string& text) = 0;
  virtual bool Selected(int index) const = 0;
  virtual void SetSelected(int index, bool selected) = 0;
  virtual void AddItem(const std::string& item) = 0;
  virtual void RemoveItem(int index) = 0;
  virtual void Clear() = 0;
};

}  // namespace tessaly
