#include "kivhost/loop/skin_catalog.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "kivhost/trace/trace_values.h"
#include "platform/util/utf8.h"

namespace kivhost {

namespace {

constexpr uint32_t kFirstBuffer = 260;
// No text of a skin's information needs more; a plug-in asking for more
// is not believed.
constexpr uint32_t kLargestBuffer = 1u << 20;

struct Buffers {
  std::u16string key, name, author, notes;

  void Resize(const SkinInfoRecord& wanted) {
    for (uint32_t length : {wanted.keyLength, wanted.nameLength, wanted.authorLength, wanted.notesLength})
      if (length > kLargestBuffer) throw std::runtime_error("the plug-in asks for a skin text of " +
                                                            std::to_string(length) + " characters");
    key.assign(std::max(wanted.keyLength, 1u), u'\0');
    name.assign(std::max(wanted.nameLength, 1u), u'\0');
    author.assign(std::max(wanted.authorLength, 1u), u'\0');
    notes.assign(std::max(wanted.notesLength, 1u), u'\0');
  }

  SkinInfoRecord Record(uint32_t index) {
    SkinInfoRecord r{};
    r.size = sizeof(SkinInfoRecord);
    r.index = index;
    r.key = key.data(), r.keyLength = static_cast<uint32_t>(key.size());
    r.name = name.data(), r.nameLength = static_cast<uint32_t>(name.size());
    r.author = author.data(), r.authorLength = static_cast<uint32_t>(author.size());
    r.notes = notes.data(), r.notesLength = static_cast<uint32_t>(notes.size());
    return r;
  }
};

// The text up to its terminator (or the buffer's end).
std::string Text(const std::u16string& buffer) { return kiv::Utf16ToUtf8(std::u16string(buffer.c_str())); }

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

// The enumerator, destroyed (traced) whatever happens.
class Enumerator {
 public:
  Enumerator(Host& host, PluginLibrary& plugin) : host_(host), plugin_(plugin) {
    const uint64_t seq = host_.trace.Begin("host>plugin", "OnCreateSkinEnumeratorW", 0, json::array({"module"}));
    handle_ = plugin_.OnCreateSkinEnumeratorW(plugin_.Module(), nullptr);
    host_.trace.End(seq, handle_ != nullptr);
    if (!handle_) throw std::runtime_error("the plug-in lists no skins");
  }
  ~Enumerator() {
    const uint64_t seq = host_.trace.Begin("host>plugin", "OnDestroySkinEnumeratorW", 0, json::array());
    plugin_.OnDestroySkinEnumeratorW(handle_);
    host_.trace.End(seq, nullptr);
  }
  Enumerator(const Enumerator&) = delete;
  Enumerator& operator=(const Enumerator&) = delete;

  int32_t Get(SkinInfoRecord& record) {
    const uint64_t seq = host_.trace.Begin("host>plugin", "OnGetSkinW", 0, json::array({record.index}));
    const int32_t ret = plugin_.OnGetSkinW(handle_, &record);
    host_.trace.End(seq, ret);
    return ret;
  }

 private:
  Host& host_;
  PluginLibrary& plugin_;
  void* handle_ = nullptr;
};

}  // namespace

std::vector<SkinInfo> ListOfferedSkins(Host& host, PluginLibrary& plugin) {
  Enumerator enumerator(host, plugin);
  std::vector<SkinInfo> skins;
  Buffers buffers;
  SkinInfoRecord first{};
  first.keyLength = first.nameLength = first.authorLength = first.notesLength = kFirstBuffer;
  buffers.Resize(first);
  for (uint32_t index = 0;; ++index) {
    SkinInfoRecord record = buffers.Record(index);
    int32_t ret = enumerator.Get(record);
    if (ret == kSkinBufferTooSmall) {
      // Once with the room the plug-in asked for; asking again is a fault.
      buffers.Resize(record);
      record = buffers.Record(index);
      ret = enumerator.Get(record);
      if (ret == kSkinBufferTooSmall)
        throw std::runtime_error("the plug-in asks for more room for skin " + std::to_string(index) + " than it said");
    }
    if (ret != kSkinFilled) break;
    skins.push_back({Text(buffers.key), Text(buffers.name), Text(buffers.author), Text(buffers.notes), index,
                     record.version});
  }
  return skins;
}

std::optional<SkinInfo> FindOfferedSkin(Host& host, PluginLibrary& plugin, const std::string& key) {
  for (SkinInfo& skin : ListOfferedSkins(host, plugin))
    if (skin.key == key) return std::move(skin);
  return std::nullopt;
}

std::string SkinListLine(const SkinInfo& skin) {
  return OneLine(skin.key) + "\t" + OneLine(skin.name) + "\t" + OneLine(skin.author) + "\t" +
         std::to_string(skin.version) + "\n";
}

}  // namespace kivhost
