// ComObject<I...> is the base of every reference-counted object: it counts
// references, dies at the last Release, and answers QueryInterface for each
// interface it lists and each interface those derive from (IUnknown is the
// first listed interface, so the object's identity is fixed). A class that
// decides at run time which further ids it answers overrides
// QueryExtraInterface.
//
// MakeObject<T>(...) creates one and hands back the first reference.
// LiveObjectCount() tells how many are alive in the process, which is what
// a library's can-unload question and the leak tests ask.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "platform/automation/com_ptr.h"
#include "platform/automation/unknown.h"

namespace automation {

size_t LiveObjectCount();

namespace detail {
void CountObject(int delta);
}

template <class... Interfaces>
class ComObject : public Interfaces... {
  static_assert(sizeof...(Interfaces) > 0, "an object implements at least one interface");

 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT QueryInterface(const Guid& iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    void* found = Find<Interfaces...>(iid);
    if (!found) found = QueryExtraInterface(iid);
    if (!found) return E_NOINTERFACE;
    AddRef();
    *out = found;
    return S_OK;
  }
  uint32_t AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32_t Release() override {
    uint32_t left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() { detail::CountObject(1); }
  virtual ~ComObject() { detail::CountObject(-1); }

  // For ids decided at run time; the result must be an interface pointer
  // of this object. No reference is added here.
  virtual void* QueryExtraInterface(const Guid&) { return nullptr; }

 private:
  template <class I>
  static bool Implements(const Guid& iid) {
    if (iid == I::kIid) return true;
    if constexpr (std::is_same_v<I, IUnknown>) {
      return false;
    } else {
      return Implements<typename I::Base>(iid);
    }
  }
  template <class I, class... Rest>
  void* Find(const Guid& iid) {
    if (Implements<I>(iid)) return static_cast<I*>(this);
    if constexpr (sizeof...(Rest) > 0) {
      return Find<Rest...>(iid);
    } else {
      return nullptr;
    }
  }

  std::atomic<uint32_t> refs_{0};
};

template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));  // owned by its reference count from here on
}

}  // namespace automation
