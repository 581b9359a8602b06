#include "platform/automation/prog_id_registry.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/automation/automation_error.h"
#include "platform/classes/builtin_classes.h"
#include "platform/util/text.h"

namespace automation {

std::string CannotCreateObjectMessage(std::string_view progId) {
  return "ActiveX component can't create object: '" + std::string(progId) + "'";
}

ProgIdRegistry& ProgIdRegistry::Instance() {
  // Built and filled once, on the first use from any thread; never
  // destroyed, so objects released late at exit still find it.
  static ProgIdRegistry* const registry = [] {
    auto* made = new ProgIdRegistry();  // owned by the process
    classes::RegisterBuiltinClasses(*made);
    return made;
  }();
  return *registry;
}

void ProgIdRegistry::Register(std::string progId, Creator create) {
  if (kiv::IsBlank(progId)) throw std::invalid_argument("ProgIdRegistry: a class needs a name");
  if (!create) throw std::invalid_argument("ProgIdRegistry: " + progId + " needs a creator");
  std::string key = kiv::ToLowerAscii(progId);
  std::lock_guard<std::mutex> guard(mutex_);
  auto [it, added] = classes_.try_emplace(std::move(key), Entry{progId, create});
  if (!added) it->second.create = std::move(create);
}

ComPtr<IDispatch> ProgIdRegistry::Create(std::string_view progId) const {
  Creator create;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = classes_.find(kiv::ToLowerAscii(progId));
    if (it != classes_.end()) create = it->second.create;
  }
  if (!create) throw AutomationError(CO_E_CLASSSTRING, CannotCreateObjectMessage(progId));
  ComPtr<IDispatch> made = create();
  if (!made) throw AutomationError(E_FAIL, CannotCreateObjectMessage(progId));
  return made;
}

bool ProgIdRegistry::Knows(std::string_view progId) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return classes_.count(kiv::ToLowerAscii(progId)) != 0;
}

std::vector<std::string> ProgIdRegistry::Names() const {
  std::vector<std::string> names;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    for (const auto& [key, entry] : classes_) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace automation
