// The plug-in as an in-process automation server. Each class of the Vorel
// library (VorelMain, KivScriptLayer, ...) is served under its class id;
// the object classes tell the server at start-up how to make their
// objects. The four standard server exports hand out the class factories,
// answer whether the library may be unloaded, and write or remove the
// server's registration in the per-user registry.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/automation/class_registry.h"
#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"
#include "vorel/script/objects/object_classes.h"

namespace vorel {

// Called at library start-up by each object class; a class without a
// creator still has a factory whose CreateInstance fails with E_NOTIMPL
// "Not implemented". A null creator takes a class's creator away again.
// A name that is no class of the library throws std::logic_error.
void RegisterObjectClass(std::string_view coclassName, ObjectCreator create);

// The server's classes, one registry for the life of the process.
automation::ClassRegistry& ServerClasses();

}  // namespace vorel

// The exports, as the system calls them: clsid and iid point to GUIDs
// (16 bytes, automation::Guid's layout); *object receives an
// IClassFactory (or IUnknown) pointer.
extern "C" {
int32_t DllGetClassObject(const void* clsid, const void* iid, void** object);
int32_t DllCanUnloadNow();
int32_t DllRegisterServer();
int32_t DllUnregisterServer();
}
