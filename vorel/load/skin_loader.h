// LoadSkin: reads a desklet's skin file in its fixed order (parameters,
// sides, desklet settings, data sources, menus, timers, layers, controls),
// builds what it defines through the host, and falls back to the default
// picture when anything fails. The load does not clear earlier definitions,
// so loading the same skin again adds only what is new.
#pragma once

#include <memory>
#include <string>

#include "platform/xml/document.h"
#include "vorel/skin/skin_info.h"

namespace vorel {

class TDeskletObject;

inline constexpr const char* kFallbackImage = "Default.png";

// `fresh`: a desklet just created from a chosen skin, which starts on its
// initial side. Returns the skin information when asked for it.
std::unique_ptr<TSkinInfo> LoadSkin(TDeskletObject& desklet, const std::string& fileName, bool fresh, bool wantInfo);

// The "desklet" section: alpha, labels, folders, language, statements,
// credentials, the main object and the script file.
void ReadDeskletSettings(TDeskletObject& desklet, const xml::Node& deskletElement);

}  // namespace vorel
