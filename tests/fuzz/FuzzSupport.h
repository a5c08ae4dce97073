// Shared pieces of the fuzz targets: a list in memory and a check that stops
// the run (libFuzzer reports the input) when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ListBox.h"

namespace fuzz {

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

class VectorList : public tessaly::ListBox {
 public:
  std::vector<std::string> items;
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int i) const override { return items.at(static_cast<size_t>(i)); }
  void SetList(int i, const std::string& text) override { items.at(static_cast<size_t>(i)) = text; }
  bool Selected(int) const override { return false; }
  void SetSelected(int, bool) override {}
  void AddItem(const std::string& item) override { items.push_back(item); }
  void RemoveItem(int i) override { items.erase(items.begin() + i); }
  void Clear() override { items.clear(); }
};

}  // namespace fuzz
