// IClassFactory is how a server hands out objects of one class to callers
// that know only the class id: CreateInstance makes an object and answers
// it as the interface asked for; LockServer(true) keeps the server loaded
// while the caller intends to make objects later, LockServer(false) lets
// it go again.
//
// ServerLifetime is a server's answer to "may I be unloaded?": it counts
// the locks and watches every object the server handed out (factories
// included). An object counts as outstanding while anyone but the server
// holds a reference to it; the server keeps one reference of its own to
// each object it watches and lets go of it at the first look that finds
// no other holder. Watched objects must report their true reference count
// from AddRef and Release, as ComObject does.
//
// FunctionClassFactory is the factory of one class whose objects a
// function makes. A factory without a function answers E_NOTIMPL "Not
// implemented"; a function that throws reports its failure through the
// thread's error information like any member does.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/com_ptr.h"
#include "platform/automation/unknown.h"

namespace automation {

class IClassFactory : public IUnknown {
 public:
  static constexpr Guid kIid = kIID_IClassFactory;
  using Base = IUnknown;

  // outer must be null: the classes here are not aggregated
  // (CLASS_E_NOAGGREGATION). On success *out holds an added reference; on
  // failure it is null.
  virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

class ServerLifetime {
 public:
  ServerLifetime() = default;
  ServerLifetime(const ServerLifetime&) = delete;
  ServerLifetime& operator=(const ServerLifetime&) = delete;
  // Lets go of every watched object.
  ~ServerLifetime();

  // Starts watching an object the server hands out.
  void Watch(IUnknown* object);
  void Lock();
  // False, with the count unchanged, when no lock is held.
  bool Unlock();

  size_t Locks() const;
  // The watched objects that someone outside the server still holds.
  size_t OutstandingObjects();
  bool CanUnload();

 private:
  mutable std::mutex mutex_;
  size_t locks_ = 0;
  std::vector<ComPtr<IUnknown>> watched_;
};

class FunctionClassFactory : public ComObject<IClassFactory> {
 public:
  using Creator = std::function<ComPtr<IUnknown>()>;

  // The lifetime must outlive the factory.
  FunctionClassFactory(Creator create, ServerLifetime& lifetime);

  HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) override;
  HRESULT LockServer(bool lock) override;

 private:
  Creator create_;
  ServerLifetime& lifetime_;
};

}  // namespace automation
