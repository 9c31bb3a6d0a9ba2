// ReadWholeFile: a whole file into memory, bounded in size, from a disk file or a pipe alike.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

// The bound for files read whole: level sources, tapes, manifests, lists, scripts, and
// level, sound and archive files read from a pipe.
inline constexpr uint64_t kMaxWholeFileBytes = 64ull << 20;

// Reads the whole file at path into bytes. Memory grows only with the bytes that actually
// arrive, so an endless or lying stream stops at the limit. False (bytes empty) when the
// file cannot be opened or read, is a folder, or holds more than limit bytes; *error then
// names the file and the reason, in the command-line tools' words. A named pipe that nobody
// writes to reads as empty at once instead of waiting for a writer.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   uint64_t limit = kMaxWholeFileBytes);

} // namespace kx
