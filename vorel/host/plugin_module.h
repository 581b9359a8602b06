// Where the plug-in itself lives: its library file and folder, found from
// the address of its own code, so that the plug-in works from any folder.
#pragma once

#include <string>

namespace vorel {

// The full path of the plug-in's library file.
std::string PluginFile();
// Its folder, with a trailing "/".
std::string PluginFolder();

}  // namespace vorel
