// An owning reference to a COM interface: Release on destruction, AddRef on copy.
#pragma once

#include "com/win32.h"

#include <utility>

namespace tezlo::com {

template <typename T>
class Ptr {
 public:
  Ptr() = default;
  // Takes over a reference the caller already owns.
  static Ptr Adopt(T* p) {
    Ptr r;
    r.p_ = p;
    return r;
  }
  // Adds a reference of its own.
  static Ptr Share(T* p) {
    if (p) p->AddRef();
    return Adopt(p);
  }
  Ptr(const Ptr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  Ptr(Ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Ptr& operator=(Ptr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ptr() { Reset(); }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** Out() {
    Reset();
    return &p_;
  }

  template <typename U>
  Ptr<U> As(REFIID iid) const {
    Ptr<U> r;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(r.Out()));
    return r;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace tezlo::com
