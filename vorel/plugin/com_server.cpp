// The in-process automation server exports. No export lets an exception
// out: a failure becomes its result code.
#include "vorel/plugin/com_server.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/automation/error_info.h"
#include "vorel/host/plugin_module.h"
#include "vorel/plugin/com_registration.h"
#include "vorel/script/objects/object_classes.h"
#include "vorel/typelib/vorel_type_library.h"

#define VOREL_EXPORT extern "C" __attribute__((visibility("default")))

namespace vorel {

namespace {

// The self-registration failure of a server that could not write its
// classes.
constexpr automation::HRESULT kSelfRegClassError = automation::MakeHResult(0x80040201u);  // SELFREG_E_CLASS

// Runs a change of the registration; any failure is the self-registration
// failure, with its text as the error description.
template <class F>
int32_t Registering(F&& change) noexcept {
  try {
    change();
    return automation::S_OK;
  } catch (const std::exception& e) {
    return automation::ReportFailure(kSelfRegClassError, e.what());
  } catch (...) {
    return automation::ReportFailure(kSelfRegClassError, "The registration could not be changed");
  }
}

void SetCreator(automation::ClassRegistry& classes, std::string_view coclassName, ObjectCreator create) {
  const automation::CoClassInfo* c = VorelTypeLibrary().FindCoClass(coclassName);
  if (!c) throw std::logic_error("the Vorel library has no class " + std::string(coclassName));
  automation::ClassRegistry::Creator creator;
  if (create) creator = [create] { return automation::ComPtr<automation::IUnknown>(create()); };
  classes.SetCreator(c->clsid, std::move(creator));
}

automation::ClassRegistry& BuildClasses(automation::ClassRegistry& classes) {
  for (const automation::CoClassInfo& c : VorelTypeLibrary().CoClasses()) classes.AddClass(c.clsid, c.name);
  for (const auto& [name, create] : ImplementedObjectClasses()) SetCreator(classes, name, create);
  return classes;
}

automation::Guid ReadGuid(const void* at) {
  automation::Guid guid;
  std::memcpy(&guid.data1, at, 4);
  std::memcpy(&guid.data2, static_cast<const char*>(at) + 4, 2);
  std::memcpy(&guid.data3, static_cast<const char*>(at) + 6, 2);
  std::memcpy(guid.data4.data(), static_cast<const char*>(at) + 8, 8);
  return guid;
}

}  // namespace

automation::ClassRegistry& ServerClasses() {
  static automation::ClassRegistry classes;
  static automation::ClassRegistry& built = BuildClasses(classes);
  return built;
}

void RegisterObjectClass(std::string_view coclassName, ObjectCreator create) {
  SetCreator(ServerClasses(), coclassName, create);
}

}  // namespace vorel

VOREL_EXPORT int32_t DllGetClassObject(const void* clsid, const void* iid, void** object) {
  if (!object) return automation::E_POINTER;
  *object = nullptr;
  if (!clsid || !iid) return automation::E_INVALIDARG;
  try {
    return vorel::ServerClasses().GetClassObject(vorel::ReadGuid(clsid), vorel::ReadGuid(iid), object);
  } catch (...) {
    *object = nullptr;
    return automation::ReportCurrentException("");
  }
}

VOREL_EXPORT int32_t DllCanUnloadNow() {
  try {
    return vorel::ServerClasses().CanUnload() ? automation::S_OK : automation::S_FALSE;
  } catch (...) {
    // In doubt, stay loaded; the caller's error information says why.
    automation::ReportCurrentException("DllCanUnloadNow");
    return automation::S_FALSE;
  }
}

VOREL_EXPORT int32_t DllRegisterServer() {
  return vorel::Registering([] {
    const std::string module = vorel::PluginFile();
    if (module.empty()) throw std::runtime_error("the library's own file is not known");
    vorel::WriteRegistration(vorel::RegistryFile(), vorel::ServerRegistration(vorel::VorelTypeLibrary(), module));
  });
}

VOREL_EXPORT int32_t DllUnregisterServer() {
  return vorel::Registering([] {
    // Removing needs the section names only, not the values.
    vorel::RemoveRegistration(vorel::RegistryFile(), vorel::ServerRegistration(vorel::VorelTypeLibrary(), {}));
  });
}
