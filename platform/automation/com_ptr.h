// ComPtr<T> owns one reference to an interface: copying adds a reference,
// destruction releases it. Attach adopts a reference that a call handed
// out; As queries for another interface.
#pragma once

#include <cstddef>
#include <utility>

#include "platform/automation/unknown.h"

namespace automation {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Adds a reference of its own.
  ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U>
  ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.Get())) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  // Takes over a reference without adding one.
  static ComPtr Attach(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  // Gives up the reference without releasing it.
  T* Detach() { return std::exchange(p_, nullptr); }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Null when the object does not give the interface.
  template <class U>
  ComPtr<U> As() const {
    if (!p_) return nullptr;
    void* out = nullptr;
    if (Failed(p_->QueryInterface(U::kIid, &out)) || !out) return nullptr;
    return ComPtr<U>::Attach(static_cast<U*>(out));
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

// The object's identity: its IUnknown as QueryInterface gives it, which is
// the same pointer for every interface of one object.
template <class T>
ComPtr<IUnknown> Identity(T* p) {
  return ComPtr<T>(p).template As<IUnknown>();
}

}  // namespace automation
