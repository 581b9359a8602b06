// The script-visible classes that exist so far, with the creator the class
// factories use. A factory-made object stands for no desklet: scripts get
// their objects from the plug-in, bound, and an unbound one fails clearly.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"

namespace vorel {

// Makes a new, unbound object of one class.
using ObjectCreator = automation::ComPtr<automation::IDispatch> (*)();

std::vector<std::pair<std::string_view, ObjectCreator>> ImplementedObjectClasses();

}  // namespace vorel
