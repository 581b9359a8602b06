#include "platform/scriptcontrol/jscript/js_object_dispatch.h"

#include <js/CallAndConstruct.h>
#include <js/Conversions.h>
#include <js/PropertyAndElement.h>

#include <map>
#include <string>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/jscript/sm_runtime.h"
#include "platform/scriptcontrol/jscript/sm_support.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::jscript {

using automation::DispId;
using automation::HRESULT;
using automation::Variant;

namespace {

constexpr automation::Guid kIidScriptObject{0x4A53D1A0, 0x0B1E, 0x4C7A, {0x9E, 0x11, 0x5C, 0x21, 0x70, 0x8B, 0x3D, 0x01}};
constexpr DispId kFirstNameId = 1000;

// The failure of a script the wrapper ran, as the member's caller sees it.
[[noreturn]] void RaiseFailure(JSContext* cx) {
  if (!JS_IsExceptionPending(cx)) {
    if (SmRuntime::OnThisThread().StoppedForTime())
      throw automation::AutomationError(kTimeoutErrorNumber, "Script execution timed out");
    throw automation::AutomationError(automation::E_FAIL, kOutOfMemoryErrorText);
  }
  JS::RootedValue exception(cx);
  (void)JS_GetPendingException(cx, &exception);
  JS_ClearPendingException(cx);
  std::string message = SafeToString(cx, exception);
  if (exception.isObject()) {
    JS::RootedObject object(cx, &exception.toObject());
    message = SafeGetString(cx, object, "message", message);
  }
  throw automation::AutomationError(automation::E_FAIL, message);
}

class ScriptObject : public automation::ComObject<automation::IDispatch> {
 public:
  ScriptObject(JsBridge& bridge, uint32_t slot) : life_(bridge.Life()), slot_(slot) {}
  ~ScriptObject() override {
    // May run during a collection, which must not see roots come and go.
    if (JsBridge* bridge = life_->bridge) bridge->Unkeep(slot_);
  }

  bool BelongsTo(const JsBridge& bridge) const { return life_->bridge == &bridge; }
  uint32_t Slot() const { return slot_; }

  HRESULT GetTypeInfoCount(uint32_t* count) override {
    if (!count) return automation::E_POINTER;
    *count = 0;
    return automation::S_OK;
  }
  HRESULT GetTypeInfo(uint32_t, const automation::InterfaceInfo** info) override {
    if (info) *info = nullptr;
    return automation::DISP_E_BADINDEX;
  }
  HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) override {
    if (ids.size() < names.size()) return automation::E_INVALIDARG;
    return automation::GuardCall("JScript", [&] {
      for (size_t i = 0; i < names.size(); ++i) {
        auto it = ids_.find(names[i]);
        if (it == ids_.end()) {
          it = ids_.emplace(names[i], kFirstNameId + static_cast<DispId>(names_.size())).first;
          names_.push_back(names[i]);
        }
        ids[i] = it->second;
      }
    });
  }
  HRESULT Invoke(DispId id, uint16_t flags, automation::DispParams& params, Variant* result) override {
    JsBridge* bridge = life_->bridge;
    if (!bridge) return automation::ReportFailure(automation::E_UNEXPECTED, "The script engine has been reset", "JScript");
    JSContext* cx = bridge->Context();
    JSAutoRealm realm(cx, bridge->Global());
    return automation::GuardCall("JScript", [&] {
      std::string name;
      if (id != automation::DISPID_VALUE) {
        size_t index = static_cast<size_t>(id - kFirstNameId);
        if (id < kFirstNameId || index >= names_.size()) throw automation::AutomationError(automation::DISP_E_MEMBERNOTFOUND);
        name = names_[index];
      }
      JS::RootedValue self(cx, bridge->Kept(slot_));
      JS::RootedValue out(cx);
      try {
        JS::RootedValueVector args(cx);
        for (size_t i = params.args.size(); i-- > 0;) Check(args.append(bridge->ToValue(params.args[i])));
        if (id == automation::DISPID_VALUE) {
          if ((flags & automation::DISPATCH_METHOD) && self.isObject() && JS::IsCallable(&self.toObject())) {
            Check(JS::Call(cx, JS::UndefinedHandleValue, self, args, &out));
          } else {
            JSString* text = JS::ToString(cx, self);
            Check(text != nullptr);
            out.setString(text);
          }
        } else if (self.isObject()) {
          JS::RootedObject object(cx, &self.toObject());
          if (flags & automation::DISPATCH_PROPERTYPUT) {
            JS::RootedValue value(cx, args.empty() ? JS::UndefinedValue() : args.back());
            Check(JS_SetProperty(cx, object, name.c_str(), value));
          } else {
            Check(JS_GetProperty(cx, object, name.c_str(), &out));
            if ((flags & automation::DISPATCH_METHOD) && out.isObject() && JS::IsCallable(&out.toObject())) {
              JS::RootedValue function(cx, out);
              JS::RootedValue thisValue(cx, self);
              Check(JS::Call(cx, thisValue, function, args, &out));
            }
          }
        }
        Variant value = bridge->ToVariant(out);
        if (result) *result = std::move(value);
      } catch (const PendingScriptError&) {
        RaiseFailure(cx);
      }
    });
  }

 private:
  void* QueryExtraInterface(const automation::Guid& iid) override {
    return iid == kIidScriptObject ? static_cast<automation::IDispatch*>(this) : nullptr;
  }

  std::shared_ptr<EngineLife> life_;
  uint32_t slot_;
  std::map<std::string, DispId> ids_;
  std::vector<std::string> names_;
};

}  // namespace

automation::ComPtr<automation::IDispatch> WrapScriptObject(JsBridge& bridge, JS::HandleValue value) {
  return automation::MakeObject<ScriptObject>(bridge, bridge.Keep(value));
}

bool ScriptObjectValue(automation::IDispatch* object, JsBridge& bridge, JS::MutableHandleValue value) {
  void* out = nullptr;
  if (automation::Failed(object->QueryInterface(kIidScriptObject, &out)) || !out) return false;
  automation::ComPtr<automation::IDispatch> held =
      automation::ComPtr<automation::IDispatch>::Attach(static_cast<automation::IDispatch*>(out));
  auto* script = static_cast<ScriptObject*>(held.Get());
  if (!script->BelongsTo(bridge)) return false;
  value.set(bridge.Kept(script->Slot()));
  return true;
}

}  // namespace scriptcontrol::jscript
