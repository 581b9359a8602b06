#include "vorel/runtime/data_fetch.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/inet/download.h"
#include "platform/win/win_services.h"
#include "platform/xml/document.h"
#include "vorel/host/messages.h"
#include "vorel/model/error_log.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/data_cache.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFileScheme = "file://";

// Counts a fetch under way for as long as it lives.
class FetchUnderWay {
 public:
  explicit FetchUnderWay(TDataState& data) : data_(data) { ++data_.activeFetches; }
  ~FetchUnderWay() {
    --data_.activeFetches;
    data_.activeFetches.notify_all();
  }
  FetchUnderWay(const FetchUnderWay&) = delete;
  FetchUnderWay& operator=(const FetchUnderWay&) = delete;

 private:
  TDataState& data_;
};

bool DocumentIsEmpty(const TDataState& data, size_t position) {
  const std::shared_ptr<xml::Document> document = data.DocumentOf(position);
  return !document || document->IsEmpty();
}

// Parses the file into a new document and puts it in the source's place.
// A file that does not parse leaves the source without data.
void LoadFromCache(TDataState& data, size_t position, const std::string& path, TFetchProblems& problems) {
  auto document = std::make_shared<xml::Document>();
  if (!document->Load(path)) problems.push_back("the cached data " + path + " does not load: " + document->ParseError());
  std::lock_guard guard(data.lock);
  data.xmlSources[position].Document = std::move(document);
}

// Asks only for a newer document than the cache file holds: the server
// answers 304 when its copy is older than the file, or carries the tag
// kept with it.
void AskConditionally(const std::string& cache, inet::DownloadOptions& options) {
  const std::optional<TWallClock::time_point> written = LastWriteOf(cache);
  if (!written) return;
  options.ifModifiedSince = std::chrono::duration_cast<std::chrono::seconds>(written->time_since_epoch()).count();
  options.ifNoneMatch = CachedETag(cache);
}

void ReportProblems(TDeskletObject& desklet, const TFetchProblems& problems) {
  for (const std::string& problem : problems) desklet.errorLog.Report({0, kDataSource, problem, 0, 0, ""});
}

// Downloads the address and puts the document in the cache file's place:
// parsed, so that a broken document never replaces good data, saved to
// the temporary file and renamed over the cache file in one step. A 304
// answer stands for the same document again, and the cache file is
// touched as if it had been written anew. When a step fails the cache
// file stays as it was and the reason joins the problems. True when the
// cache file holds a new document.
bool Download(TDataState& data, const TFetchContext& context, const std::string& written, const std::string& cache,
              TFetchProblems& problems) {
  const std::string address = inet::EscapeBlanks(written);
  inet::DownloadOptions options = context.download;
  options.cancel = &data.stopping;
  AskConditionally(cache, options);
  try {
    const inet::MemoryDownload download = inet::DownloadToMemory(address, context.skinName, options);
    const long status = download.result.status;
    if (status == 304 && options.ifModifiedSince > 0) {
      fs::last_write_time(cache, fs::file_time_type::clock::now());
      // Written again, so that the tag ages with its file in the clean-up.
      KeepCachedETag(cache, download.result.etag.empty() ? options.ifNoneMatch : download.result.etag);
      return false;
    }
    if (!download.result.Succeeded()) {
      problems.push_back("fetching " + address + ": HTTP status " + std::to_string(status));
      return false;
    }
    xml::Document document;
    if (!document.LoadBody(download.body, download.result.finalUrl)) {
      problems.push_back("fetching " + address + ": " + document.ParseError());
      return false;
    }
    // Save replaces the file in one step: a reader, or a kill, sees the
    // old document or the new one.
    document.Save(cache);
    KeepCachedETag(cache, download.result.etag);
    return true;
  } catch (const std::exception& e) {  // the download failed, or the files could not be written
    // Stopped on purpose (the desklet goes, or its sources change): the
    // data stays as it was, and nothing went wrong.
    if (data.stopping) return false;
    problems.push_back("fetching " + address + " into " + cache + ": " + e.what());
    return false;
  }
}

}  // namespace

TFetchContext MakeFetchContext(TDeskletObject& desklet) {
  TFetchContext context;
  context.window = desklet.windowHandle;
  context.skinName = desklet.settings.skinName;
  for (const TXMLInfo& source : desklet.data.xmlSources) context.addresses.push_back(ExpandVariables(desklet, source.Src));
  return context;
}

void FetchAll(TDataState& data, const TFetchContext& context, bool force, TFetchProblems& problems) {
  if (data.fetching) return;
  const FetchUnderWay counted(data);
  if (data.xmlSources.empty()) {
    win::PostMessage(context.window, MSG_REFRESH_LAYERS, 1, 0);
    return;
  }
  bool ownTemp = false;
  {
    std::lock_guard guard(data.lock);
    ownTemp = data.xmlSources[0].UseOwnTemp;
  }
  const std::string folder = XmlCacheFolder(ownTemp, true);
  for (size_t position = 0; position < data.xmlSources.size() && !data.stopping; ++position) {
    int32_t interval = 0;
    {
      std::lock_guard guard(data.lock);
      interval = data.xmlSources[position].Interval;
    }
    if (interval != 0) FetchSource(data, context, position, force, problems);
  }
  win::PostMessage(context.window, MSG_REFRESH_LAYERS, 1, 0);
  for (const std::string& failure : CleanXmlCache(folder, TWallClock::now())) problems.push_back("cleaning the cache: " + failure);
}

void FetchSource(TDataState& data, const TFetchContext& context, size_t position, bool force,
                 TFetchProblems& problems) {
  if (data.fetching || position >= data.xmlSources.size() || position >= context.addresses.size()) return;
  const FetchUnderWay counted(data);
  // Scripts change a source's settings on the window thread, under the
  // lock; this fetch goes by what they were when it began.
  struct {
    bool noSrc;
    int32_t Interval;
    bool UseOwnTemp;
  } source{};
  std::string known;
  int32_t counter = 0;
  {
    std::lock_guard guard(data.lock);
    const TXMLInfo& now = data.xmlSources[position];
    source = {now.Src.empty(), now.Interval, now.UseOwnTemp};
    known = now.CacheFile;
    counter = now.Counter;
  }
  if (source.noSrc) return;

  // Not due: the cache serves, read only when nothing is read yet.
  if (counter < source.Interval && !known.empty() && FileExists(known) && source.Interval != 0) {
    if (DocumentIsEmpty(data, position)) LoadFromCache(data, position, known, problems);
    return;
  }

  const std::string& address = context.addresses[position];
  std::string cache = known;
  if (known.empty() || !FileExists(known)) {
    // The folder is made here too: sources of one skin may keep their
    // copies in different folders, and the round made only the first's.
    cache = address.starts_with(kFileScheme)
                ? address.substr(kFileScheme.size())
                : XmlCacheFolder(source.UseOwnTemp, true) + XmlCacheFileName(context.skinName, address, source.Interval);
    std::lock_guard guard(data.lock);
    data.xmlSources[position].CacheFile = cache;
  }
  std::error_code ignored;
  fs::create_directory(fs::path(cache).parent_path(), ignored);

  const bool fresh = IsCacheFresh(cache, source.Interval, TWallClock::now());
  const bool renew = !fresh || force || source.Interval == 0;
  // Whether the source's document is what the cache file holds now.
  bool loaded = false;
  if (renew) {
    // The previous data stays readable while the new comes.
    if (FileExists(cache)) {
      LoadFromCache(data, position, cache, problems);
      loaded = true;
    }
    if (!address.starts_with(kFileScheme) && !data.fetching.exchange(true)) {
      if (Download(data, context, address, cache, problems)) loaded = false;
      data.fetching = false;
    }
  }

  if (!FileExists(cache)) {
    std::lock_guard guard(data.lock);
    data.xmlSources[position].CacheFile.clear();
    return;
  }
  if (!loaded) LoadFromCache(data, position, cache, problems);
  // Fresh from the cache: the schedule starts again. The window thread
  // does what belongs to it (the timers' delays) when the arrival is told.
  const bool freshArrival = fresh && !renew;
  if (freshArrival) {
    {
      std::lock_guard guard(data.lock);
      data.xmlSources[position].Counter = 0;
    }
  }
  win::PostMessage(context.window, MSG_DATA_ARRIVED, position, freshArrival ? 1 : 0);
}

void EnsureSourceLoaded(TDeskletObject& desklet, size_t position) {
  TDataState& data = desklet.data;
  if (data.fetching || position >= data.xmlSources.size() || !DocumentIsEmpty(data, position)) return;
  std::string cache;
  {
    std::lock_guard guard(data.lock);
    cache = data.xmlSources[position].CacheFile;
  }
  TFetchProblems problems;
  if (!cache.empty() && FileExists(cache) && data.xmlSources[position].Interval > 0)
    LoadFromCache(data, position, cache, problems);
  else
    FetchSource(data, MakeFetchContext(desklet), position, false, problems);
  ReportProblems(desklet, problems);
}

void ForceDataFetch(TDeskletObject& desklet) {
  TDataState& data = desklet.data;
  if (data.xmlSources.empty() || data.fetching) return;
  {
    // NOTE: the cache file is forgotten too. With only the count at 0 a
    // source with a cache file counts as just fetched and nothing would be
    // downloaded; forgotten, the file is found again by its name and
    // downloaded anew.
    std::lock_guard guard(data.lock);
    for (TXMLInfo& source : data.xmlSources) {
      source.Counter = 0;
      source.CacheFile.clear();
      source.Document = std::make_shared<xml::Document>();
    }
  }
  TFetchProblems problems;
  FetchAll(data, MakeFetchContext(desklet), true, problems);
  ReportProblems(desklet, problems);
}

void StartFetchWorker(TDeskletObject& desklet) {
  if (desklet.data.xmlSources.empty()) return;
  TDataState* data = &desklet.data;
  // NOTE: counted from now, not from when the thread gets going, so that a
  // load that stops the fetches right after also waits for this one.
  auto counted = std::make_shared<FetchUnderWay>(desklet.data);
  auto body = [data, counted, context = MakeFetchContext(desklet)](TKivThread&) mutable {
    const std::shared_ptr<FetchUnderWay> held = std::move(counted);
    TFetchProblems problems;
    FetchAll(*data, context, false, problems);
    if (problems.empty()) return;
    std::string all;
    for (const std::string& problem : problems) all += (all.empty() ? "" : "; ") + problem;
    throw KivError(all);
  };
  auto worker = std::make_unique<TKivThread>(desklet.windowHandle, std::move(body));
  worker->Start();
  desklet.threads.Add(std::move(worker));
}

void StopFetches(TDataState& data) {
  data.stopping = true;
  for (int running = data.activeFetches.load(); running != 0; running = data.activeFetches.load())
    data.activeFetches.wait(running);
  data.stopping = false;
}

}  // namespace vorel
