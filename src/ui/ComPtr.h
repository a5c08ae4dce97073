// Owner of one reference to a COM object.
#pragma once

#include "Win32.h"

#include <unknwn.h>

namespace tessaly::ui {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over one reference.
  explicit ComPtr(T* p) : p_(p) {}
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~ComPtr() { reset(); }
  ComPtr& operator=(ComPtr o) noexcept {
    T* p = p_;
    p_ = o.p_;
    o.p_ = p;
    return *this;
  }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that return a new reference through T**.
  T** put() {
    reset();
    return &p_;
  }
  // Another interface of the same object; empty when it has none.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    U* u = nullptr;
    if (p_ && FAILED(p_->QueryInterface(iid, reinterpret_cast<void**>(&u)))) u = nullptr;
    return ComPtr<U>(u);
  }

 private:
  T* p_ = nullptr;
};

// A new reference to `p` as a base interface.
template <typename Base, typename T>
ComPtr<Base> Share(const ComPtr<T>& p) {
  if (p) p->AddRef();
  return ComPtr<Base>(p.get());
}

}  // namespace tessaly::ui
