// The class of a desklet's global object on SpiderMonkey: an ordinary
// global whose standard classes (Math, Date...) are resolved on first use.
#pragma once

#include <js/Class.h>
#include <js/GlobalObject.h>

namespace jsengines {

inline constexpr JSClass kDeskletGlobalClass = {
    "DeskletGlobal", JSCLASS_GLOBAL_FLAGS, &JS::DefaultGlobalClassOps, nullptr, nullptr, nullptr};

}  // namespace jsengines
