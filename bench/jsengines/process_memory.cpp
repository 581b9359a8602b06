#include "process_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace jsengines {

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t sizePages = 0;
  int64_t residentPages = 0;
  if (!(statm >> sizePages >> residentPages)) throw std::runtime_error("cannot read /proc/self/statm");
  return residentPages * sysconf(_SC_PAGESIZE);
}

int64_t MallocBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<int64_t>(info.uordblks + info.hblkhd);
}

void TrimMalloc() { malloc_trim(0); }

int64_t LibraryResidentBytes(std::string_view library) {
  std::ifstream smaps("/proc/self/smaps");
  if (!smaps) throw std::runtime_error("cannot read /proc/self/smaps");
  // A mapping's header line ("start-end perms offset dev inode path") is
  // followed by its fields ("Rss:   123 kB"); the Rss of a mapping counts
  // when its header named the library.
  bool inLibrary = false;
  int64_t kilobytes = 0;
  std::string line;
  while (std::getline(smaps, line)) {
    if (line.empty()) continue;
    const bool header = line.find('-') < line.find(' ') && line.find(':') > line.find(' ');
    if (header) {
      const size_t slash = line.rfind('/');
      inLibrary = slash != std::string::npos && std::string_view(line).substr(slash + 1).starts_with(library);
      continue;
    }
    if (inLibrary && line.starts_with("Rss:")) {
      std::istringstream fields(line.substr(4));
      int64_t value = 0;
      fields >> value;
      kilobytes += value;
    }
  }
  return kilobytes * 1024;
}

}  // namespace jsengines
