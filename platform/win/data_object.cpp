#include "platform/win/data_object.h"

#include <cstring>

#include "platform/util/utf8.h"

namespace win {

DataObject* DataObject::WithFiles(std::vector<std::string> files) {
  auto* d = new DataObject();
  d->hasFiles_ = true;
  d->files_ = std::move(files);
  return d;
}

DataObject* DataObject::WithText(std::string text) {
  auto* d = new DataObject();
  d->text_ = std::move(text);
  return d;
}

uint32_t DataObject::AddRef() { return ++refs_; }

uint32_t DataObject::Release() {
  uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

int32_t DataObject::QueryGetData(const FormatEtc& format) {
  if (format.tymed != 0 && (format.tymed & kTymedHGlobal) == 0) return kDvEFormatEtc;
  if (format.aspect != kDvAspectContent) return kDvEFormatEtc;
  if (format.format == kCfHdrop) return hasFiles_ ? kSOk : kDvEFormatEtc;
  if (format.format == kCfText) return hasFiles_ ? kDvEFormatEtc : kSOk;
  return kDvEFormatEtc;
}

int32_t DataObject::GetData(const FormatEtc& format, StgMedium& medium) {
  if (QueryGetData(format) != kSOk) return kDvEFormatEtc;
  medium = StgMedium{};
  medium.tymed = kTymedHGlobal;
  if (format.format == kCfHdrop) {
    medium.hGlobal = new DropFiles{files_};
  } else {
    medium.text = new std::string(text_);
  }
  return kSOk;
}

DropFiles* GlobalLock(DropFiles* block) { return block; }
void GlobalUnlock(DropFiles*) {}

uint32_t DragQueryFile(const DropFiles* drop, uint32_t index, char* buffer, uint32_t size) {
  if (!drop) return 0;
  if (index == 0xFFFFFFFFu) return static_cast<uint32_t>(drop->files.size());
  if (index >= drop->files.size()) return 0;
  const std::string& name = drop->files[index];
  if (buffer && size > 0) {
    std::string cut = kiv::Utf8Prefix(name, size - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
  }
  return static_cast<uint32_t>(name.size());
}

void ReleaseStgMedium(StgMedium& medium) {
  delete medium.hGlobal;
  delete medium.text;
  medium = StgMedium{};
}

}  // namespace win
