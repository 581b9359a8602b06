#include "vorel/script/objects/vorel_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/inet/download.h"
#include "platform/util/text.h"
#include "platform/util/utf8.h"
#include "platform/win/user_folders.h"
#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace {

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string Utf16Text(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  return kiv::Utf16ToUtf8(units);
}

}  // namespace

std::string TextFileLines(std::string_view bytes) {
  std::string text;
  if (bytes.starts_with("\xFF\xFE")) text = Utf16Text(bytes.substr(2), false);
  else if (bytes.starts_with("\xFE\xFF")) text = Utf16Text(bytes.substr(2), true);
  else if (bytes.starts_with("\xEF\xBB\xBF")) text = std::string(bytes.substr(3));
  else text = std::string(bytes);

  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.append(text, start, end - start);
    out += kCrLf;
    // A line ends at CR, LF or CR LF.
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return out;
}

automation::ComPtr<TVorelIO> TVorelIO::Create(TDeskletObject& desklet) {
  return automation::MakeObject<TVorelIO>(&desklet);
}

const automation::DispatchTable<TVorelIO>& TVorelIO::Table() {
  using T = TVorelIO;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelIO"))
          .Source("VorelIO")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("GetTextFile", Method, &T::GetTextFile)
          .Implement("ShellExecutes", Method, &T::ShellExecutes)
          .Implement("GetTmpPath", Method, &T::GetTmpPath)
          .Implement("GetSkinResPath", Method, &T::GetSkinResPath)
          .Implement("GetSkinPath", Method, &T::GetSkinPath)
          .Implement("GetUserDocumentPath", Method, &T::GetUserDocumentPath)
          .Implement("GetSkinCtrlPath", Method, &T::GetSkinCtrlPath)
          .Implement("CreateDirectory", Method, &T::CreateDirectory)
          .Implement("GenerateUniqueName", Method, &T::GenerateUniqueName)
          .Implement("URLToFile", Method, &T::URLToFile)
          .Implement("GetSystemDirectory", Method, &T::GetSystemDirectory);
  return table;
}

std::string TVorelIO::GetTextFile(std::string fileName) {
  const std::string path = NormalisePath(fileName);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw KivError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw KivError("Cannot open file \"" + path + "\". " + std::strerror(EISDIR));
  return TextFileLines(ReadWholeFile(path));
}

void TVorelIO::ShellExecutes(std::string fileName, std::string parameters, std::string directory, int32_t showCmd,
                             std::string operation) {
  win::ShellExecute(0, operation, fileName, parameters, directory, showCmd);
}

std::string TVorelIO::GetTmpPath() { return win::GetTempPath(); }
std::string TVorelIO::GetSkinResPath() { return desklet_->settings.resourcePath; }
std::string TVorelIO::GetSkinPath() { return desklet_->settings.skinPath; }
std::string TVorelIO::GetSkinCtrlPath() { return desklet_->settings.controlPath; }

std::string TVorelIO::GetUserDocumentPath() {
  return WithoutTrailingSlash(win::GetSpecialFolder(win::kCsidlPersonal, true));
}

bool TVorelIO::CreateDirectory(std::string directoryName) {
  const std::string path = WithoutTrailingSlash(NormalisePath(directoryName));
  return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

std::string TVorelIO::GenerateUniqueName() {
  // A version-4 GUID: 122 random bits.
  std::random_device source;
  uint8_t bytes[16];
  for (size_t i = 0; i < sizeof bytes; i += 4) {
    const uint32_t word = source();
    std::memcpy(bytes + i, &word, 4);
  }
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name;
  for (const uint8_t b : bytes) {
    name += kHex[b >> 4];
    name += kHex[b & 0xF];
  }
  return name;
}

bool TVorelIO::URLToFile(std::string urlPath, std::string fileName) {
  const std::string path = NormalisePath(fileName);
  try {
    // Any answer is a document: an error page is saved like any other.
    inet::DownloadToFile(inet::EscapeBlanks(urlPath), path, desklet_->settings.skinName);
    return true;
  } catch (const std::exception& e) {  // the file could not be made or the address not reached
    desklet_->errorLog.Report({0, "VorelIO", "downloading " + urlPath + " into " + path + ": " + e.what(), 0, 0, ""});
    return false;
  }
}

std::string TVorelIO::GetSystemDirectory(std::string name) {
  const std::string upper = kiv::ToUpperAscii(name);
  int folder = -1;
  if (upper == "MYDOCUMENTS") folder = win::kCsidlPersonal;
  else if (upper == "MYMUSIC") folder = win::kCsidlMyMusic;
  else if (upper == "MYVIDEOS") folder = win::kCsidlMyVideo;
  else if (upper == "MYPICTURES") folder = win::kCsidlMyPictures;
  else if (upper == "DESKTOP") folder = win::kCsidlDesktopDirectory;
  if (folder < 0) return {};
  return WithoutTrailingSlash(win::GetSpecialFolder(folder, true));
}

}  // namespace vorel
