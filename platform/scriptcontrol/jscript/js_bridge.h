// JsBridge carries values between Duktape and the automation layer.
//
// A dispatch object appears in script as a Proxy whose target is a native
// function holding one reference to the object: property reads, writes,
// `in` tests and calls go through GetIDsOfNames and Invoke, so names match
// without regard to case; a member that is a method (or a property with
// required index arguments) reads as a function, so obj.Item(0), obj(0)
// and obj.Text all work. Script values convert to variants and back:
// whole numbers that fit become 32-bit integers, other numbers doubles,
// strings UTF-8, Date objects dates, proxies their own dispatch object,
// and other script objects (arrays, functions) dispatch objects of their
// own. Variant arrays appear as opaque values that VBArray can read.
//
// The bridge also keeps the deadline of the running call: every native
// callback checks it, since the Duktape build has no execution hook.
#pragma once

#include <duktape.h>

#include <chrono>
#include <memory>
#include <optional>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace scriptcontrol::jscript {

// Shared with the dispatch wrappers of script objects, which outlive the
// engine when C++ code keeps them: ctx is null once the engine is gone.
struct EngineLife {
  duk_context* ctx = nullptr;
};

class JsBridge {
 public:
  JsBridge(duk_context* ctx, std::shared_ptr<EngineLife> life);
  JsBridge(const JsBridge&) = delete;
  JsBridge& operator=(const JsBridge&) = delete;

  // The bridge of the heap the callback runs in.
  static JsBridge& Of(duk_context* ctx);

  void PushVariant(const automation::Variant& value);
  automation::Variant ToVariant(duk_idx_t idx);
  // A proxy for the object, or null for a null pointer.
  void PushDispatch(automation::IDispatch* object);
  // Makes the object's members global names: methods as functions,
  // properties as accessors, each under the name its type information
  // spells. An object without type information adds none.
  void DefineGlobalMembers(automation::IDispatch* object);

  void SetDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) { deadline_ = deadline; }
  // Throws the time-out failure once the deadline has passed.
  void CheckDeadline() const;

  duk_context* Context() const { return ctx_; }
  const std::shared_ptr<EngineLife>& Life() const { return life_; }

  // Calls the member with the script arguments at [first, first + count);
  // a put takes the value as its last argument.
  automation::Variant Call(automation::IDispatch* object, automation::DispId id, uint16_t flags, duk_idx_t first,
                           duk_idx_t count);

  // A function that calls the member (a method, or a property with index
  // arguments).
  void PushMemberFunction(automation::IDispatch* object, automation::DispId id);

 private:
  void PushVariantArray(const automation::VariantArray& array);

  duk_context* ctx_;
  std::shared_ptr<EngineLife> life_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
};

}  // namespace scriptcontrol::jscript
