// Script objects handed to automation code: a JScript function, array or
// object passed to a member arrives as a dispatch object of its own. Its
// default member calls the function; other names read, write or call the
// object's properties (names as the script spells them). Handed back to
// the same engine it becomes the original script object again. Once the
// engine is gone, every call fails cleanly.
#pragma once

#include <jsapi.h>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"

namespace scriptcontrol::jscript {

class JsBridge;

automation::ComPtr<automation::IDispatch> WrapScriptObject(JsBridge& bridge, JS::HandleValue value);
// The script object when object wraps one of this engine's.
bool ScriptObjectValue(automation::IDispatch* object, JsBridge& bridge, JS::MutableHandleValue value);

}  // namespace scriptcontrol::jscript
