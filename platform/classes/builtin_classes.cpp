#include "platform/classes/builtin_classes.h"

#include "platform/automation/interface_registry.h"
#include "platform/automation/prog_id_registry.h"
#include "platform/classes/file_system_object.h"
#include "platform/classes/timer_object.h"

namespace classes {

void RegisterBuiltinClasses(automation::ProgIdRegistry& registry) {
  automation::InterfaceRegistry& interfaces = automation::InterfaceRegistry::Instance();
  interfaces.Register(TimerObject::SharedEvents());
  interfaces.Register(FileSystemObject::SharedEvents());
  registry.Register(kTimerProgId, [] { return automation::MakeObject<TimerObject>().As<automation::IDispatch>(); });
  registry.Register(kFileSystemProgId,
                    [] { return automation::MakeObject<FileSystemObject>().As<automation::IDispatch>(); });
}

}  // namespace classes
