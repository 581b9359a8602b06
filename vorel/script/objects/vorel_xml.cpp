#include "vorel/script/objects/vorel_xml.h"

#include <chrono>
#include <mutex>

#include "platform/xml/document.h"
#include "platform/xml/node.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/data_cache.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/runtime/xml_sources.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace vorel {

automation::ComPtr<TVorelXML> TVorelXML::Create(TDeskletObject& desklet, uint8_t index) {
  return automation::MakeObject<TVorelXML>(&desklet, index);
}

const automation::DispatchTable<TVorelXML>& TVorelXML::Table() {
  using T = TVorelXML;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelXML"))
          .Source("VorelXML")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("ID", Get, &T::GetID)
          .Implement("Src", Get, &T::GetSrc)
          .Implement("Src", Put, &T::PutSrc)
          .Implement("Time", Get, &T::GetTime)
          .Implement("Time", Put, &T::PutTime)
          .Implement("UseWinTemp", Get, &T::GetUseWinTemp)
          .Implement("UseWinTemp", Put, &T::PutUseWinTemp)
          .Implement("OnGetData", Get, &T::GetOnGetData)
          .Implement("OnGetData", Put, &T::PutOnGetData)
          .Implement("Reset", Method, &T::Reset)
          .Implement("GetValue", Method, &T::GetValue)
          .Implement("GetValueCount", Method, &T::GetValueCount)
          .Implement("ForceGetData", Method, &T::ForceGetData)
          .Implement("IsDataOLD", Get, &T::GetIsDataOld)
          .Implement("WriteTextValue", Method, &T::WriteTextValue)
          .Implement("WriteAttribValue", Method, &T::WriteAttribValue)
          .Implement("SaveXML", Method, &T::SaveXML)
          .Implement("ReadOnly", Get, &T::GetReadOnly)
          .Implement("ClearXML", Method, &T::ClearXML)
          .Implement("GetAgeOfXML", Method, &T::GetAgeOfXML);
  return table;
}

bool TVorelXML::IsBound() const { return desklet_ && index_ < desklet_->data.xmlSources.size(); }

TXMLInfo& TVorelXML::Record() const { return desklet_->data.xmlSources[index_]; }

std::string TVorelXML::CacheFile() const {
  std::lock_guard guard(desklet_->data.lock);
  return Record().CacheFile;
}

std::string TVorelXML::GetSrc() const { return Record().Src; }

void TVorelXML::PutSrc(std::string src) {
  std::lock_guard guard(desklet_->data.lock);
  Record().Src = std::move(src);
}

int32_t TVorelXML::GetTime() const { return Record().Interval; }

void TVorelXML::PutTime(int32_t minutes) {
  if (minutes < 0) throw KivError(errors::kRangeCheck);
  std::lock_guard guard(desklet_->data.lock);
  Record().Interval = minutes;
}

bool TVorelXML::GetUseWinTemp() const { return !Record().UseOwnTemp; }

void TVorelXML::PutUseWinTemp(bool useWinTemp) {
  std::lock_guard guard(desklet_->data.lock);
  Record().UseOwnTemp = !useWinTemp;
}

std::string TVorelXML::GetOnGetData() const { return Record().OnGetData; }

void TVorelXML::PutOnGetData(std::string statement) { Record().OnGetData = std::move(statement); }

void TVorelXML::Reset() { ResetXmlSource(*desklet_, index_); }

std::string TVorelXML::GetValue(std::string path, std::string delimiter, bool pathIsXsl) {
  // A path that starts with its XPath reads this source; one that starts
  // with a number names the source itself.
  if (path.starts_with('[')) path = std::to_string(index_) + path;
  return LookUpXmlReference(*desklet_, path, pathIsXsl, delimiter.empty() ? std::string(kCrLf) : delimiter);
}

int32_t TVorelXML::GetValueCount(std::string path) {
  EnsureSourceLoaded(*desklet_, index_);
  const std::shared_ptr<xml::Document> document = desklet_->data.DocumentOf(index_);
  if (!document || document->IsEmpty()) return 0;
  return static_cast<int32_t>(document->SelectNodes(path).size());
}

void TVorelXML::ForceGetData() {
  {
    std::lock_guard guard(desklet_->data.lock);
    Record().Counter = 0;
    Record().CacheFile.clear();
  }
  TFetchProblems problems;
  FetchSource(desklet_->data, MakeFetchContext(*desklet_), index_, true, problems);
  for (const std::string& problem : problems) desklet_->errorLog.Report({0, kDataSource, problem, 0, 0, ""});
}

bool TVorelXML::GetIsDataOld() const {
  using namespace std::chrono;
  const int32_t interval = Record().Interval;
  const minutes span(interval < 0 ? 0 : int64_t{interval} + 1);
  const std::string cache = CacheFile();
  const std::optional<TWallClock::time_point> written = cache.empty() ? std::nullopt : LastWriteOf(cache);
  if (!written) return true;
  const TWallClock::time_point now = TWallClock::now();
  return *written <= now - span || *written >= now + span;
}

bool TVorelXML::WriteTextValue(std::string path, std::string value, int8_t mode) {
  return ChangeXmlNode(*desklet_, index_, path, mode, [&](xml::Node& node) { node.SetText(value); });
}

bool TVorelXML::WriteAttribValue(std::string path, std::string attribute, std::string value, int8_t mode) {
  return ChangeXmlNode(*desklet_, index_, path, mode,
                       [&](xml::Node& node) { node.SetAttribute(attribute, value); });
}

bool TVorelXML::SaveXML(std::string newFileName) { return SaveXmlSource(*desklet_, index_, newFileName); }

bool TVorelXML::GetReadOnly() const { return !IsWritableSource(Record().Src); }

void TVorelXML::ClearXML() { ClearXmlDocument(*desklet_, index_); }

automation::Date TVorelXML::GetAgeOfXML() const {
  const std::string cache = CacheFile();
  if (cache.empty()) return {};
  const std::optional<TWallClock::time_point> written = LastWriteOf(cache);
  return written ? automation::Date{ToDateTime(*written)} : automation::Date{};
}

}  // namespace vorel
