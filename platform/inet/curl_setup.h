// libcurl's process-wide set-up, done once before the first handle is made.
// Every entry point of this folder calls EnsureCurlInitialised() before it
// touches libcurl; it is cheap after the first call and safe from any
// thread.
#pragma once

namespace inet::detail {

// Throws DownloadError when libcurl cannot be initialised; a later call
// tries again.
void EnsureCurlInitialised();

}  // namespace inet::detail
