// Replacing a file's whole content so that a crash or a kill at any moment
// leaves either the old file or the new one, never a part of either: the
// bytes go into a fresh temporary file beside it (a unique name, so that
// threads and processes writing the same file never share one), are
// flushed to the disk, and the temporary is renamed over the file. The
// file keeps its permission bits; a new one gets 0644.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

// Throws std::runtime_error naming the step that failed and why; the old
// file is then as it was and no temporary is left behind.
void ReplaceFileContent(const std::string& path, std::string_view bytes);

// Makes an empty temporary file beside `path` with a unique name (`path`,
// ".tmp-" and six characters) and returns its name; for writers that fill
// the file themselves and rename it over `path`.
std::string MakeTemporaryBeside(const std::string& path);

// Whether a file name (without its folder) is that of a temporary these
// functions make; a clean-up may remove the ones a killed process left.
bool IsTemporaryName(std::string_view fileName);

}  // namespace kiv
