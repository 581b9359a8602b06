// ClassRegistry is an in-process server's table of the classes it serves:
// each class id with its name and the function that makes its objects.
// GetClassObject hands out a factory for a served class (a new one at
// every call); the factory looks the function up when it is asked for an
// object, so a class whose function comes later, or never, still has a
// factory, which answers E_NOTIMPL "Not implemented" until then.
//
// The registry also keeps the server's lifetime (class_factory.h): the
// objects and factories it handed out and the locks taken through them,
// which is what CanUnload answers from. One registry serves one server for
// the life of the process; it must outlive the factories it hands out.
// All members may be called from any thread.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/automation/class_factory.h"
#include "platform/automation/guid.h"

namespace automation {

class ClassRegistry {
 public:
  using Creator = std::function<ComPtr<IUnknown>()>;

  ClassRegistry() = default;
  ClassRegistry(const ClassRegistry&) = delete;
  ClassRegistry& operator=(const ClassRegistry&) = delete;

  // Serves a class; a class id served already keeps its creator and takes
  // the new name.
  void AddClass(const Guid& clsid, std::string name);
  // Sets (or, with an empty creator, clears) the creator of a served
  // class; false when the class is not served.
  bool SetCreator(const Guid& clsid, Creator create);

  bool Serves(const Guid& clsid) const;
  bool HasCreator(const Guid& clsid) const;
  // Empty when the class is not served.
  std::string NameOf(const Guid& clsid) const;

  // The class's factory, answered as iid (IClassFactory or IUnknown).
  // CLASS_E_CLASSNOTAVAILABLE for a class that is not served; *out is null
  // on every failure.
  HRESULT GetClassObject(const Guid& clsid, const Guid& iid, void** out);

  // True when no object or factory handed out is still held outside the
  // server and no lock is taken.
  bool CanUnload() { return lifetime_.CanUnload(); }
  ServerLifetime& Lifetime() { return lifetime_; }

 private:
  struct ClassEntry {
    std::string name;
    Creator create;
  };

  // Makes one object with the creator the class has now.
  ComPtr<IUnknown> Create(const Guid& clsid) const;

  mutable std::mutex mutex_;
  std::unordered_map<Guid, ClassEntry, GuidHash> classes_;
  // Declared last: destroyed first, while the classes' creators still exist.
  ServerLifetime lifetime_;
};

}  // namespace automation
