// The skins the plug-in offers, as the host lists them: the plug-in's
// enumerator walked with OnGetSkinW (buffers grown when the plug-in asks
// for more room), each call traced.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kivhost/loop/host.h"

namespace kivhost {

// Every skin the plug-in offers, in its order, each with its index.
// Throws std::runtime_error when the plug-in gives no enumerator or keeps
// asking for more room than it said it needs.
std::vector<SkinInfo> ListOfferedSkins(Host& host, PluginLibrary& plugin);

// The offered skin with this key, if any.
std::optional<SkinInfo> FindOfferedSkin(Host& host, PluginLibrary& plugin, const std::string& key);

// "KEY<TAB>NAME<TAB>AUTHOR<TAB>VERSION\n"; tabs and line breaks inside the
// texts become blanks, so that a line is always one skin.
std::string SkinListLine(const SkinInfo& skin);

}  // namespace kivhost
