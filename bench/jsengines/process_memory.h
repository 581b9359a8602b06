// Figures of this process's memory that the engine benchmarks compare: the
// resident set as the kernel counts it, the bytes malloc has handed out
// and not taken back, and the resident part of one shared library's
// mappings. Each read is a snapshot; a benchmark takes the difference of
// two.
#pragma once

#include <cstdint>
#include <string_view>

namespace jsengines {

// Resident pages of the whole process, in bytes (/proc/self/statm).
int64_t ResidentBytes();

// Bytes in live malloc blocks, small and mmap-backed alike (mallinfo2).
// Unlike the resident set it drops when memory is freed, so it counts what
// an object keeps even after freed pages were reused.
int64_t MallocBytesInUse();

// Gives free heap pages back to the kernel, so that a following resident
// set growth is not hidden by pages freed earlier and still mapped.
void TrimMalloc();

// Resident bytes of the mappings whose path ends in a file name starting
// with `library` ("libmozjs-102.so" matches the versioned file too).
int64_t LibraryResidentBytes(std::string_view library);

}  // namespace jsengines
