#include "platform/inet/transfer.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "platform/inet/curl_setup.h"
#include "platform/inet/errors.h"

// CURLOPT_PROTOCOLS_STR and CURLOPT_REDIR_PROTOCOLS_STR.
#if LIBCURL_VERSION_NUM < 0x075500
#error "libcurl 7.85 or later is needed"
#endif

namespace inet::detail {
namespace {

constexpr long kMaxRedirects = 10;
constexpr const char* kAllowedProtocols = "http,https";
// How long the transfer loop sleeps at most between looks at the cancel
// flag; libcurl alone would look about once a second on a quiet connection.
constexpr std::chrono::milliseconds kCancelLatency{100};
constexpr std::chrono::milliseconds kIdleWait{1000};

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

// The easy handle's membership of the multi handle, ended before either is
// freed.
class Attachment {
 public:
  Attachment(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) {}
  ~Attachment() { curl_multi_remove_handle(multi_, easy_); }
  Attachment(const Attachment&) = delete;
  Attachment& operator=(const Attachment&) = delete;

 private:
  CURLM* multi_;
  CURL* easy_;
};

// What the callbacks share with the transfer loop. libcurl calls them on
// the thread that runs the transfer.
struct TransferState {
  BodySink* sink = nullptr;
  const std::atomic<bool>* cancel = nullptr;
  std::uint64_t bytes = 0;
  // What the sink threw; exceptions must not unwind through libcurl.
  std::exception_ptr sinkFailure;
  bool cancelled = false;
  char errorText[CURL_ERROR_SIZE] = {};
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* state = static_cast<TransferState*>(user);
  const size_t length = size * count;
  try {
    state->sink->Write(data, length);
  } catch (...) {  // kept and rethrown by RunTransfer
    state->sinkFailure = std::current_exception();
    return CURL_WRITEFUNC_ERROR;
  }
  state->bytes += length;
  return length;
}

bool CheckCancel(TransferState& state) {
  if (state.cancel != nullptr && state.cancel->load()) state.cancelled = true;
  return state.cancelled;
}

// Stops the transfer between two blocks of a busy download.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return CheckCancel(*static_cast<TransferState*>(user)) ? 1 : 0;
}

[[noreturn]] void Fail(const std::string& url, const std::string& why) {
  throw DownloadError("inet: cannot download \"" + url + "\": " + why);
}

template <typename Value>
void Set(CURL* handle, CURLoption option, Value value, const std::string& url) {
  const CURLcode code = curl_easy_setopt(handle, option, value);
  if (code != CURLE_OK) Fail(url, std::string("libcurl refused an option: ") + curl_easy_strerror(code));
}

// The conditions of a conditional GET. The header list must outlive the
// transfer.
void ConfigureConditions(CURL* handle, const std::string& url, const DownloadOptions& options, HeaderList& headers) {
  if (options.ifModifiedSince > 0) {
    Set(handle, CURLOPT_TIMECONDITION, static_cast<long>(CURL_TIMECOND_IFMODSINCE), url);
    Set(handle, CURLOPT_TIMEVALUE_LARGE, static_cast<curl_off_t>(options.ifModifiedSince), url);
  }
  if (!options.ifNoneMatch.empty()) {
    if (options.ifNoneMatch.find_first_of("\r\n") != std::string::npos) Fail(url, "the entity tag holds a line break");
    const std::string header = "If-None-Match: " + options.ifNoneMatch;
    headers.reset(curl_slist_append(nullptr, header.c_str()));
    if (!headers) Fail(url, "out of memory");
    Set(handle, CURLOPT_HTTPHEADER, headers.get(), url);
  }
}

std::string ResponseETag(CURL* handle) {
  curl_header* header = nullptr;
  if (curl_easy_header(handle, "ETag", 0, CURLH_HEADER, -1, &header) != CURLHE_OK || header == nullptr) return "";
  return header->value;
}

void Configure(CURL* handle, const std::string& url, const std::string& agent, const DownloadOptions& options,
               TransferState& state) {
  Set(handle, CURLOPT_ERRORBUFFER, state.errorText, url);
  Set(handle, CURLOPT_URL, url.c_str(), url);
  Set(handle, CURLOPT_USERAGENT, agent.c_str(), url);
  Set(handle, CURLOPT_PROTOCOLS_STR, kAllowedProtocols, url);
  Set(handle, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols, url);
  Set(handle, CURLOPT_FOLLOWLOCATION, 1L, url);
  Set(handle, CURLOPT_MAXREDIRS, kMaxRedirects, url);
  // Downloads run on worker threads: no SIGALRM for name look-up time-outs,
  // and no SIGPIPE from a server that hangs up.
  Set(handle, CURLOPT_NOSIGNAL, 1L, url);
  Set(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.connectTimeoutSeconds), url);
  if (options.stallSeconds > 0) {
    Set(handle, CURLOPT_LOW_SPEED_LIMIT, 1L, url);
    Set(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.stallSeconds), url);
  }
  Set(handle, CURLOPT_WRITEFUNCTION, OnBody, url);
  Set(handle, CURLOPT_WRITEDATA, &state, url);
  Set(handle, CURLOPT_XFERINFOFUNCTION, OnProgress, url);
  Set(handle, CURLOPT_XFERINFODATA, &state, url);
  Set(handle, CURLOPT_NOPROGRESS, 0L, url);
  // NOTE: CURLOPT_PROXY and CURLOPT_NOPROXY stay unset so that libcurl
  // reads http_proxy, https_proxy and no_proxy from the environment.
}

// Runs the transfer to its end, or until it is cancelled (then the result
// does not matter). The multi interface is used for its wait with a time
// limit of our choosing.
CURLcode Perform(CURL* easy, TransferState& state, const std::string& url) {
  MultiHandle multi(curl_multi_init());
  if (!multi) Fail(url, "libcurl cannot make a handle");
  CURLMcode code = curl_multi_add_handle(multi.get(), easy);
  if (code != CURLM_OK) Fail(url, curl_multi_strerror(code));
  Attachment attached(multi.get(), easy);
  const int wait = static_cast<int>((state.cancel != nullptr ? kCancelLatency : kIdleWait).count());
  for (;;) {
    int running = 0;
    code = curl_multi_perform(multi.get(), &running);
    if (code != CURLM_OK) Fail(url, curl_multi_strerror(code));
    if (running == 0) break;
    if (CheckCancel(state)) return CURLE_ABORTED_BY_CALLBACK;
    code = curl_multi_poll(multi.get(), nullptr, 0, wait, nullptr);
    if (code != CURLM_OK) Fail(url, curl_multi_strerror(code));
  }
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi.get(), &left))
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) return message->data.result;
  Fail(url, "libcurl ended the transfer without a result");
}

std::string EffectiveUrl(CURL* handle, const std::string& fallback) {
  char* effective = nullptr;
  if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK || effective == nullptr)
    return fallback;
  return effective;
}

}  // namespace

DownloadResult RunTransfer(const std::string& url, const std::string& agentSuffix, const DownloadOptions& options,
                           BodySink& sink) {
  if (options.cancel != nullptr && options.cancel->load()) Fail(url, "cancelled");
  EnsureCurlInitialised();
  EasyHandle handle(curl_easy_init());
  if (!handle) Fail(url, "libcurl cannot make a handle");

  const std::string agent = "Vorel_" + agentSuffix;
  TransferState state;
  state.sink = &sink;
  state.cancel = options.cancel;
  Configure(handle.get(), url, agent, options, state);
  HeaderList headers;
  ConfigureConditions(handle.get(), url, options, headers);

  const CURLcode code = Perform(handle.get(), state, url);
  if (state.sinkFailure) std::rethrow_exception(state.sinkFailure);
  if (state.cancelled) Fail(url, "cancelled");
  if (code != CURLE_OK) Fail(url, state.errorText[0] != '\0' ? state.errorText : curl_easy_strerror(code));

  DownloadResult result;
  if (curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &result.status) != CURLE_OK)
    Fail(url, "libcurl does not tell the response status");
  result.bytes = state.bytes;
  result.finalUrl = EffectiveUrl(handle.get(), url);
  result.etag = ResponseETag(handle.get());
  return result;
}

}  // namespace inet::detail
