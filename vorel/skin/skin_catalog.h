// The skins the plug-in offers to a host that lists them: every skin file
// in the direct subfolders of one folder (the plug-in's own), each with the
// name, author, notes and versions of its skin information. The host walks
// the list with OnGetSkinW and creates a desklet from the key (the file's
// full path) of the entry it chose.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/abi/desklet_api.h"

namespace vorel {

// The engine version skins name in their reqversion.
inline constexpr int32_t kEngineVersion = 100;

struct TSkinInfoRec {
  std::string key;  // the skin file's full path
  std::string author, name, notes;
  uint32_t version = 0;
  int32_t reqversion = kEngineVersion;
};

// The entries in the order they were found.
using TSkinData = std::vector<TSkinInfoRec>;

// Told of each file that looked like a skin but could not be read, with
// the reason, so that the one who installed it can learn why it is not
// offered.
using SkinScanFailure = std::function<void(const std::string& path, const std::string& why)>;

// One skin file's entry; nothing when it is not a skin to offer (no
// skin information, no name or author, or a newer engine required).
// `failure` hears of a file that does not parse.
std::optional<TSkinInfoRec> ReadSkinEntry(const std::string& path, const SkinScanFailure& failure);

// Every skin file ("*.xml", any letter case) directly inside a direct
// subfolder of `base` (with its trailing "/"). Folders and files are taken
// in name order, so that a listing reads the same every time.
TSkinData ScanSkins(const std::string& base, const SkinScanFailure& failure);

// Fills the host's record with the entry at its index: kSkinFilled, or
// kNoMoreSkins past the last entry, or kSkinBufferTooSmall after raising
// each length the host gave to the one its text needs.
int32_t FillSkinRecord(const TSkinData& skins, SkinInfoRecord& record);

}  // namespace vorel
