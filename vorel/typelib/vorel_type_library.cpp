#include "vorel/typelib/vorel_type_library.h"

#include <stdexcept>
#include <string>

#include "platform/util/text.h"
#include "vorel/typelib/interface_declarations.h"

namespace vorel {

namespace {

struct ClassEntry {
  const char* name;
  automation::Guid iid;
  automation::Guid clsid;
  void (*declare)(automation::InterfaceInfo&);
};

// In the order the library lists them.
constexpr ClassEntry kClasses[] = {
    {"VorelMain", kIidIVorelMain, kClsidVorelMain, &typelib::DeclareMainInterface},
    {"KivScriptLayer", kIidIKivScriptLayer, kClsidKivScriptLayer, &typelib::DeclareLayerInterface},
    {"KivScriptControl", kIidIKivScriptControl, kClsidKivScriptControl, &typelib::DeclareControlInterface},
    {"VorelParam", kIidIVorelParam, kClsidVorelParam, &typelib::DeclareParamInterface},
    {"VorelSide", kIidIVorelSide, kClsidVorelSide, &typelib::DeclareSideInterface},
    {"KivObjectList", kIidIKivObjectList, kClsidKivObjectList, &typelib::DeclareObjectListInterface},
    {"VorelXML", kIidIVorelXML, kClsidVorelXML, &typelib::DeclareXmlInterface},
    {"VorelTimer", kIidIVorelTimer, kClsidVorelTimer, &typelib::DeclareTimerInterface},
    {"VorelIO", kIidIVorelIO, kClsidVorelIO, &typelib::DeclareIoInterface},
    {"VorelUI", kIidIVorelUI, kClsidVorelUI, &typelib::DeclareUiInterface},
    {"VorelMainMenu", kIidIVorelMainMenu, kClsidVorelMainMenu, &typelib::DeclareMainMenuInterface},
    {"VorelMenuItem", kIidIVorelMenuItem, kClsidVorelMenuItem, &typelib::DeclareMenuItemInterface},
};

automation::TypeLibrary BuildLibrary() {
  automation::TypeLibrary library("Vorel", "Vorel Library", kLibidVorel, 1, 0);
  for (const ClassEntry& entry : kClasses) {
    std::shared_ptr<automation::InterfaceInfo> info = library.AddDualClass(entry.name, entry.iid, entry.clsid);
    entry.declare(*info);
  }
  return library;
}

}  // namespace

const automation::TypeLibrary& VorelTypeLibrary() {
  static const automation::TypeLibrary library = BuildLibrary();
  return library;
}

std::shared_ptr<automation::InterfaceInfo> VorelInterface(std::string_view name) {
  for (const auto& info : VorelTypeLibrary().Interfaces())
    if (kiv::EqualsIgnoreCase(info->Name(), name)) return info;
  throw std::logic_error("the Vorel library has no interface " + std::string(name));
}

}  // namespace vorel
