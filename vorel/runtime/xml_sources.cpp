#include "vorel/runtime/xml_sources.h"

#include <filesystem>
#include <memory>
#include <utility>

#include "platform/util/text.h"
#include "platform/xml/document.h"
#include "vorel/model/desklet.h"
#include "vorel/model/error_log.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace {

constexpr std::string_view kFileScheme = "file://";

// Runs `change` on the list with no fetch under way, then starts a new
// round of fetching when one had to be stopped for it.
template <class Change>
auto WithFetchesStopped(TDeskletObject& desklet, Change change) {
  TDataState& data = desklet.data;
  const bool wasFetching = data.activeFetches.load() != 0;
  StopFetches(data);
  struct Restart {
    TDeskletObject& desklet;
    bool wanted;
    ~Restart() {
      if (wanted && !desklet.destroying) StartFetchWorker(desklet);
    }
  } restart{desklet, wasFetching};
  std::lock_guard guard(data.lock);
  return change(data.xmlSources);
}

void Report(TDeskletObject& desklet, const std::string& text) {
  desklet.errorLog.Report({0, kDataSource, text, 0, 0, ""});
}

}  // namespace

size_t AddXmlSource(TDeskletObject& desklet, std::string src, int32_t interval, std::string onGetData) {
  TXMLInfo source;
  source.Src = std::move(src);
  source.Interval = interval;
  source.Counter = interval;
  source.OnGetData = std::move(onGetData);
  source.Document = std::make_shared<xml::Document>();
  source.UseOwnTemp = false;
  return WithFetchesStopped(desklet, [&](std::vector<TXMLInfo>& sources) {
    sources.push_back(std::move(source));
    return sources.size() - 1;
  });
}

bool DeleteXmlSourceAt(TDeskletObject& desklet, size_t position) {
  if (position >= desklet.data.xmlSources.size()) return false;
  return WithFetchesStopped(desklet, [&](std::vector<TXMLInfo>& sources) {
    if (position >= sources.size()) return false;
    sources.erase(sources.begin() + static_cast<std::ptrdiff_t>(position));
    return true;
  });
}

bool IsWritableSource(const std::string& src) { return src.starts_with(kFileScheme); }

void ResetXmlSource(TDeskletObject& desklet, size_t position) {
  TDataState& data = desklet.data;
  std::string cache;
  bool ownFile = false;
  {
    std::lock_guard guard(data.lock);
    if (position >= data.xmlSources.size()) return;
    TXMLInfo& source = data.xmlSources[position];
    source.Document = std::make_shared<xml::Document>();
    cache = source.CacheFile;
    ownFile = IsWritableSource(source.Src);
  }
  // NOTE: a local source's "cache file" is the document itself; deleting
  // it would lose the user's data, so only downloaded copies go.
  if (cache.empty() || ownFile) return;
  std::error_code failed;
  std::filesystem::remove(cache, failed);
  if (failed) Report(desklet, "deleting the cached data " + cache + ": " + failed.message());
}

bool ChangeXmlNode(TDeskletObject& desklet, size_t position, const std::string& path, int mode,
                   const std::function<void(xml::Node&)>& change) {
  TDataState& data = desklet.data;
  if (position >= data.xmlSources.size() || !IsWritableSource(data.xmlSources[position].Src)) return false;
  EnsureSourceLoaded(desklet, position);
  try {
    auto changed = std::make_shared<xml::Document>();
    if (const std::shared_ptr<xml::Document> now = data.DocumentOf(position); now && !now->IsEmpty())
      changed->LoadXML(now->Xml());
    xml::Node node = changed->FindOrCreateNode(path, mode);
    if (!node) return false;
    change(node);
    std::lock_guard guard(data.lock);
    if (position >= data.xmlSources.size()) return false;
    data.xmlSources[position].Document = std::move(changed);
    return true;
  } catch (const std::exception& e) {  // a malformed path or one the simple form cannot create
    Report(desklet, "writing " + path + ": " + e.what());
    return false;
  }
}

void ClearXmlDocument(TDeskletObject& desklet, size_t position) {
  auto cleared = std::make_shared<xml::Document>();
  cleared->LoadXML("<root>\r\n</root>");
  std::lock_guard guard(desklet.data.lock);
  if (position < desklet.data.xmlSources.size()) desklet.data.xmlSources[position].Document = std::move(cleared);
}

bool SaveXmlSource(TDeskletObject& desklet, size_t position, const std::string& fileName) {
  TDataState& data = desklet.data;
  if (position >= data.xmlSources.size()) return false;
  const std::string src = data.xmlSources[position].Src;
  if (!IsWritableSource(src)) return false;
  std::string target = NormalisePath(fileName);
  if (target.empty()) {
    target = ExpandVariables(desklet, src);
    // The scheme names how to reach the file, it is not part of its name.
    if (target.starts_with(kFileScheme)) target.erase(0, kFileScheme.size());
  }
  if (kiv::IsBlank(target)) return false;
  const std::shared_ptr<xml::Document> document = data.DocumentOf(position);
  try {
    if (!document) return false;
    document->Save(target);
    return true;
  } catch (const std::exception& e) {  // the file could not be written: the old one stays whole
    Report(desklet, "saving " + target + ": " + e.what());
    return false;
  }
}

}  // namespace vorel
