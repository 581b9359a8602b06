// A desklet's script on SpiderMonkey: a global (a realm) of its own in the
// context of the calling thread, holding the host's native function
// hostAdd(a, b), the host object `host` (a proxy with a native handler)
// and the desklet's script. The operations match DukDesklet's, each done
// the ordinary way for this engine: every one enters the desklet's realm,
// as a host serving many desklets from one context must.
#pragma once

#include <jsapi.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sm_host_object.h"

namespace jsengines {

class SmDesklet {
 public:
  static constexpr const char* kEngine = "SpiderMonkey";

  // A realm in a zone of its own. Throws ScriptError when the script
  // fails, std::runtime_error when the realm cannot be made.
  explicit SmDesklet(const char* script) : SmDesklet(script, nullptr) {}
  // A realm in the zone of `zoneOf` (null: a zone of its own).
  SmDesklet(const char* script, JSObject* zoneOf);
  ~SmDesklet();
  SmDesklet(const SmDesklet&) = delete;
  SmDesklet& operator=(const SmDesklet&) = delete;

  double Call(const char* function, double a, double b);
  void Execute(const char* text);
  double Evaluate(const char* text);
  size_t Prepare(const char* text);
  void RunPrepared(size_t index);
  // A full collection of the whole context, every desklet's realm with it.
  void CollectGarbage();

  int64_t HostReads() const { return host_.reads; }

 private:
  [[noreturn]] void Fail();
  bool Run(const char* text, JS::MutableHandleValue result);

  JSContext* cx_;
  // The handler reads it through the proxy; declared first, so it outlives
  // the roots below.
  HostState host_;
  JS::PersistentRootedObject global_;
  std::vector<std::unique_ptr<JS::PersistentRootedScript>> prepared_;
};

// A desklet whose realm shares one zone with the others of its context:
// fewer, fuller arenas, at the price of collecting them together.
class SmDeskletSharedZone : public SmDesklet {
 public:
  static constexpr const char* kEngine = "SpiderMonkey, shared zone";
  explicit SmDeskletSharedZone(const char* script);
};

}  // namespace jsengines
