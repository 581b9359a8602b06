// The automation classes the platform serves itself, so that scripts have
// objects to create by name and to receive events from wherever they run:
// in the plug-in or in a plain script runner.
#pragma once

namespace automation {
class ProgIdRegistry;
}

namespace classes {

// Registers every class of this folder under its ProgID. The registry
// calls it once, when it is first used.
void RegisterBuiltinClasses(automation::ProgIdRegistry& registry);

}  // namespace classes
