#include "vorel/skin/skin_catalog.h"

#include <algorithm>
#include <filesystem>

#include "platform/util/text.h"
#include "platform/util/utf8.h"
#include "vorel/skin/skin_reading.h"

namespace vorel {

namespace fs = std::filesystem;

namespace {

// The entries of a folder that pass `keep`, by name. A folder that cannot
// be read gives what was read of it.
std::vector<fs::path> SortedEntries(const fs::path& folder, bool (*keep)(const fs::directory_entry&),
                                    const SkinScanFailure& failure) {
  std::vector<fs::path> found;
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  if (ec) {
    failure(folder.string(), ec.message());
    return found;
  }
  for (; it != end; it.increment(ec)) {
    if (keep(*it)) found.push_back(it->path());
  }
  if (ec) failure(folder.string(), ec.message());
  std::sort(found.begin(), found.end());
  return found;
}

bool IsFolder(const fs::directory_entry& entry) {
  std::error_code ec;
  return entry.is_directory(ec);
}

bool IsSkinFile(const fs::directory_entry& entry) {
  std::error_code ec;
  return entry.is_regular_file(ec) && kiv::ToLowerAscii(entry.path().extension().string()) == ".xml";
}

// Whether a host buffer of `length` UTF-16 units holds the text and its
// terminator.
bool Fits(const std::u16string& text, const char16_t* buffer, uint32_t length) {
  return buffer != nullptr && length >= text.size() + 1;
}

void Copy(const std::u16string& text, char16_t* buffer) {
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = u'\0';
}

}  // namespace

std::optional<TSkinInfoRec> ReadSkinEntry(const std::string& path, const SkinScanFailure& failure) {
  std::shared_ptr<xml::Document> document = CreateXMLDocument();
  if (!document) return std::nullopt;
  if (!document->Load(path)) {
    failure(path, document->ParseError());
    return std::nullopt;
  }
  const xml::Node doc = document->DocumentNode();
  if (CountNodes(doc, "//skininfo") == 0) return std::nullopt;
  TSkinInfoRec entry;
  entry.key = path;
  entry.author = GetNodeText(doc, "//skininfo/author", kCrLf, "");
  entry.name = GetNodeText(doc, "//skininfo/name", kCrLf, "");
  entry.notes = GetNodeText(doc, "//skininfo/notes", kCrLf, "");
  // NOTE: an absent version is 0 but one that does not read is 1, so that
  // a skin whose author meant to give one still counts as versioned.
  const std::string version = GetNodeText(doc, "//skininfo/version", kCrLf, "");
  if (!version.empty()) {
    const std::optional<int32_t> number = TryReadInt(version);
    entry.version = number && *number >= 0 ? static_cast<uint32_t>(*number) : 1;
  }
  entry.reqversion = IntDef(GetNodeText(doc, "//skininfo/reqversion", kCrLf, ""), kEngineVersion);
  if (entry.reqversion > kEngineVersion) entry.name.clear(), entry.author.clear();
  if (entry.name.empty() || entry.author.empty()) return std::nullopt;
  return entry;
}

TSkinData ScanSkins(const std::string& base, const SkinScanFailure& failure) {
  TSkinData skins;
  for (const fs::path& folder : SortedEntries(base, IsFolder, failure))
    for (const fs::path& file : SortedEntries(folder, IsSkinFile, failure))
      if (auto entry = ReadSkinEntry(file.string(), failure)) skins.push_back(std::move(*entry));
  return skins;
}

int32_t FillSkinRecord(const TSkinData& skins, SkinInfoRecord& record) {
  if (record.index >= skins.size()) return kNoMoreSkins;
  const TSkinInfoRec& entry = skins[record.index];
  record.version = entry.version;
  const std::u16string name = kiv::Utf8ToUtf16(entry.name), author = kiv::Utf8ToUtf16(entry.author),
                       key = kiv::Utf8ToUtf16(entry.key), notes = kiv::Utf8ToUtf16(entry.notes);
  if (Fits(name, record.name, record.nameLength) && Fits(author, record.author, record.authorLength) &&
      Fits(key, record.key, record.keyLength) && Fits(notes, record.notes, record.notesLength)) {
    Copy(name, record.name);
    Copy(author, record.author);
    Copy(notes, record.notes);
    Copy(key, record.key);
    return kSkinFilled;
  }
  auto raise = [](uint32_t& length, const std::u16string& text) {
    length = std::max(length, static_cast<uint32_t>(text.size() + 1));
  };
  raise(record.nameLength, name);
  raise(record.authorLength, author);
  raise(record.keyLength, key);
  raise(record.notesLength, notes);
  return kSkinBufferTooSmall;
}

}  // namespace vorel
