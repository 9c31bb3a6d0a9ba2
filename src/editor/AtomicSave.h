// Saving a whole file through a temporary file beside it, renamed over the target only when
// complete.
#pragma once

#include <cstddef>
#include <string>

namespace kx {

// Missing folders are made. False with the file layer's message and the system's reason
// (UTF-8) in *error when any step failed; the target is then untouched and no temporary
// file is left.
bool SaveBytesAtomically(const std::string& path, const void* data, size_t size,
                         std::string* error);

// The same, raising CTBException with that message (Windows-1252) on failure.
void SaveBytesOrRaise(const std::string& path, const void* data, size_t size);

} // namespace kx
