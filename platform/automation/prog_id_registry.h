// ProgIdRegistry maps programmatic identifiers ("Vorel.Timer") to the
// functions that make their objects: what a script's CreateObject asks for.
// Names match without regard to letter case. The process has one registry;
// on first use it registers the classes the platform itself serves
// (RegisterBuiltinClasses in platform/classes), so the plug-in and a plain
// script runner see the same classes. All members may be called from any
// thread; a creator runs outside the registry's lock.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"

namespace automation {

class ProgIdRegistry {
 public:
  using Creator = std::function<ComPtr<IDispatch>()>;

  static ProgIdRegistry& Instance();

  ProgIdRegistry() = default;
  ProgIdRegistry(const ProgIdRegistry&) = delete;
  ProgIdRegistry& operator=(const ProgIdRegistry&) = delete;

  // A name registered already takes the new creator. An empty name or an
  // empty creator throws std::invalid_argument.
  void Register(std::string progId, Creator create);
  // A new object of the class. An unknown name throws AutomationError
  // (CO_E_CLASSSTRING) "ActiveX component can't create object: 'NAME'";
  // a creator that gives no object throws the same with its own code.
  ComPtr<IDispatch> Create(std::string_view progId) const;
  bool Knows(std::string_view progId) const;
  // The registered names as they were first written, sorted.
  std::vector<std::string> Names() const;

 private:
  struct Entry {
    std::string name;  // as registered
    Creator create;
  };

  mutable std::mutex mutex_;
  std::unordered_map<std::string, Entry> classes_;  // by lower-case name
};

// "ActiveX component can't create object: 'NAME'"
std::string CannotCreateObjectMessage(std::string_view progId);

}  // namespace automation
