#include "platform/automation/class_factory.h"

#include <utility>

#include "platform/automation/error_info.h"

namespace automation {

ServerLifetime::~ServerLifetime() {
  std::vector<ComPtr<IUnknown>> watched;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    watched.swap(watched_);
  }
}

void ServerLifetime::Watch(IUnknown* object) {
  if (!object) return;
  ComPtr<IUnknown> held(object);
  std::lock_guard<std::mutex> guard(mutex_);
  watched_.push_back(std::move(held));
}

void ServerLifetime::Lock() {
  std::lock_guard<std::mutex> guard(mutex_);
  ++locks_;
}

bool ServerLifetime::Unlock() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (locks_ == 0) return false;
  --locks_;
  return true;
}

size_t ServerLifetime::Locks() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return locks_;
}

size_t ServerLifetime::OutstandingObjects() {
  // Released after the lock is given up: a dying object may run code that
  // reaches the server again.
  std::vector<ComPtr<IUnknown>> unused;
  size_t outstanding = 0;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<ComPtr<IUnknown>> kept;
    for (ComPtr<IUnknown>& object : watched_) {
      object->AddRef();
      const uint32_t left = object->Release();
      if (left > 1) {
        kept.push_back(std::move(object));
      } else {
        unused.push_back(std::move(object));
      }
    }
    watched_.swap(kept);
    outstanding = watched_.size();
  }
  return outstanding;
}

bool ServerLifetime::CanUnload() { return OutstandingObjects() == 0 && Locks() == 0; }

FunctionClassFactory::FunctionClassFactory(Creator create, ServerLifetime& lifetime)
    : create_(std::move(create)), lifetime_(lifetime) {}

HRESULT FunctionClassFactory::CreateInstance(IUnknown* outer, const Guid& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return ReportFailure(CLASS_E_NOAGGREGATION, DescribeHResult(CLASS_E_NOAGGREGATION));
  if (!create_) return ReportFailure(E_NOTIMPL, "Not implemented");
  try {
    ComPtr<IUnknown> object = create_();
    if (!object) return ReportFailure(E_UNEXPECTED, "The class made no object");
    HRESULT hr = object->QueryInterface(iid, out);
    if (Failed(hr)) {
      *out = nullptr;
      return ReportFailure(hr, DescribeHResult(hr));
    }
    lifetime_.Watch(object.Get());
    return S_OK;
  } catch (...) {
    if (*out) {
      static_cast<IUnknown*>(*out)->Release();
      *out = nullptr;
    }
    return ReportCurrentException("");
  }
}

HRESULT FunctionClassFactory::LockServer(bool lock) {
  if (lock) {
    lifetime_.Lock();
    return S_OK;
  }
  if (!lifetime_.Unlock()) return ReportFailure(E_UNEXPECTED, "The server is not locked");
  return S_OK;
}

}  // namespace automation
