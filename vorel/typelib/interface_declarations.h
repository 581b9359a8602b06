// The members of the Vorel library's twelve interfaces, one Declare function
// per interface, each in its own file. A Declare function lists the
// interface's members in vtable order with their dispatch ids, parameters
// (names, types, optional arguments and their defaults), result types and
// a one-line description; it declares no code. The object classes bind
// their code to these declarations, so a declaration is what callers see
// whatever the code does.
//
// MemberWriter keeps the lists readable: one call per row, the description
// last, and both accessors of a read-write property in one call.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/type_info.h"

namespace vorel::typelib {

class MemberWriter {
 public:
  explicit MemberWriter(automation::InterfaceInfo& info) : info_(info) {}

  // A method without a result.
  MemberWriter& Method(std::string name, automation::DispId id, std::vector<automation::ParamInfo> params,
                       std::string doc);
  MemberWriter& Method(std::string name, automation::DispId id, std::vector<automation::ParamInfo> params,
                       automation::VarType result, std::string doc);
  MemberWriter& Get(std::string name, automation::DispId id, automation::VarType type, std::string doc,
                    std::vector<automation::ParamInfo> indexParams = {});
  // The assigned value is the put's last parameter, of the property's type.
  MemberWriter& Put(std::string name, automation::DispId id, automation::VarType type, std::string doc);
  // Get and put under one id, described alike.
  MemberWriter& Property(std::string name, automation::DispId id, automation::VarType type, std::string doc);

 private:
  automation::InterfaceInfo& info_;
};

void DeclareMainInterface(automation::InterfaceInfo& info);        // IVorelMain
void DeclareLayerInterface(automation::InterfaceInfo& info);       // IKivScriptLayer
void DeclareControlInterface(automation::InterfaceInfo& info);     // IKivScriptControl
void DeclareParamInterface(automation::InterfaceInfo& info);       // IVorelParam
void DeclareSideInterface(automation::InterfaceInfo& info);        // IVorelSide
void DeclareObjectListInterface(automation::InterfaceInfo& info);  // IKivObjectList
void DeclareXmlInterface(automation::InterfaceInfo& info);         // IVorelXML
void DeclareTimerInterface(automation::InterfaceInfo& info);       // IVorelTimer
void DeclareIoInterface(automation::InterfaceInfo& info);          // IVorelIO
void DeclareUiInterface(automation::InterfaceInfo& info);          // IVorelUI
void DeclareMainMenuInterface(automation::InterfaceInfo& info);    // IVorelMainMenu
void DeclareMenuItemInterface(automation::InterfaceInfo& info);    // IVorelMenuItem

}  // namespace vorel::typelib
