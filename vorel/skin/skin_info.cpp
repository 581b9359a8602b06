#include "vorel/skin/skin_info.h"

#include "platform/util/utf8.h"

namespace vorel {

TSkinInfo::TSkinInfo(const std::string& key, const std::string& name, const std::string& author,
                     const std::string& notes, uint32_t version)
    : key_(kiv::Utf8ToUtf16(key)),
      name_(kiv::Utf8ToUtf16(name)),
      author_(kiv::Utf8ToUtf16(author)),
      notes_(kiv::Utf8ToUtf16(notes)) {
  // Lengths count the characters plus two, as hosts expect them.
  auto length = [](const std::u16string& s) { return static_cast<uint32_t>(s.size() + 2); };
  record_.size = sizeof(SkinInfoRecord);
  record_.key = key_.data();
  record_.keyLength = length(key_);
  record_.index = 0;
  record_.name = name_.data();
  record_.nameLength = length(name_);
  record_.author = author_.data();
  record_.authorLength = length(author_);
  record_.notes = notes_.data();
  record_.notesLength = length(notes_);
  record_.version = version;
}

}  // namespace vorel
