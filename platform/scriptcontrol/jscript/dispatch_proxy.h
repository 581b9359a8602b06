// The script face of an automation object: a SpiderMonkey proxy whose
// private value is the object (one reference, released when the proxy is
// finalized) and whose traps the bridge answers (js_bridge.cpp). Reads,
// writes, `in` tests and calls go to the object's members; it has no
// prototype, so names such as toString are no members of it, and no own
// properties. It is callable (typeof "function") only when made so.
//
// NOTE: libmozjs is built without RTTI, so the handler deriving from
// js::BaseProxyHandler lives in a file compiled with -fno-rtti; that file
// sees the held object only as a pointer and leaves everything that needs
// the automation classes to the functions below.
#pragma once

#include <jsapi.h>

namespace scriptcontrol::jscript {

// A new proxy in the current realm holding `held`, whose reference it
// takes over; null with an exception pending on failure (the reference
// is then released).
JSObject* NewDispatchProxy(JSContext* cx, void* held, bool callable);
// The held pointer of one of those proxies; null for any other object.
void* HeldByProxy(JSObject* obj);

// The traps, implemented by the bridge; each answers false with an
// exception pending (or none: the script is stopped) on failure.
bool DispatchGet(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::MutableHandleValue vp);
bool DispatchSet(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::HandleValue value);
bool DispatchHas(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, bool* found);
bool DispatchCall(JSContext* cx, JS::HandleObject proxy, const JS::CallArgs& args);
// Releases the held reference; from the finalizer, during collection.
void ReleaseHeld(void* held) noexcept;

}  // namespace scriptcontrol::jscript
