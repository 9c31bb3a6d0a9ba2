// COutputFile, a file that is written whole or not at all, and WriteWholeFile for one buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Store.h"

namespace kx {

// Writes go to a temporary file in the target's folder; Commit flushes, syncs and closes it
// and renames it over the target only when every step succeeded. Any failure, and
// destruction without Commit, removes the temporary file, so the target is either the old
// file or the complete new one. A target that exists but is no regular file (a device, a
// pipe) is written directly, still with every write and the close checked.
class COutputFile : public IStore {
public:
    // raiseOnError: failures raise a CTBException with the system's reason; otherwise they
    // only show in the results and in GetErrorText.
    explicit COutputFile(bool raiseOnError) : raiseOnError(raiseOnError) {}
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;
    ~COutputFile() { Discard(); }

    // Opens the temporary file for path, creating missing folders on a second try. A file
    // whose name differs from path only in letter case is the one replaced.
    bool Open(const std::string& path);
    bool IsOpen() const { return descriptor >= 0; }
    const std::string& GetPath() const { return path; }

    bool Write(const void* source, uint32_t n) override;
    bool WriteBytes(const void* source, size_t n);
    // Output only: nothing can be read back.
    bool Read(void* destination, uint32_t n) override;

    // Finishes the file; true only if it now stands complete under its name.
    bool Commit();
    // Abandons the file: the temporary is removed and the target left as it was.
    void Discard();

    // The first failure's system error number (0 if none was a system error) and its
    // message, naming the file and the system's reason; empty while nothing failed.
    int GetErrorCode() const { return errorCode; }
    const std::string& GetErrorText() const { return errorText; }

private:
    bool Fail(const char* format, int code);
    bool FlushBuffer();

    std::string path;      // as given, for messages
    std::string target;    // the file that Commit replaces
    std::string temporary; // empty when writing the target directly
    std::vector<uint8_t> buffer;
    std::string errorText;
    int descriptor = -1;
    int errorCode = 0;
    bool failed = false;
    bool raiseOnError = false;
};

// Writes the bytes as the whole file at path; on failure false, the target untouched, and
// the message (as COutputFile::GetErrorText) in *error when given.
bool WriteWholeFile(const std::string& path, const void* data, size_t size,
                    std::string* error = nullptr);
inline bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* error = nullptr) {
    return WriteWholeFile(path, bytes.data(), bytes.size(), error);
}

} // namespace kx
