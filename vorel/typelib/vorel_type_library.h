// The Vorel type library: the description of every object that skin
// scripts can reach. Twelve dual interfaces (IVorelMain, IKivScriptLayer,
// ...) with their classes (VorelMain, KivScriptLayer, ...), each member
// with its dispatch id, parameters, optional arguments and defaults, result
// and a one-line description. The object classes bind their code to these
// interfaces; the COM server registers the classes; the documentation for
// skin authors is printed from it.
//
// The library is built at first use and never changes afterwards, so it
// may be read from any thread. Object classes bind code to the declared
// members (DispatchTable(VorelInterface(...)).Implement); they never add
// members to a library interface.
#pragma once

#include <memory>
#include <string_view>

#include "platform/automation/type_library.h"
#include "vorel/typelib/vorel_guids.h"

namespace vorel {

const automation::TypeLibrary& VorelTypeLibrary();

// The declared interface, e.g. "IVorelMain" (letter case does not matter);
// throws std::logic_error when the library has no such interface.
std::shared_ptr<automation::InterfaceInfo> VorelInterface(std::string_view name);

}  // namespace vorel
