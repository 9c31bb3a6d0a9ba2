// CFileEx, a file as an IStore that raises CTBException only when made to.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "Store.h"

namespace kx {

inline constexpr bool kRegularFileOnly = true;

// Whether path (looked up without regard to letter case like OpenRead) is a regular file.
bool IsRegularFile(const std::string& path);

class CFileEx : public IStore {
public:
    explicit CFileEx(bool raiseOnError) : raiseOnError(raiseOnError) {}
    CFileEx(const CFileEx&) = delete;
    CFileEx& operator=(const CFileEx&) = delete;
    ~CFileEx() { Close(); }

    // Closes; stores the path with every "\\" turned into "/".
    void SetPath(const std::string& path, bool binary = true);
    const std::string& GetPath() const { return path; }
    // Opens for reading ("rb"/"rt"); a path that does not exist as written is looked up
    // again without regard to letter case. A named pipe opens at once, also when nobody
    // writes to it (it then reads as empty). With regularFileOnly anything but a regular
    // file (a pipe, a device, a socket) is refused like a missing one: what the game and the
    // editor find in folders is read only so.
    bool OpenRead(bool regularFileOnly = false);
    // Opens for writing, creating missing folders on a second try.
    bool OpenWrite();
    void Close();
    bool IsOpen() const { return stream != nullptr; }

    uint32_t ReadBytes(void* destination, uint32_t n);
    uint32_t WriteBytes(const void* source, uint32_t n);
    bool Read(void* destination, uint32_t n) override;
    bool Write(const void* source, uint32_t n) override;
    void Skip(uint32_t n) override;
    uint64_t BytesLeft() const override;

    // The file's size from its directory entry, cached until SetPath or Close; 0 if none.
    uint32_t GetSize();
    void WriteText(const std::string& text, bool newline);

private:
    std::string path;
    uint32_t cachedSize = 0;
    std::FILE* stream = nullptr;
    bool binary = true;
    bool sizeKnown = false;
    bool raiseOnError = false;
};

} // namespace kx
