#include "vorel/runtime/variable_expansion.h"

#include <bitset>
#include <cstdint>
#include <string_view>

#include "platform/win/user_folders.h"
#include "vorel/host/desklet_object.h"
#include "vorel/runtime/folder_cache.h"
#include "vorel/util/paths.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

// The text being expanded, with a filter over the names that can occur in
// it. A token "%Name%" whose name holds no "%" lies between two
// neighbouring "%" signs, so the filter keeps a hash of every text between
// neighbours: a name whose hash is not there cannot be in the text, and
// most of the skin's parameters are passed over without searching the text.
class Expansion {
 public:
  explicit Expansion(std::string_view text) : text_(text) { Rebuild(); }

  bool HasPercent() const { return text_.find('%') != std::string::npos; }
  std::string Take() { return std::move(text_); }

  // Replaces "%name%" with the value; lookup() makes the value and is only
  // called when the token is there.
  template <typename Lookup>
  void Replace(std::string_view name, Lookup lookup) {
    if (name.find('%') == std::string_view::npos && !bits_.test(Hash(name))) return;
    const std::string token = "%" + std::string(name) + "%";
    const size_t at = text_.find(token);
    if (at == std::string::npos) return;
    ReplaceAllInPlace(text_, token, lookup(), at);
    Rebuild();
  }
  void Replace(std::string_view name, const std::string& value) {
    Replace(name, [&]() -> const std::string& { return value; });
  }

 private:
  // NOTE: only the length and the two characters at each end are mixed
  // in: cheap for every text between "%" signs, and names that differ
  // nowhere else are rare. A collision only costs one exact search.
  static size_t Hash(std::string_view s) {
    const size_t n = s.size();
    auto at = [&](size_t i) -> uint64_t { return i < n ? static_cast<unsigned char>(s[i]) : 0; };
    uint64_t h = n;
    h = h * 0x100000001b3ull + (at(0) | at(1) << 8 | (n >= 2 ? at(n - 2) : 0) << 16 | (n >= 1 ? at(n - 1) : 0) << 24);
    h *= 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 52) % kBits;
  }
  void Rebuild() {
    bits_.reset();
    // One pass over the text; the pieces between "%" signs are short, so
    // a search call per piece would cost more than the scan.
    const char* data = text_.data();
    size_t open = std::string::npos;
    for (size_t i = 0; i < text_.size(); ++i) {
      if (data[i] != '%') continue;
      if (open != std::string::npos) bits_.set(Hash(std::string_view(data + open + 1, i - open - 1)));
      open = i;
    }
  }

  static constexpr size_t kBits = 4096;
  std::string text_;
  std::bitset<kBits> bits_;
};

}  // namespace

std::string ExpandVariables(TDeskletObject& desklet, std::string_view input) {
  // Every token contains "%": a text without one is returned unchanged.
  if (input.find('%') == std::string_view::npos) return std::string(input);
  Expansion text(input);

  // Parameters first, in list order, so that their values may hold fixed
  // tokens.
  for (const auto& p : desklet.parameters) text.Replace(p->Name, p->Value);
  if (!text.HasPercent()) return text.Take();

  TFolderCache& folders = *desklet.folderCache;
  text.Replace("THISMOUSEX", [&] { return std::to_string(desklet.layerMouseX); });
  text.Replace("MOUSEX", [&] { return std::to_string(desklet.mouseX); });
  text.Replace("MOUSEY", [&] { return std::to_string(desklet.mouseY); });
  text.Replace("MYDOC", [&] { return folders.Folder(win::kCsidlPersonal); });
  text.Replace("MYDOCUMENTS", [&] { return folders.Folder(win::kCsidlPersonal); });
  text.Replace("MYPICTURES", [&] { return folders.Folder(win::kCsidlMyPictures); });
  text.Replace("MYVIDEOS", [&] { return folders.Folder(win::kCsidlMyVideo); });
  text.Replace("MYMUSIC", [&] { return folders.Folder(win::kCsidlMyMusic); });
  text.Replace("DESKTOP", [&] { return folders.Folder(win::kCsidlDesktopDirectory); });
  text.Replace("TMPPATH", [&] { return folders.TempFolder(); });
  text.Replace("SKINPATH", [&] { return WithTrailingSlash(FolderOf(desklet.skinPath)); });
  text.Replace("SKINRESPATH", [&] { return WithTrailingSlash(desklet.resourcePath); });
  text.Replace("SKINCTRLPATH", [&] { return WithTrailingSlash(desklet.controlPath); });
  return text.Take();
}

}  // namespace vorel
