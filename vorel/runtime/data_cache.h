// The disk cache of remote XML data: the folder a source's document is kept
// in, the file's name, whether a kept file is fresh enough to skip a
// download, and the clean-up of files nobody will read again. A file's
// name comes from the skin's name and the address, so every desklet of a
// skin that reads the same address shares one file, across restarts.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorel {

using TWallClock = std::chrono::system_clock;

// The ELF (PJW) hash of the bytes.
uint32_t ElfHash(std::string_view bytes);
// The address's hash as it goes into file names: decimal, "-1" for 0.
std::string AddressHash(std::string_view address);

// The cache folder, with a trailing "/": "KIV_XMLCache/" in the user's
// internet cache folder (useOwnTemp) or in the temporary folder. With
// create, it is made when missing.
std::string XmlCacheFolder(bool useOwnTemp, bool create);

// "XMLCache-" ("XMLCache0-" for a source without schedule) and the skin's
// name, cut to 210 bytes in all, then the AddressHash and ".xml".
std::string XmlCacheFileName(const std::string& skinName, const std::string& address, int32_t interval);

// When the file was last written; nullopt when that cannot be read.
std::optional<TWallClock::time_point> LastWriteOf(const std::string& path);

// The entity tag the server sent with the cache file's content, kept in a
// file beside it (the cache file's name + ".etag"), so that the next
// download can ask whether it changed; "" when none is kept.
std::string CachedETag(const std::string& cacheFile);
// Keeps the tag for the cache file; an empty tag forgets the kept one.
// The tag file is replaced in one step. Throws std::runtime_error when it
// cannot be written.
void KeepCachedETag(const std::string& cacheFile, const std::string& etag);

// Whether the file was written within interval - 2 minutes of now (either
// side); a missing file, or an interval of 2 or less, is never fresh.
bool IsCacheFresh(const std::string& path, int32_t interval, TWallClock::time_point now);

// Deletes from the folder every temporary (".tmp", or ".tmp-" and a unique
// ending) last written more than 10 minutes ago, every file last written
// more than 5 days ago, and every "XMLCache0-" file last written more than 2
// minutes ago. Other files and folders stay. Returns what could not be
// deleted, one line each.
std::vector<std::string> CleanXmlCache(const std::string& folder, TWallClock::time_point now);

}  // namespace vorel
