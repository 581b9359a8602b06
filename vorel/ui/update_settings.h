// The update settings, per user, in the registry key
// "Software\Kivhost\Vorel": whether updates are checked for automatically
// (AutoCheckUpdate) and when the last check ran (LastUpdateCheck, days since
// 1899-12-30). The server that publishes the version document
// (UpdateServer, an http or https address) and the page that offers the
// download (DownloadPage; the server's "/vorel/" page when absent) are the
// user's to set: without a server no check reaches the network.
#pragma once

#include <optional>
#include <string>

namespace vorel {

inline constexpr const char* kUpdateKey = "Software\\Kivhost\\Vorel";

// Absent (or not a flag) reads as false, and false is written then.
bool ReadAutoCheckUpdate();
void WriteAutoCheckUpdate(bool on);

// Absent (or not a date) reads as `now` minus 15 days, which is written then.
double ReadLastUpdateCheck(double now);
void WriteLastUpdateCheck(double when);

// The server's address without a trailing "/"; nothing when none is set.
// Raises KivError for an address that is not http or https.
std::optional<std::string> ReadUpdateServer();
// Where the version document of the server is.
std::string VersionDocumentUrl(const std::string& server);
// The download page; raises KivError for one that is not http or https.
std::string ReadDownloadPage(const std::string& server);

}  // namespace vorel
