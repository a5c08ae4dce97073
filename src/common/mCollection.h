// Ordered collections of text items with an optional key, positions counted
// from 1, and the shuffle the show uses for random order.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

struct CollectionItem {
  std::string item;
  std::string key;  // empty: no key
};

class Collection {
 public:
  void Add(std::string item, std::string key = std::string()) { items_.push_back({std::move(item), std::move(key)}); }
  long Count() const { return static_cast<long>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // 1-based; an index outside 1..Count raises a subscript error.
  const std::string& Item(long index) const;
  const std::string& Key(long index) const;
  void Remove(long index);
  const std::vector<CollectionItem>& Items() const { return items_; }

 private:
  std::vector<CollectionItem> items_;
};

// Source of uniform random numbers in [0, 1).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void SeedFromClock() = 0;
  virtual double Next() = 0;
};

// The process's random source, seeded from the clock on request.
RandomSource& SystemRandom();

// Replaces `items` by a new collection holding the same items in random
// order. At each draw k = round-half-even(r * (count - 1) + 1), so the first
// and last remaining items are half as likely as the others. Keys are dropped.
void ShuffleCollection(Collection& items, RandomSource& random = SystemRandom());

}  // namespace tessaly
