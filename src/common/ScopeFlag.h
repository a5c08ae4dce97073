// A flag that is set for the life of a scope and cleared when the scope
// ends, also by an exception.
#pragma once

namespace tessaly {

class ScopeFlag {
 public:
  explicit ScopeFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopeFlag() { flag_ = false; }
  ScopeFlag(const ScopeFlag&) = delete;
  ScopeFlag& operator=(const ScopeFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace tessaly
