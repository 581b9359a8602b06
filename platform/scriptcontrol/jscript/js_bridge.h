// JsBridge carries values between Duktape and the automation layer.
//
// A dispatch object appears in script as a Proxy whose target holds one
// reference to the object: property reads, writes, `in` tests and calls go
// through GetIDsOfNames and Invoke, so names match without regard to case;
// a member that is a method (or a property with required index arguments)
// reads as a function, so obj.Item(0), obj(0) and obj.Text all work. The
// target is a native function, which makes the object callable (and
// typeof "function"), only when its interface has a default member;
// otherwise it is a plain object.
//
// Objects with type information share one Proxy handler per interface,
// which remembers what each spelling of a name read as: a property's
// dispatch id, or the interface's one function for a method. That
// function calls the member on its `this`, so obj.Method() needs neither
// a name lookup nor a function of its own; called on anything but an
// object of its interface (f = obj.Method; f()) it fails with "Object
// expected". Script values convert to variants and back:
// whole numbers that fit become 32-bit integers, other numbers doubles,
// strings UTF-8, Date objects dates, proxies their own dispatch object,
// and other script objects (arrays, functions) dispatch objects of their
// own. Variant arrays appear as opaque values that VBArray can read.
//
// NOTE: each read of an object gives a new proxy, so two reads of the same
// object are not === in script. A cache from object to proxy would need a
// weak reference, which Duktape lacks: holding the proxy keeps the object
// alive for the engine's life, and a borrowed pointer dangles between the
// proxy's free and its target's finalizer.
//
// Calls follow the member's type information where it asks for more than
// plain values: a parameter declared by reference receives a reference to
// a variant holding the argument (scripts have no variables to pass, so
// what the member writes there stays with the call), and a script array
// given for a parameter declared as a variant array becomes one.
//
// The bridge also keeps the time budget of the running call: native
// callbacks check it, since the Duktape build has no execution hook.
#pragma once

#include <duktape.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/scriptcontrol/run_budget.h"

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
// engine when C++ code keeps them: ctx is null once the engine is gone.
// It is also the heap's user data (CreateHeap), through which callbacks
// find their bridge without a property lookup.
struct EngineLife {
  duk_context* ctx = nullptr;
  JsBridge* bridge = nullptr;  // set while the bridge exists
};

class JsBridge {
 public:
  // The heap must have been made with life as its user data.
  JsBridge(duk_context* ctx, std::shared_ptr<EngineLife> life);
  ~JsBridge();
  JsBridge(const JsBridge&) = delete;
  JsBridge& operator=(const JsBridge&) = delete;

  // The bridge of the heap the callback runs in.
  static JsBridge& Of(duk_context* ctx);
  // The same, or null when the heap has none (any more).
  static JsBridge* Find(duk_context* ctx) noexcept;

  void PushVariant(const automation::Variant& value);
  automation::Variant ToVariant(duk_idx_t idx);
  // A proxy for the object, or null for a null pointer.
  void PushDispatch(automation::IDispatch* object);
  // The dispatch object of the proxy at idx (no reference added), or null
  // for any other value.
  automation::IDispatch* ObjectAt(duk_idx_t idx) const;
  // The variant array of the opaque array value at idx, or null. The
  // value owns the array; an object inheriting from it is no array.
  const automation::VariantArray* ArrayAt(duk_idx_t idx) const;
  // Makes the object's members global names: methods as functions,
  // properties as accessors, each under the name its type information
  // spells. An object without type information adds none.
  void DefineGlobalMembers(automation::IDispatch* object);

  RunBudget& Budget() { return budget_; }
  // Throws the time-out failure once the running call has used its time.
  void CheckDeadline();

  duk_context* Context() const { return ctx_; }
  const std::shared_ptr<EngineLife>& Life() const { return life_; }

  // Calls the member with the script arguments at [first, first + count);
  // a put takes the value as its last argument.
  automation::Variant Call(automation::IDispatch* object, automation::DispId id, uint16_t flags, duk_idx_t first,
                           duk_idx_t count);
  // The same, with the member that shapes the arguments (ShapedMember's
  // answer) already known.
  automation::Variant CallShaped(automation::IDispatch* object, automation::DispId id, uint16_t flags,
                                 duk_idx_t first, duk_idx_t count, const automation::MemberInfo* shaped);

  // A function that calls the member (a method, or a property with index
  // arguments) on this object, whatever its `this`.
  void PushMemberFunction(automation::IDispatch* object, automation::DispId id);

  // The object a proxy target (a trap's first argument) holds, found
  // without a property lookup; null for anything else.
  automation::IDispatch* ObjectOfTarget(duk_idx_t target) const;
  // For the target's finalizer: the heap may reuse its address.
  void ForgetTarget(void* target) noexcept;

  // obj.Method(...) reads the method through the proxy's trap and then
  // calls it with obj as `this`. The trap notes the receiver (keeping it
  // alive, so its address stays its own) and the object it stands for, so
  // that the call finds the object without a property lookup.
  // type is the magic number of the trap.
  void NoteMethodRead(duk_idx_t receiver, duk_idx_t target, duk_int_t type);
  // The noted object when the value at self is the noted receiver and the
  // object has that interface; null otherwise.
  automation::IDispatch* LastMethodReceiver(duk_idx_t self, const automation::InterfaceInfo* info) const;
  // Lets the noted receiver go; for the end of each call into the engine.
  void ForgetMethodRead();

  // The member a call reaches, when its parameters need more than plain
  // conversion (by reference, variant array); null otherwise.
  const automation::MemberInfo* ShapedMember(const automation::InterfaceInfo* info, automation::DispId id,
                                             uint16_t flags);

  // The member a function of an interface calls; see PushSharedMember.
  struct SharedMember {
    const automation::InterfaceInfo* info;
    automation::DispId id;
    const automation::MemberInfo* shaped;  // ShapedMember's answer for a call
  };
  // The interface's function that calls member id on its `this`, made at
  // the first request and pushed again at every later one. False, with
  // nothing pushed, when the engine has made as many as it can tell apart.
  bool PushSharedMember(const automation::InterfaceInfo* info, automation::DispId id);
  // The member of the shared function with this magic number.
  SharedMember SharedMemberAt(duk_int_t magic) const;
  // The tables of the interface whose handler's traps have this magic
  // number: what each spelling of a name reads as (a dispatch id, or a
  // shared function) and the dispatch id it writes. Null for none.
  void* ReadsTable(duk_int_t type) const;
  void* PutsTable(duk_int_t type) const;

 private:
  void PushVariantArray(const automation::VariantArray& array);
  // The Proxy handler for objects of the interface (null: without type
  // information).
  void PushHandler(const automation::InterfaceInfo* info);
  const automation::MemberInfo* ShapedMember(automation::IDispatch* object, automation::DispId id, uint16_t flags);
  // Keeps the value at idx reachable until the heap goes.
  void KeepForLife(duk_idx_t idx);
  automation::Variant ScriptArrayToVariant(duk_idx_t idx);

  duk_context* ctx_;
  std::shared_ptr<EngineLife> life_;
  RunBudget budget_;
  uint32_t budgetChecks_ = 0;
  // ShapedMember's answers, asked once per interface, id and kind of call
  // (type information lives as long as the process).
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
  // Per interface met, indexed by the magic number of its handler's
  // traps: the handler, its tables of names read and written, and its
  // shared functions by dispatch id. All stay reachable from the global
  // stash for the engine's life, so the heap pointers stay valid.
  struct TypeEntry {
    const automation::InterfaceInfo* info = nullptr;
    void* handler = nullptr;
    void* reads = nullptr;
    void* puts = nullptr;
    std::unordered_map<automation::DispId, void*> functions;
  };
  std::vector<TypeEntry> types_;
  std::unordered_map<const automation::InterfaceInfo*, size_t> typeIndex_;
  // Indexed by the shared functions' magic numbers.
  std::vector<SharedMember> sharedMembers_;
  // Proxy targets (heap pointers) and the objects they hold; an entry goes
  // when its target is finalized.
  std::unordered_map<void*, automation::IDispatch*> objectsByTarget_;
  struct LastReceiver {
    void* heapptr = nullptr;
    automation::IDispatch* object = nullptr;
    const automation::InterfaceInfo* info = nullptr;
  };
  LastReceiver lastReceiver_;
  void* lastReceiverSlot_ = nullptr;  // a stash array whose element 0 holds the receiver
  duk_uarridx_t kept_ = 0;
};

// For callbacks that otherwise stay in plain Duktape code: throws the
// time-out failure into the script once the running call's deadline has
// passed (or the script error when the heap has no bridge).
void CheckDeadlineOrThrow(duk_context* ctx);

}  // namespace scriptcontrol::jscript
