// Scoped owners of Windows handles, each releasing what it holds with the
// call that belongs to it: a window's DC, a memory DC, a GDI object, an
// object selected into a DC, and a reference to a COM object. Not copyable
// (a COM pointer adds a reference when copied).
#pragma once

#include "common/Win32.h"

#include <ole2.h>
#include <unknwn.h>

namespace tessaly {

// GetDC / ReleaseDC, remembering the window.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// CreateCompatibleDC / DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Any GDI object, deleted with DeleteObject.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H get() const { return h_; }
  H release() {
    H h = h_;
    h_ = nullptr;
    return h;
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// SelectObject for the lifetime of the object, then the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  // False when the object could not be selected.
  bool ok() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

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

// OLE (and so COM) for this thread, once per process; it stays until the
// process ends. A thread where COM already runs serves as well.
inline void InitOle() {
  static const HRESULT done = OleInitialize(nullptr);
  (void)done;
}

}  // namespace tessaly
