#include "platform/scriptcontrol/jscript/dispatch_proxy.h"

#include <js/Proxy.h>

namespace scriptcontrol::jscript {

namespace {

void* HeldOf(JSObject* proxy) {
  const JS::Value priv = js::GetProxyPrivate(proxy);
  return priv.isUndefined() ? nullptr : priv.toPrivate();
}

class DispatchHandler : public js::BaseProxyHandler {
 public:
  static const char kFamily;
  explicit constexpr DispatchHandler(bool callable) : js::BaseProxyHandler(&kFamily), callable_(callable) {}

  bool getOwnPropertyDescriptor(JSContext*, JS::HandleObject, JS::HandleId,
                                JS::MutableHandle<mozilla::Maybe<JS::PropertyDescriptor>> desc) const override {
    desc.set(mozilla::Nothing());
    return true;
  }
  bool defineProperty(JSContext*, JS::HandleObject, JS::HandleId, JS::Handle<JS::PropertyDescriptor>,
                      JS::ObjectOpResult& result) const override {
    return result.failReadOnly();
  }
  bool ownPropertyKeys(JSContext*, JS::HandleObject, JS::MutableHandleIdVector) const override { return true; }
  bool delete_(JSContext*, JS::HandleObject, JS::HandleId, JS::ObjectOpResult& result) const override {
    return result.failCantDelete();
  }
  bool getPrototypeIfOrdinary(JSContext*, JS::HandleObject, bool* isOrdinary,
                              JS::MutableHandleObject protop) const override {
    *isOrdinary = true;
    protop.set(nullptr);
    return true;
  }
  bool preventExtensions(JSContext*, JS::HandleObject, JS::ObjectOpResult& result) const override {
    return result.failCantPreventExtensions();
  }
  bool isExtensible(JSContext*, JS::HandleObject, bool* extensible) const override {
    *extensible = true;
    return true;
  }
  bool has(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, bool* bp) const override {
    return DispatchHas(cx, proxy, id, bp);
  }
  bool get(JSContext* cx, JS::HandleObject proxy, JS::HandleValue, JS::HandleId id,
           JS::MutableHandleValue vp) const override {
    return DispatchGet(cx, proxy, id, vp);
  }
  bool set(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::HandleValue v, JS::HandleValue,
           JS::ObjectOpResult& result) const override {
    return DispatchSet(cx, proxy, id, v) && result.succeed();
  }
  bool call(JSContext* cx, JS::HandleObject proxy, const JS::CallArgs& args) const override {
    return DispatchCall(cx, proxy, args);
  }
  bool isCallable(JSObject*) const override { return callable_; }
  bool isConstructor(JSObject*) const override { return false; }
  const char* className(JSContext*, JS::HandleObject) const override { return "Object"; }
  bool finalizeInBackground(const JS::Value&) const override { return false; }
  void finalize(JS::GCContext*, JSObject* proxy) const override {
    if (void* held = HeldOf(proxy)) ReleaseHeld(held);
  }

 private:
  bool callable_;
};

const char DispatchHandler::kFamily = 0;
const DispatchHandler kCallableHandler(true);
const DispatchHandler kPlainHandler(false);

}  // namespace

JSObject* NewDispatchProxy(JSContext* cx, void* held, bool callable) {
  JS::RootedValue priv(cx, JS::PrivateValue(held));
  JSObject* proxy =
      js::NewProxyObject(cx, callable ? &kCallableHandler : &kPlainHandler, priv, nullptr, js::ProxyOptions());
  if (!proxy) ReleaseHeld(held);
  return proxy;
}

void* HeldByProxy(JSObject* obj) {
  if (!obj || !js::IsProxy(obj) || js::GetProxyHandler(obj)->family() != &DispatchHandler::kFamily) return nullptr;
  return HeldOf(obj);
}

}  // namespace scriptcontrol::jscript
