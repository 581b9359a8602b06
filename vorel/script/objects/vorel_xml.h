// TVorelXML: one XML data source of the desklet as scripts see it, by its
// position in the list (a source deleted before it makes the object see
// the next one; beyond the list the object does nothing). Scripts read
// values by XPath from the source's document, change its schedule and
// statement, fetch it now, and -- for a source that is a local file --
// write values and save the document. The write members answer whether
// they did what was asked.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch_object.h"

namespace vorel {

class TDeskletObject;
struct TXMLInfo;

class TVorelXML : public automation::DispatchObject<TVorelXML> {
 public:
  static automation::ComPtr<TVorelXML> Create(TDeskletObject& desklet, uint8_t index);
  static const automation::DispatchTable<TVorelXML>& Table();

  TVorelXML(TDeskletObject* desklet, uint8_t index) : desklet_(desklet), index_(index) {}
  bool IsBound() const;

  int32_t GetID() const { return index_; }
  std::string GetSrc() const;
  void PutSrc(std::string src);
  int32_t GetTime() const;
  void PutTime(int32_t minutes);
  bool GetUseWinTemp() const;
  void PutUseWinTemp(bool useWinTemp);
  std::string GetOnGetData() const;
  void PutOnGetData(std::string statement);
  void Reset();
  std::string GetValue(std::string path, std::string delimiter, bool pathIsXsl);
  int32_t GetValueCount(std::string path);
  void ForceGetData();
  bool GetIsDataOld() const;
  bool WriteTextValue(std::string path, std::string value, int8_t mode);
  bool WriteAttribValue(std::string path, std::string attribute, std::string value, int8_t mode);
  bool SaveXML(std::string newFileName);
  bool GetReadOnly() const;
  void ClearXML();
  automation::Date GetAgeOfXML() const;

 private:
  TXMLInfo& Record() const;
  std::string CacheFile() const;

  TDeskletObject* desklet_;
  uint8_t index_;
};

}  // namespace vorel
