#include "vorel/ui/update_check.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <random>

#include "platform/inet/download.h"
#include "platform/util/text.h"
#include "platform/win/user_folders.h"
#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/ui/update_settings.h"
#include "vorel/ui/version_number.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr const char* kAgentSuffix = "VorelUpdate";
constexpr const char* kVersionPath = "//SOFTWARE[@NAME=\"VOREL\"]/@VERSION";
constexpr const char* kCaption = "Vorel";
constexpr double kCheckEveryDays = 14.0;
constexpr int32_t kShowNormal = 1;

// A file in the temporary folder named by 32 random hexadecimal digits,
// deleted when it goes out of scope.
class TTemporaryFile {
 public:
  TTemporaryFile() {
    std::random_device random;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (int i = 0; i < 16; ++i) {
      const unsigned byte = random() & 0xFF;
      name += kHex[byte >> 4];
      name += kHex[byte & 0xF];
    }
    path_ = win::GetTempPath() + name;
  }
  ~TTemporaryFile() {
    // NOTE: the normal way out removes the file and reports a failure to;
    // this is for the way out of a failure already being raised.
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  void Remove() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    if (ec) throw KivError("the temporary file " + path_ + " cannot be deleted: " + ec.message());
  }

 private:
  std::string path_;
};

std::mutex& PendingMutex() {
  static std::mutex mutex;
  return mutex;
}
// What the automatic check found, until the window thread offers it.
std::optional<std::string>& PendingVersion() {
  static std::optional<std::string> pending;
  return pending;
}

std::atomic<bool>& AutomaticCheckAvailable() {
  static std::atomic<bool> available{true};
  return available;
}

std::string RequireServer() {
  std::optional<std::string> server = ReadUpdateServer();
  if (!server) throw KivError("no update server is set (UpdateServer in " + std::string(kUpdateKey) + ")");
  return *server;
}

}  // namespace

TPublishedVersion FetchPublishedVersion(const std::string& server, const std::atomic<bool>* cancel) {
  const std::string url = VersionDocumentUrl(server);
  TTemporaryFile file;
  inet::DownloadOptions options;
  options.connectTimeoutSeconds = 10;
  options.stallSeconds = 15;
  options.cancel = cancel;
  const inet::DownloadResult result = inet::DownloadToFile(url, file.Path(), kAgentSuffix, options);
  if (!result.Succeeded())
    throw KivError("the update server answered " + std::to_string(result.status) + " for " + url);

  std::shared_ptr<xml::Document> document = CreateXMLDocument();
  if (!document->Load(file.Path()))
    throw KivError("the version document " + url + " is not XML: " + document->ParseError());
  const std::string text = GetNodeTextAt(document->DocumentNode(), kVersionPath, 0, "");
  if (text.empty()) throw KivError("the version document " + url + " gives no version of Vorel");
  const std::optional<uint64_t> number = VersionNumber(text);
  if (!number) throw KivError("the version document " + url + " gives the version '" + text +
                              "', which is not four numbers of up to three digits");
  file.Remove();
  return {text, *number};
}

void OfferUpdate(HWND owner, const std::string& versionText) {
  const std::string question =
      "Version " + versionText + " is available to download.\nDo you wish to open the web page?";
  if (win::MessageBox(owner, question, kCaption, kMbYesNo | kMbIconQuestion) != kIdYes) return;
  const std::string page = ReadDownloadPage(RequireServer());
  // Anything up to 32 is the shell's way of saying it failed.
  if (win::ShellExecute(owner, "OPEN", page, "", "", kShowNormal) <= 32)
    throw KivError("the download page " + page + " cannot be opened");
}

void CheckForUpdate(HWND owner, bool silent) {
  const TPublishedVersion published = FetchPublishedVersion(RequireServer(), nullptr);
  WriteLastUpdateCheck(NowAsDateTime());
  if (published.number > kRunningVersion)
    OfferUpdate(owner, published.text);
  else if (!silent)
    win::MessageBox(owner, "You already have the latest version", kCaption, kMbOk | kMbIconInformation);
}

bool AutomaticCheckDue(double now) {
  // Both are read (and written when absent) whatever the first says.
  const bool on = ReadAutoCheckUpdate();
  const double last = ReadLastUpdateCheck(now);
  return on && now - kCheckEveryDays > last;
}

void StartAutomaticUpdateCheck(TDeskletObject& desklet, double now) {
  if (!AutomaticCheckAvailable().exchange(false)) return;
  const HWND window = desklet.windowHandle;
  // NOTE: the desklet outlives its threads, and its stopping flag is set
  // when it is destroyed, so a download under way then ends at once.
  const std::atomic<bool>* cancel = &desklet.data.stopping;
  auto check = std::make_unique<TCallThread>(window, std::chrono::milliseconds(0), [window, cancel, now] {
    if (!AutomaticCheckDue(now)) return;
    const TPublishedVersion published = FetchPublishedVersion(RequireServer(), cancel);
    WriteLastUpdateCheck(NowAsDateTime());
    if (published.number <= kRunningVersion) return;
    {
      std::lock_guard lock(PendingMutex());
      PendingVersion() = published.text;
    }
    win::PostMessage(window, MSG_UPDATE_AVAILABLE, 0, 0);
  });
  check->Start();
  desklet.threads.Add(std::move(check));
}

void OfferFoundUpdate(HWND owner) {
  std::optional<std::string> version;
  {
    std::lock_guard lock(PendingMutex());
    version.swap(PendingVersion());
  }
  if (version) OfferUpdate(owner, *version);
}

void ResetAutomaticUpdateCheck() {
  AutomaticCheckAvailable() = true;
  std::lock_guard lock(PendingMutex());
  PendingVersion().reset();
}

}  // namespace vorel
