#include "vorel/ui/update_settings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/util/text.h"
#include "platform/win/registry.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr const char* kAutoCheck = "AutoCheckUpdate";
constexpr const char* kLastCheck = "LastUpdateCheck";
constexpr const char* kServer = "UpdateServer";
constexpr const char* kPage = "DownloadPage";
constexpr double kFirstCheckAge = 15.0;

std::optional<bool> ParseFlag(const std::string& text) {
  const std::string t = kiv::ToLowerAscii(kiv::Trim(text));
  if (t == "true") return true;
  if (t == "false") return false;
  long value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value != 0;
}

std::optional<double> ParseDays(const std::string& text) {
  const std::string t = kiv::Trim(text);
  double value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string DaysText(double days) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.10f", days);
  return buffer;
}

bool IsWebAddress(const std::string& address) {
  const std::string lower = kiv::ToLowerAscii(address);
  return (lower.starts_with("http://") && lower.size() > 7) || (lower.starts_with("https://") && lower.size() > 8);
}

}  // namespace

bool ReadAutoCheckUpdate() {
  const std::optional<std::string> stored = win::ReadRegistryValue(kUpdateKey, kAutoCheck);
  const std::optional<bool> on = stored ? ParseFlag(*stored) : std::nullopt;
  if (on) return *on;
  WriteAutoCheckUpdate(false);
  return false;
}

void WriteAutoCheckUpdate(bool on) { win::WriteRegistryValue(kUpdateKey, kAutoCheck, on ? "1" : "0"); }

double ReadLastUpdateCheck(double now) {
  const std::optional<std::string> stored = win::ReadRegistryValue(kUpdateKey, kLastCheck);
  const std::optional<double> when = stored ? ParseDays(*stored) : std::nullopt;
  if (when) return *when;
  const double assumed = now - kFirstCheckAge;
  WriteLastUpdateCheck(assumed);
  return assumed;
}

void WriteLastUpdateCheck(double when) { win::WriteRegistryValue(kUpdateKey, kLastCheck, DaysText(when)); }

std::optional<std::string> ReadUpdateServer() {
  std::optional<std::string> server = win::ReadRegistryValue(kUpdateKey, kServer);
  if (!server || kiv::Trim(*server).empty()) return std::nullopt;
  std::string address = kiv::Trim(*server);
  if (!IsWebAddress(address)) throw KivError("the update server '" + address + "' is not an http or https address");
  while (address.ends_with('/')) address.pop_back();
  return address;
}

std::string VersionDocumentUrl(const std::string& server) { return server + "/vorel/version.xml"; }

std::string ReadDownloadPage(const std::string& server) {
  const std::optional<std::string> stored = win::ReadRegistryValue(kUpdateKey, kPage);
  if (!stored || kiv::Trim(*stored).empty()) return server + "/vorel/";
  const std::string page = kiv::Trim(*stored);
  if (!IsWebAddress(page)) throw KivError("the download page '" + page + "' is not an http or https address");
  return page;
}

}  // namespace vorel
