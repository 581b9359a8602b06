#include "sm_host_object.h"

#include <js/Conversions.h>
#include <js/Proxy.h>
#include <js/String.h>

namespace jsengines {

namespace {

bool IsValueKey(JS::HandleId id) { return id.isString() && JS_LinearStringEqualsLiteral(id.toLinearString(), "Value"); }

HostState& StateOf(JSObject* proxy) { return *static_cast<HostState*>(js::GetProxyPrivate(proxy).toPrivate()); }

class HostObjectHandler : public js::BaseProxyHandler {
 public:
  static const char kFamily;
  constexpr HostObjectHandler() : js::BaseProxyHandler(&kFamily) {}

  bool getOwnPropertyDescriptor(JSContext*, JS::HandleObject proxy, JS::HandleId id,
                                JS::MutableHandle<mozilla::Maybe<JS::PropertyDescriptor>> desc) const override {
    if (!IsValueKey(id)) {
      desc.set(mozilla::Nothing());
      return true;
    }
    desc.set(mozilla::Some(JS::PropertyDescriptor::Data(JS::Int32Value(StateOf(proxy).value),
                                                        {JS::PropertyAttribute::Configurable, JS::PropertyAttribute::Enumerable,
                                                         JS::PropertyAttribute::Writable})));
    return true;
  }
  bool defineProperty(JSContext*, JS::HandleObject, JS::HandleId, JS::Handle<JS::PropertyDescriptor>,
                      JS::ObjectOpResult& result) const override {
    return result.failCantDefineWindowNamedProperty();
  }
  bool ownPropertyKeys(JSContext* cx, JS::HandleObject, JS::MutableHandleIdVector props) const override {
    JSString* name = JS_AtomizeAndPinString(cx, "Value");
    return name && props.append(JS::PropertyKey::fromPinnedString(name));
  }
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
  bool has(JSContext*, JS::HandleObject, JS::HandleId id, bool* bp) const override {
    *bp = IsValueKey(id);
    return true;
  }
  bool get(JSContext*, JS::HandleObject proxy, JS::HandleValue, JS::HandleId id,
           JS::MutableHandleValue vp) const override {
    if (!IsValueKey(id)) {
      vp.setUndefined();
      return true;
    }
    HostState& state = StateOf(proxy);
    ++state.reads;
    vp.setInt32(state.value);
    return true;
  }
  bool set(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::HandleValue v, JS::HandleValue,
           JS::ObjectOpResult& result) const override {
    if (!IsValueKey(id)) return result.failReadOnly();
    int32_t value = 0;
    if (!JS::ToInt32(cx, v, &value)) return false;
    StateOf(proxy).value = value;
    return result.succeed();
  }
  const char* className(JSContext*, JS::HandleObject) const override { return "Host"; }
};

const char HostObjectHandler::kFamily = 0;
const HostObjectHandler kHandler;

}  // namespace

JSObject* NewHostObject(JSContext* cx, HostState* state) {
  JS::RootedValue priv(cx, JS::PrivateValue(state));
  return js::NewProxyObject(cx, &kHandler, priv, nullptr);
}

}  // namespace jsengines
