// Calls on dispatch objects from C++: names resolved through
// GetIDsOfNames, arguments given in their natural order (first argument
// first) and reversed here into the order Invoke takes. A failed call
// throws AutomationError with the code and the description the object left
// in the error information.
#pragma once

#include <string_view>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace automation {

// Fails with DISP_E_UNKNOWNNAME ("Unknown name.") for a name the object
// does not know.
DispId GetDispId(IDispatch* object, std::string_view name);

Variant InvokeMember(IDispatch* object, DispId id, uint16_t flags, std::vector<Variant> args = {});

Variant CallMethod(IDispatch* object, std::string_view name, std::vector<Variant> args = {});
Variant GetProperty(IDispatch* object, std::string_view name, std::vector<Variant> args = {});
// args are the property's index arguments; the value goes last as the
// DISPID_PROPERTYPUT named argument.
void PutProperty(IDispatch* object, std::string_view name, Variant value, std::vector<Variant> args = {});

// The object's own description (GetTypeInfo(0)); null when it gives none.
const InterfaceInfo* TypeInfoOf(IDispatch* object);

// Throws AutomationError for a failed code, with the thread's error
// description when there is one.
void ThrowIfFailed(HRESULT hr);

}  // namespace automation
