// The current user's registry, kept as an INI file: the per-user key tree
// becomes $XDG_CONFIG_HOME/kivhost/registry.ini, one section a key path
// ("Software\Kivhost\Vorel"), one line a value. Values are text; callers
// that keep numbers, flags or dates write them as decimal text.
//
// Reads and writes from any thread of the process are serialised, so that
// two writers never lose each other's values (each write reads the file,
// changes its keys and renames the new file over the old one).
#pragma once

#include <optional>
#include <string>

namespace win {

// The file that holds the registry.
std::string RegistryFile();

// The value, or nullopt when the key or the value is absent.
std::optional<std::string> ReadRegistryValue(const std::string& keyPath, const std::string& name);

// Sets the value, creating the file, the key and the value as needed.
// Throws std::runtime_error when the file cannot be written.
void WriteRegistryValue(const std::string& keyPath, const std::string& name, const std::string& value);

}  // namespace win
