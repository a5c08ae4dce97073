#include "common/mCollection.h"

#include <chrono>
#include <cmath>
#include <random>

#include "common/AppError.h"

namespace tessaly {
namespace {

void CheckIndex(long index, long count) {
  if (index < 1 || index > count) throw AppError(kErrSubscript, "Subscript out of range", "Collection");
}

class ClockSeededRandom : public RandomSource {
 public:
  void SeedFromClock() override {
    engine_.seed(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()));
  }
  double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

 private:
  std::mt19937 engine_{12345u};
};

}  // namespace

const std::string& Collection::Item(long index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index - 1)].item;
}

const std::string& Collection::Key(long index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index - 1)].key;
}

void Collection::Remove(long index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + (index - 1));
}

RandomSource& SystemRandom() {
  static ClockSeededRandom random;
  return random;
}

void ShuffleCollection(Collection& items, RandomSource& random) {
  random.SeedFromClock();
  Collection shuffled;
  while (!items.Empty()) {
    double r = random.Next();
    long k = static_cast<long>(std::nearbyint(r * static_cast<double>(items.Count() - 1) + 1.0));
    shuffled.Add(items.Item(k));
    items.Remove(k);
  }
  items = std::move(shuffled);
}

}  // namespace tessaly
