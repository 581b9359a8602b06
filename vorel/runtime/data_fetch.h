// Fetching the skin's XML data sources: each source's document is kept in
// a cache file (downloaded again when it is no longer fresh) and parsed
// into the source's Document; every arrival is announced to the window
// with MSG_DATA_ARRIVED, and a whole round with MSG_REFRESH_LAYERS.
//
// FetchAll and FetchSource run on workers as well as on the window thread.
// They touch nothing of the desklet but its data state (under its lock),
// files and the network, and reach the window only by posted messages:
// what they need of the rest (the addresses with their variables expanded,
// the skin's name) is gathered on the window thread beforehand, in a
// TFetchContext. A download that fails leaves the data as it was; what
// went wrong is collected for the caller to report.
#pragma once

#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"
#include "platform/inet/download.h"
#include "vorel/model/data_state.h"

namespace vorel {

class TDeskletObject;

struct TFetchContext {
  HWND window = 0;
  std::string skinName;                // also the user agent's suffix
  std::vector<std::string> addresses;  // each source's Src, expanded
  // Time-outs of every download; the cancel flag and the conditions are
  // set per download.
  inet::DownloadOptions download;
};

using TFetchProblems = std::vector<std::string>;

// On the window thread.
TFetchContext MakeFetchContext(TDeskletObject& desklet);

void FetchAll(TDataState& data, const TFetchContext& context, bool force, TFetchProblems& problems);
void FetchSource(TDataState& data, const TFetchContext& context, size_t position, bool force,
                 TFetchProblems& problems);

// On the window thread: before a "!XML" reference reads the source's
// document, the document is loaded from the cache, or fetched.
void EnsureSourceLoaded(TDeskletObject& desklet, size_t position);

// On the window thread: every source is fetched again now, downloaded
// whatever its cache holds; nothing happens while a download runs.
// Problems go to the error log.
void ForceDataFetch(TDeskletObject& desklet);

// On the window thread: a worker runs FetchAll without force; what went
// wrong is reported when it is reaped.
void StartFetchWorker(TDeskletObject& desklet);

// On the window thread, before the sources are read again: fetches under
// way stop and are waited for.
void StopFetches(TDataState& data);

}  // namespace vorel
