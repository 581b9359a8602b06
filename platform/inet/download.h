// The system's one way to fetch a web address: an HTTP or HTTPS GET over
// libcurl whose body is written to a file as it arrives, or kept in memory.
//
// Every download sends the user agent "Vorel_" + agentSuffix, uses the
// proxy the environment names (http_proxy, https_proxy, no_proxy), follows
// up to 10 redirects as long as they stay on http or https, and gives up
// when connecting takes too long, when the transfer stalls or when the
// caller's cancel flag is set. Any HTTP status counts as an answer: an error
// page is kept like any other body and the status is returned for the
// caller to judge.
//
// Downloads may run on several threads at once; each call has a connection
// of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/inet/errors.h"

namespace inet {

struct DownloadOptions {
  // Longest wait for the connection, TLS included; 0 leaves libcurl's own
  // limit.
  int connectTimeoutSeconds = 15;
  // The transfer fails when not a single byte arrives for this long; 0 never
  // gives up on a slow server. libcurl judges by the speed over the last
  // few seconds, so a transfer that stops after sending data fails up to
  // about five seconds later than that.
  int stallSeconds = 30;
  // When set (by any thread) the download stops within a fraction of a
  // second and fails. Must outlive the call.
  const std::atomic<bool>* cancel = nullptr;
  // Largest body DownloadToMemory keeps; files are not limited.
  std::size_t maxBytes = 64 * 1024 * 1024;
  // A conditional GET: If-Modified-Since with this time (seconds since the
  // epoch; 0 sends none) and If-None-Match with this tag ("" sends none).
  // A server whose copy has not changed answers 304 with no body.
  std::int64_t ifModifiedSince = 0;
  std::string ifNoneMatch;
};

struct DownloadResult {
  long status = 0;          // the HTTP status of the last response
  std::uint64_t bytes = 0;  // the body's size
  std::string finalUrl;     // where the redirects, if any, ended
  std::string etag;         // the last response's ETag, as sent; "" for none

  // A 2xx answer: the body is the resource asked for.
  bool Succeeded() const { return status >= 200 && status <= 299; }
};

struct MemoryDownload {
  std::string body;
  DownloadResult result;
};

// Creates the file (truncating one that exists) before anything is sent,
// then writes each block of the body as it arrives. Throws FileError when
// the file cannot be created (no request is made then) or written, and
// DownloadError when the transfer fails; after a failure the file holds what
// had arrived.
DownloadResult DownloadToFile(const std::string& url, const std::string& path, const std::string& agentSuffix,
                              const DownloadOptions& options = {});

// The address with every blank written "%20": skins write addresses with
// blanks, which libcurl refuses.
std::string EscapeBlanks(std::string address);

// The body in memory. Throws DownloadError when the transfer fails or the
// body grows beyond options.maxBytes.
MemoryDownload DownloadToMemory(const std::string& url, const std::string& agentSuffix,
                                const DownloadOptions& options = {});

}  // namespace inet
