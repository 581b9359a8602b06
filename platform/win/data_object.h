// Data objects for drag and drop: what the host hands to OnDrop. A data
// object offers one or more clipboard formats; the file-list format (15)
// carries dropped file names in a global-memory block read with
// DragQueryFile, as on Windows.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace win {

constexpr uint16_t kCfText = 1;
constexpr uint16_t kCfHdrop = 15;
constexpr uint32_t kDvAspectContent = 1;
constexpr uint32_t kTymedHGlobal = 1;
constexpr int32_t kSOk = 0;
constexpr int32_t kDvEFormatEtc = static_cast<int32_t>(0x80040064);

struct FormatEtc {
  uint16_t format;
  uint32_t aspect;
  int32_t index;
  uint32_t tymed;
};

// The list of names behind a file-list block.
struct DropFiles {
  std::vector<std::string> files;
};

// A storage medium returned by GetData; the receiver releases it with
// ReleaseStgMedium.
struct StgMedium {
  uint32_t tymed = 0;
  DropFiles* hGlobal = nullptr;
  std::string* text = nullptr;
};

class IDataObject {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;
  // kSOk when the format is offered, else kDvEFormatEtc.
  virtual int32_t QueryGetData(const FormatEtc& format) = 0;
  virtual int32_t GetData(const FormatEtc& format, StgMedium& medium) = 0;

 protected:
  virtual ~IDataObject() = default;
};

// A reference-counted data object that offers either a file list or text.
class DataObject final : public IDataObject {
 public:
  static DataObject* WithFiles(std::vector<std::string> files);
  static DataObject* WithText(std::string text);

  uint32_t AddRef() override;
  uint32_t Release() override;
  int32_t QueryGetData(const FormatEtc& format) override;
  int32_t GetData(const FormatEtc& format, StgMedium& medium) override;

 private:
  DataObject() = default;
  ~DataObject() override = default;

  std::atomic<uint32_t> refs_{1};
  bool hasFiles_ = false;
  std::vector<std::string> files_;
  std::string text_;
};

// Holds a data object for the length of a scope.
class DataObjectRef {
 public:
  explicit DataObjectRef(IDataObject* p) : p_(p) { if (p_) p_->AddRef(); }
  ~DataObjectRef() { if (p_) p_->Release(); }
  DataObjectRef(const DataObjectRef&) = delete;
  DataObjectRef& operator=(const DataObjectRef&) = delete;
  IDataObject* get() const { return p_; }

 private:
  IDataObject* p_;
};

// The block of a medium, and the names in it. With index 0xFFFFFFFF the
// result is the number of files; otherwise the name is copied into buffer
// (at most size - 1 bytes, never cutting a UTF-8 sequence) and its full
// length is returned (0 for an index out of range).
DropFiles* GlobalLock(DropFiles* block);
void GlobalUnlock(DropFiles* block);
uint32_t DragQueryFile(const DropFiles* drop, uint32_t index, char* buffer, uint32_t size);
void ReleaseStgMedium(StgMedium& medium);

}  // namespace win
