// The update check: the version document of the update server is fetched
// into a temporary file, its published version of Vorel read and compared
// with this one, and a newer version announced with the offer to open the
// download page. Asked for by the user ("Check Now") it also says when
// there is nothing newer; run automatically it stays silent then.
//
// The automatic check runs at most once per process, at the first minute
// any desklet counts: on a worker thread when the user turned it on and
// the last check is more than 14 days old. What it finds is announced on
// the desklet window's thread (MSG_UPDATE_AVAILABLE).
//
// A check that fails (no server set, the server fails or does not answer,
// the document is not XML or gives no version of four parts) raises: it
// never passes for "You already have the latest version".
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

struct TPublishedVersion {
  std::string text;     // as the document gives it
  uint64_t number = 0;  // as VersionNumber reads it
};

// Fetches and reads the version document; the temporary file it goes
// through is deleted whatever happens. `cancel` (may be null) stops the
// download.
TPublishedVersion FetchPublishedVersion(const std::string& server, const std::atomic<bool>* cancel);

// The whole check on the window thread: fetch, note the time of the check,
// then ask about a newer version, or (unless silent) say there is none.
void CheckForUpdate(HWND owner, bool silent);

// Asks whether to open the download page for the newer version, and opens
// it on "Yes".
void OfferUpdate(HWND owner, const std::string& versionText);

// Whether the automatic check is due: turned on, and the last check more
// than 14 days before `now`.
bool AutomaticCheckDue(double now);

// The once-a-minute hook of the desklet's ticker: the first call of the
// process starts the automatic check when it is due; every later call
// does nothing.
void StartAutomaticUpdateCheck(TDeskletObject& desklet, double now);

// On the window thread, for MSG_UPDATE_AVAILABLE: offers the version that
// the automatic check found, once.
void OfferFoundUpdate(HWND owner);

// For tests: the automatic check may run again in this process.
void ResetAutomaticUpdateCheck();

}  // namespace vorel
