// The host object `host` of a desklet on SpiderMonkey: a proxy whose
// handler answers reads and writes of its one property, Value, from C++,
// as a bridged automation object answers its members.
//
// NOTE: libmozjs is built without RTTI, so a handler deriving from
// js::BaseProxyHandler must be compiled with -fno-rtti (its base has no
// type information to link against); that is why it lives in a file of
// its own.
#pragma once

#include <jsapi.h>

#include <cstdint>

namespace jsengines {

// What the handler reads and writes; owned by the desklet, it must outlive
// every script run of the realm.
struct HostState {
  int32_t value = 7;
  int64_t reads = 0;
};

// A new host object in the current realm; null with an exception pending
// on failure.
JSObject* NewHostObject(JSContext* cx, HostState* state);

}  // namespace jsengines
