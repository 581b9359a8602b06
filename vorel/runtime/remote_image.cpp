#include "vorel/runtime/remote_image.h"

#include <cctype>
#include <filesystem>
#include <string_view>

#include "platform/inet/download.h"
#include "platform/util/atomic_file.h"
#include "vorel/model/desklet.h"
#include "vorel/model/error_log.h"
#include "vorel/runtime/data_cache.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMarker = "!WEBIMG:";
constexpr const char* kRemoteImageSource = "Vorel remote image";
// The window waits for the download: shorter limits than a fetching
// worker's, so that a dead server stalls the desklet for seconds only.
constexpr int kConnectSeconds = 5;
constexpr int kStallSeconds = 10;
constexpr size_t kLongestExtension = 8;

// The last segment of a path written with either kind of slash.
std::string_view LastSegment(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// ".png" for "http://host/a/logo.png?size=2"; "" when the last segment has
// none, or one that is not plainly an extension.
std::string AddressExtension(std::string_view address) {
  const size_t scheme = address.find("://");
  if (scheme != std::string_view::npos) address.remove_prefix(scheme + 3);
  address = address.substr(0, address.find_first_of("?#"));
  const size_t slash = address.find('/');
  if (slash == std::string_view::npos) return "";  // the host alone
  const std::string_view segment = LastSegment(address.substr(slash));
  const size_t dot = segment.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == segment.size() || segment.size() - dot > kLongestExtension)
    return "";
  for (const char c : segment.substr(dot + 1))
    if (!std::isalnum(static_cast<unsigned char>(c))) return "";
  return std::string(segment.substr(dot));
}

}  // namespace

std::string RemoteImagePath(const std::string& folder, const std::string& address, const std::string& name) {
  // NOTE: the name may come from remote data; whatever it says, the file
  // stays in the cache folder.
  std::string file(LastSegment(name));
  if (file == "." || file == "..") file.clear();
  if (file.empty()) file = AddressHash(address) + AddressExtension(address);
  if (!HasExtension(file)) file += ".png";
  return folder + file;
}

std::string FetchRemoteImage(TDeskletObject& desklet, const std::string& source) {
  const std::string rest = source.substr(std::min(source.size(), kMarker.size()));
  const size_t bar = rest.find('|');
  const std::string address = rest.substr(0, bar);
  const std::string name = bar == std::string::npos ? "" : rest.substr(bar + 1);
  const std::string path = RemoteImagePath(XmlCacheFolder(desklet.settings.useOwnTemp, true), address, name);
  if (address.empty()) return path;

  // Into a temporary file of its own first: a failed download must not
  // spoil the image kept from the last one, nor may two desklets fetching
  // the same image write into one file.
  std::string temporary;
  inet::DownloadOptions options;
  options.connectTimeoutSeconds = kConnectSeconds;
  options.stallSeconds = kStallSeconds;
  try {
    temporary = kiv::MakeTemporaryBeside(path);
    const inet::DownloadResult result =
        inet::DownloadToFile(inet::EscapeBlanks(address), temporary, desklet.settings.skinName, options);
    if (!result.Succeeded())
      throw inet::DownloadError("\"" + address + "\" answered with HTTP status " + std::to_string(result.status));
    fs::rename(temporary, path);
  } catch (const std::exception& e) {  // the download failed, or the file could not be kept
    std::error_code ignored;  // the clean-up of the cache folder removes it later
    if (!temporary.empty()) fs::remove(temporary, ignored);
    desklet.errorLog.Report({0, kRemoteImageSource, e.what(), 0, 0, source});
  }
  return path;
}

}  // namespace vorel
