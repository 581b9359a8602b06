// JsBridge carries values between SpiderMonkey and the automation layer,
// one per engine (its realm's private data).
//
// A dispatch object appears in script as a proxy (dispatch_proxy.h)
// holding one reference to the object: property reads, writes, `in` tests
// and calls go through GetIDsOfNames and Invoke, so names match without
// regard to case; a member that is a method (or a property with required
// index arguments) reads as a function, so obj.Item(0), obj(0) and
// obj.Text all work. The proxy is callable (typeof "function") only when
// its interface has a default member.
//
// Objects with type information share tables per interface, which
// remember what each spelling of a name read as: a property's dispatch
// id, or the interface's one function for a method. That function calls
// the member on its `this`, so obj.Method() needs neither a name lookup
// nor a function of its own; called on anything but an object of its
// interface (f = obj.Method; f()) it fails with "Object expected". Script
// values convert to variants and back: whole numbers that fit become
// 32-bit integers, other numbers doubles, strings UTF-8, Date objects
// dates, proxies their own dispatch object, and other script objects
// (arrays, functions) dispatch objects of their own. Variant arrays appear
// as opaque values that VBArray can read.
//
// NOTE: each read of an object gives a new proxy, so two reads of the
// same object are not === in script; a cache would need weak maps keyed
// by C++ pointers.
//
// Calls follow the member's type information where it asks for more than
// plain values: a parameter declared by reference receives a reference to
// a variant holding the argument (scripts have no variables to pass, so
// what the member writes there stays with the call), and a script array
// given for a parameter declared as a variant array becomes one.
#pragma once

#include <jsapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace automation {
class InterfaceInfo;
struct MemberInfo;
}  // namespace automation

namespace scriptcontrol::jscript {

// The largest script array that becomes a variant array; a longer one
// fails with "Out of memory" rather than exhausting it.
inline constexpr size_t kMaxConvertedArray = size_t{1} << 20;

class JsBridge;

// Shared with the dispatch wrappers of script objects, which outlive the
// engine when C++ code keeps them: bridge is null once the engine is gone.
struct EngineLife {
  JsBridge* bridge = nullptr;
};

class JsBridge {
 public:
  // Becomes the private data of the global's realm.
  JsBridge(JSContext* cx, JS::HandleObject global, std::shared_ptr<EngineLife> life);
  ~JsBridge();
  JsBridge(const JsBridge&) = delete;
  JsBridge& operator=(const JsBridge&) = delete;

  // The bridge of the realm the context is in; throws when it has none.
  static JsBridge& Of(JSContext* cx);

  JSContext* Context() const { return cx_; }
  JSObject* Global() const { return global_; }
  const std::shared_ptr<EngineLife>& Life() const { return life_; }

  // Failures throw: PendingScriptError when the engine has the exception.
  JS::Value ToValue(const automation::Variant& value);
  automation::Variant ToVariant(JS::HandleValue value);
  // A proxy for the object, or null for a null pointer (as a value).
  JS::Value DispatchValue(automation::IDispatch* object);
  // The dispatch object of one of our proxies (no reference added), or null.
  static automation::IDispatch* ObjectOf(JSObject* obj);
  static automation::IDispatch* ObjectOf(JS::HandleValue value);
  // The variant array of an opaque array value, or null. The value owns
  // the array; an object inheriting from it is no array.
  static const automation::VariantArray* ArrayOf(JS::HandleValue value);
  // Makes the object's members global names: methods as functions,
  // properties as accessors, each under the name its type information
  // spells. An object without type information adds none.
  void DefineGlobalMembers(automation::IDispatch* object);

  // Calls the member with the script arguments; a put takes the value as
  // its last argument. shaped is ShapedMember's answer when known.
  automation::Variant Call(automation::IDispatch* object, automation::DispId id, uint16_t flags,
                           const JS::HandleValueArray& args);
  automation::Variant CallShaped(automation::IDispatch* object, automation::DispId id, uint16_t flags,
                                 const JS::HandleValueArray& args, const automation::MemberInfo* shaped);
  // The member a call reaches, when its parameters need more than plain
  // conversion (by reference, variant array); null otherwise.
  const automation::MemberInfo* ShapedMember(const automation::InterfaceInfo* info, automation::DispId id,
                                             uint16_t flags);

  // Trap bodies (dispatch_proxy.h); they throw like everything here.
  void Get(automation::IDispatch* d, JS::HandleId id, JS::MutableHandleValue vp);
  void Set(automation::IDispatch* d, JS::HandleId id, JS::HandleValue value);

  // The function that calls member id on whatever `this` is of the
  // interface, one per interface and member.
  JSObject* SharedMember(const automation::InterfaceInfo* info, automation::DispId id);
  struct SharedMemberInfo {
    const automation::InterfaceInfo* info;
    automation::DispId id;
    const automation::MemberInfo* shaped;
  };
  const SharedMemberInfo& SharedMemberAt(int32_t index) const;
  // A function bound to this object, whatever its `this`: by default one
  // that calls the member (a method, or a property with index arguments).
  JSObject* MemberFunction(automation::IDispatch* object, automation::DispId id, JSNative native = nullptr);

  // Script objects held by C++ wrappers (js_object_dispatch.h), by slot.
  uint32_t Keep(JS::HandleValue value);
  JS::Value Kept(uint32_t slot) const;
  // From a wrapper's destructor, which may run during a collection: the
  // slot goes at the next call into the engine.
  void Unkeep(uint32_t slot) { unkept_.push_back(slot); }
  void DropUnkept();

 private:
  JS::Value ArrayValue(const automation::VariantArray& array);
  automation::Variant ScriptArrayToVariant(JS::HandleObject array);

  JSContext* cx_;
  JS::PersistentRootedObject global_;
  std::shared_ptr<EngineLife> life_;
  struct ShapeKey {
    const automation::InterfaceInfo* info;
    automation::DispId id;
    uint16_t flags;
    friend bool operator==(const ShapeKey&, const ShapeKey&) = default;
  };
  struct ShapeKeyHash {
    size_t operator()(const ShapeKey& k) const noexcept {
      return std::hash<const void*>()(k.info) ^ (static_cast<size_t>(static_cast<uint32_t>(k.id)) << 4) ^ k.flags;
    }
  };
  std::unordered_map<ShapeKey, const automation::MemberInfo*, ShapeKeyHash> shaped_;
  // Per interface met: what each spelling of a name reads as (a property
  // read, or the interface's function of a method) and the dispatch id it
  // writes.
  struct Read {
    bool function;
    automation::DispId id;
  };
  struct TypeEntry {
    std::unordered_map<std::string, Read> reads;
    std::unordered_map<std::string, automation::DispId> puts;
    std::unordered_map<automation::DispId, int32_t> functions;  // index into sharedFunctions_
  };
  std::unordered_map<const automation::InterfaceInfo*, TypeEntry> types_;
  std::vector<SharedMemberInfo> sharedMembers_;
  std::vector<std::unique_ptr<JS::PersistentRootedObject>> sharedFunctions_;
  std::unordered_map<uint32_t, std::unique_ptr<JS::PersistentRootedValue>> kept_;
  uint32_t nextKept_ = 1;
  std::vector<uint32_t> unkept_;
};

}  // namespace scriptcontrol::jscript
