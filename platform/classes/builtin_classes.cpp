#include "platform/classes/builtin_classes.h"

#include "platform/automation/prog_id_registry.h"

namespace classes {

void RegisterBuiltinClasses(automation::ProgIdRegistry& registry) { (void)registry; }

}  // namespace classes
