// INI settings files: sections of key=value lines. Reading keeps file
// order; writing changes only the keys it is given and leaves every other
// line, key and section as it was. Writes are atomic: the new content goes
// to a temporary file beside the old one, which is then renamed over it, so
// a crash leaves either the old file or the new one, never half of either.
// Section and key names compare without regard to ASCII case, as on Windows.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace win {

using IniEntries = std::vector<std::pair<std::string, std::string>>;

// Every key=value line of the section, in file order; keys and values
// trimmed of blanks. A missing file or section gives an empty list.
IniEntries ReadIniSection(const std::string& path, const std::string& section);

// One value; false when the section has no such key.
bool ReadIniString(const std::string& path, const std::string& section, const std::string& key, std::string& value);

// Sets the given keys of the section in one atomic write, adding the section
// or keys that are missing. Throws std::runtime_error when the file cannot be
// written; the old file then stays as it was.
void WriteIniStrings(const std::string& path, const std::string& section, const IniEntries& entries);
void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// Sets the keys of several sections in one atomic write, as WriteIniStrings
// does for one: the file holds all of them or, when writing fails, none.
void WriteIniSections(const std::string& path, const std::vector<std::pair<std::string, IniEntries>>& sections);

// Removes the named sections, every line from a section's header up to the
// next section, in one atomic write; every other line stays as it was. A
// section named twice in the file goes with all its copies. Returns how
// many sections were removed; when none was there the file is not touched.
// Throws std::runtime_error when the file cannot be written.
size_t RemoveIniSections(const std::string& path, const std::vector<std::string>& sections);

}  // namespace win
