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

// The prefix of the temporaries ReplaceFileContent and its kin make beside
// `path`; a clean-up may remove stale ones a killed process left.
std::string TemporaryPrefix(const std::string& path);

// Makes an empty temporary file beside `path` with a unique name (the
// prefix above and six characters) and returns its name; for writers that
// fill the file themselves and rename it over `path`.
std::string MakeTemporaryBeside(const std::string& path);

}  // namespace kiv
