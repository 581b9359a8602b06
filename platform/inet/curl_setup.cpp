#include "platform/inet/curl_setup.h"

#include <curl/curl.h>

#include <mutex>
#include <string>

#include "platform/inet/errors.h"

namespace inet::detail {
namespace {

void Initialise() {
  const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (code != CURLE_OK)
    throw DownloadError(std::string("inet: libcurl cannot be initialised: ") + curl_easy_strerror(code));
}

}  // namespace

// NOTE: curl_global_cleanup is never called: other threads may still be
// downloading when the process ends, and the library's global state lives
// as long as the process anyway.
void EnsureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, Initialise);
}

}  // namespace inet::detail
