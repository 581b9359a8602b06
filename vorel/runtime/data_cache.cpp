#include "vorel/runtime/data_cache.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/util/atomic_file.h"
#include "platform/util/utf8.h"
#include "platform/win/user_folders.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestNameStart = 210;

constexpr std::string_view kETagSuffix = ".etag";
// A tag is a short quoted string; anything longer is not one.
constexpr size_t kLongestETag = 1024;
// No write of a cache file takes this long.
constexpr auto kLeftoverAge = std::chrono::minutes(10);

}  // namespace

std::optional<TWallClock::time_point> LastWriteOf(const std::string& path) {
  std::error_code ec;
  const fs::file_time_type written = fs::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return std::chrono::time_point_cast<TWallClock::duration>(fs::file_time_type::clock::to_sys(written));
}

std::string CachedETag(const std::string& cacheFile) {
  std::ifstream in(cacheFile + std::string(kETagSuffix), std::ios::binary);
  if (!in) return "";
  std::string tag(std::istreambuf_iterator<char>(in), {});
  if (tag.size() > kLongestETag || tag.find_first_of("\r\n") != std::string::npos) return "";
  return tag;
}

void KeepCachedETag(const std::string& cacheFile, const std::string& etag) {
  const std::string path = cacheFile + std::string(kETagSuffix);
  if (etag.empty() || etag.size() > kLongestETag) {
    fs::remove(path);
    return;
  }
  kiv::ReplaceFileContent(path, etag);
}

uint32_t ElfHash(std::string_view bytes) {
  uint32_t h = 0;
  for (unsigned char c : bytes) {
    h = (h << 4) + c;
    const uint32_t high = h & 0xF0000000u;
    if (high) h ^= high >> 24;
    h &= ~high;
  }
  return h;
}

std::string AddressHash(std::string_view address) {
  const uint32_t hash = ElfHash(address);
  return hash == 0 ? std::string("-1") : std::to_string(hash);
}

std::string XmlCacheFolder(bool useOwnTemp, bool create) {
  const std::string base = useOwnTemp ? win::GetSpecialFolder(win::kCsidlInternetCache, create) : win::GetTempPath();
  const std::string folder = base + "KIV_XMLCache/";
  if (create) {
    std::error_code ec;
    fs::create_directories(folder, ec);
  }
  return folder;
}

std::string XmlCacheFileName(const std::string& skinName, const std::string& address, int32_t interval) {
  std::string start = (interval == 0 ? "XMLCache0-" : "XMLCache-") + skinName;
  // NOTE: the skin's name is the author's text; a "/" in it would reach
  // into another folder.
  for (char& c : start)
    if (c == '/' || c == '\0') c = '_';
  // NOTE: cut in bytes, on a character's boundary, so that the name fits
  // the file system's 255 bytes whatever the skin's name is written in.
  if (start.size() > kLongestNameStart) start = kiv::Utf8Prefix(start, kLongestNameStart);
  return start + AddressHash(address) + ".xml";
}

bool IsCacheFresh(const std::string& path, int32_t interval, TWallClock::time_point now) {
  const std::optional<TWallClock::time_point> written = LastWriteOf(path);
  if (!written) return false;
  const auto margin = std::chrono::minutes(std::max<int64_t>(int64_t{interval} - 2, 0));
  return now - margin < *written && *written < now + margin;
}

std::vector<std::string> CleanXmlCache(const std::string& folder, TWallClock::time_point now) {
  std::vector<std::string> failures;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return failures;  // no folder: nothing to clean
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) {
      failures.push_back(folder + ": " + ec.message());
      break;
    }
    const fs::directory_entry& entry = *it;
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    const std::string name = entry.path().filename().string();
    const std::optional<TWallClock::time_point> written = LastWriteOf(entry.path().string());
    const bool stale = written && *written < now - std::chrono::days(5);
    const bool unscheduled = name.starts_with("XMLCache0-") && written && *written < now - std::chrono::minutes(2);
    // A temporary is a write under way, perhaps another desklet's, until
    // it is old enough to be what a killed writer left.
    const bool temporary = entry.path().extension() == ".tmp" || kiv::IsTemporaryName(name);
    const bool leftover = temporary && written && *written < now - kLeftoverAge;
    if (!leftover && !stale && !unscheduled) continue;
    std::error_code removeError;
    if (!fs::remove(entry.path(), removeError) && removeError)
      failures.push_back(entry.path().string() + ": " + removeError.message());
  }
  return failures;
}

}  // namespace vorel
