#include "platform/scriptcontrol/jscript/js_object_dispatch.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"

namespace scriptcontrol::jscript {

using automation::DispId;
using automation::HRESULT;
using automation::Variant;

namespace {

constexpr const char* kObjectsKey = "\xFF" "objects";
constexpr automation::Guid kIidScriptObject{0x4A53D1A0, 0x0B1E, 0x4C7A, {0x9E, 0x11, 0x5C, 0x21, 0x70, 0x8B, 0x3D, 0x01}};
constexpr DispId kFirstNameId = 1000;

// Pushes the stash table of script objects held from C++.
void PushObjects(duk_context* ctx) {
  duk_push_global_stash(ctx);
  if (!duk_get_prop_string(ctx, -1, kObjectsKey)) {
    duk_pop(ctx);
    duk_push_object(ctx);
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, -3, kObjectsKey);
  }
  duk_remove(ctx, -2);
}

struct CallState {
  DispId id;
  uint16_t flags;
  const char* name;
  duk_idx_t argc;
};

// stack: [... object, args (natural order)...]; leaves the result. A
// safe call sees the caller's whole frame, so positions count from the
// top: a C++ member may call a script object from inside a callback.
duk_ret_t InvokeUnsafe(duk_context* ctx, void* udata) {
  const auto* s = static_cast<const CallState*>(udata);
  const duk_idx_t object = duk_get_top(ctx) - s->argc - 1;
  if (s->id == automation::DISPID_VALUE) {
    if ((s->flags & automation::DISPATCH_METHOD) && duk_is_callable(ctx, object)) {
      duk_push_undefined(ctx);
      duk_insert(ctx, object + 1);  // [object, this, args...]
      duk_call_method(ctx, s->argc);
    } else {
      duk_dup(ctx, object);
      duk_to_string(ctx, -1);
    }
    return 1;
  }
  if (s->flags & automation::DISPATCH_PROPERTYPUT) {
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, object, s->name);
    duk_push_undefined(ctx);
    return 1;
  }
  duk_get_prop_string(ctx, object, s->name);
  if ((s->flags & automation::DISPATCH_METHOD) && duk_is_callable(ctx, -1)) {
    duk_insert(ctx, object + 1);  // [object, fn, args...]
    duk_dup(ctx, object);
    duk_insert(ctx, object + 2);  // [object, fn, this, args...]
    duk_call_method(ctx, s->argc);
  }
  return 1;
}

class ScriptObject : public automation::ComObject<automation::IDispatch> {
 public:
  ScriptObject(JsBridge& bridge, uint32_t slot) : life_(bridge.Life()), bridge_(&bridge), slot_(slot) {}
  ~ScriptObject() override {
    if (duk_context* ctx = life_->ctx) {
      PushObjects(ctx);
      duk_del_prop_index(ctx, -1, slot_);
      duk_pop(ctx);
    }
  }

  bool BelongsTo(const JsBridge& bridge) const { return life_->ctx && bridge_ == &bridge; }
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
    duk_context* ctx = life_->ctx;
    if (!ctx) return automation::ReportFailure(automation::E_UNEXPECTED, "The script engine has been reset", "JScript");
    duk_idx_t top = duk_get_top(ctx);
    HRESULT hr = automation::GuardCall("JScript", [&] {
      std::string name;
      if (id != automation::DISPID_VALUE) {
        size_t index = static_cast<size_t>(id - kFirstNameId);
        if (id < kFirstNameId || index >= names_.size()) throw automation::AutomationError(automation::DISP_E_MEMBERNOTFOUND);
        name = names_[index];
      }
      PushObjects(ctx);
      duk_get_prop_index(ctx, -1, slot_);
      duk_remove(ctx, -2);
      for (size_t i = params.args.size(); i-- > 0;) bridge_->PushVariant(params.args[i]);
      CallState state{id, flags, name.c_str(), static_cast<duk_idx_t>(params.args.size())};
      if (duk_safe_call(ctx, InvokeUnsafe, &state, state.argc + 1, 1) != DUK_EXEC_SUCCESS) {
        std::string message = SafeGetString(ctx, -1, "message", SafeToString(ctx, -1));
        throw automation::AutomationError(automation::E_FAIL, message);
      }
      Variant value = bridge_->ToVariant(-1);
      if (result) *result = std::move(value);
    });
    duk_set_top(ctx, top);
    return hr;
  }

 private:
  void* QueryExtraInterface(const automation::Guid& iid) override {
    return iid == kIidScriptObject ? static_cast<automation::IDispatch*>(this) : nullptr;
  }

  std::shared_ptr<EngineLife> life_;
  JsBridge* bridge_;  // valid while life_->ctx is set
  uint32_t slot_;
  std::map<std::string, DispId> ids_;
  std::vector<std::string> names_;
};

std::atomic<uint32_t> nextSlot{1};

}  // namespace

automation::ComPtr<automation::IDispatch> WrapScriptObject(JsBridge& bridge, duk_idx_t idx) {
  duk_context* ctx = bridge.Context();
  idx = duk_normalize_index(ctx, idx);
  uint32_t slot = nextSlot++;
  PushObjects(ctx);
  duk_dup(ctx, idx);
  duk_put_prop_index(ctx, -2, slot);
  duk_pop(ctx);
  return automation::MakeObject<ScriptObject>(bridge, slot);
}

bool PushScriptObject(automation::IDispatch* object, JsBridge& bridge) {
  void* out = nullptr;
  if (automation::Failed(object->QueryInterface(kIidScriptObject, &out)) || !out) return false;
  automation::ComPtr<automation::IDispatch> held = automation::ComPtr<automation::IDispatch>::Attach(static_cast<automation::IDispatch*>(out));
  auto* script = static_cast<ScriptObject*>(held.Get());
  if (!script->BelongsTo(bridge)) return false;
  PushObjects(bridge.Context());
  duk_get_prop_index(bridge.Context(), -1, script->Slot());
  duk_remove(bridge.Context(), -2);
  return true;
}

}  // namespace scriptcontrol::jscript
