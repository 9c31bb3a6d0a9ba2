// CFileEx: standard I/O files that raise the storage layer's German messages on request.
#include "FileEx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "Error.h"
#include "Path.h"
#include "TextCodec.h"

namespace kx {
namespace {

// Text mode reads CR LF as LF, as files written on Windows expect.
uint32_t CollapseLineEnds(std::FILE* stream, char* bytes, uint32_t count) {
    uint32_t out = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < count) {
                if (bytes[i + 1] == '\n') {
                    continue;
                }
            } else {
                const int next = std::fgetc(stream);
                if (next != EOF) {
                    std::ungetc(next, stream);
                }
                if (next == '\n') {
                    continue;
                }
            }
        }
        bytes[out++] = bytes[i];
    }
    return out;
}

} // namespace

void CFileEx::SetPath(const std::string& newPath, bool binaryMode) {
    Close();
    path = newPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    binary = binaryMode;
    sizeKnown = false;
    cachedSize = 0;
}

bool IsRegularFile(const std::string& path) {
    const auto actual = ResolvePathNoCase(path);
    struct stat info {};
    return actual && stat(actual->c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CFileEx::OpenRead(bool regularFileOnly) {
    Close();
    if (path.empty()) {
        return false;
    }
    const std::string actual = ResolvePathNoCase(path).value_or(path);
    // Without O_NONBLOCK, opening a named pipe waits for a writer, possibly for ever.
    const int fd = open(actual.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    bool accepted = fd >= 0 && fstat(fd, &info) == 0;
    // A folder opens for reading here but is no file, as it is not on Windows.
    if (accepted && (S_ISDIR(info.st_mode) || (regularFileOnly && !S_ISREG(info.st_mode)))) {
        accepted = false;
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    }
    // Reads wait for data again, but a pipe without a writer ends at once.
    if (accepted) {
        const int flags = fcntl(fd, F_GETFL);
        accepted = flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
    }
    if (accepted) {
        stream = fdopen(fd, "rb");
    }
    if (stream == nullptr && fd >= 0) {
        const int code = errno;
        close(fd);
        errno = code;
    }
    if (stream == nullptr && raiseOnError) {
        RaiseError(T("Datei \"%s\" konnte nicht zum Lesen geöffnet werden.").c_str(), path.c_str());
    }
    return stream != nullptr;
}

bool CFileEx::OpenWrite() {
    Close();
    if (path.empty()) {
        if (raiseOnError) {
            RaiseError(T("Datei \"%s\" konnte nicht angelegt werden.").c_str(), path.c_str());
        }
        return false;
    }
    std::string actual = ResolveWritePathNoCase(path);
    stream = std::fopen(actual.c_str(), "wb");
    if (stream == nullptr) {
        CreatePathDirectories(actual);
        stream = std::fopen(actual.c_str(), "wb");
    }
    if (stream == nullptr && raiseOnError) {
        RaiseError(T("Datei \"%s\" konnte nicht angelegt werden.").c_str(), path.c_str());
    }
    return stream != nullptr;
}

void CFileEx::Close() {
    sizeKnown = false;
    if (stream != nullptr) {
        std::fclose(stream);
        stream = nullptr;
    }
}

uint32_t CFileEx::ReadBytes(void* destination, uint32_t n) {
    if (stream == nullptr || n == 0) {
        return 0;
    }
    auto* bytes = static_cast<char*>(destination);
    uint32_t got = 0;
    if (binary) {
        got = static_cast<uint32_t>(std::fread(bytes, 1, n, stream));
    } else {
        // Fill the request as far as the file allows, since collapsing shortens a chunk.
        while (got < n) {
            const auto raw = static_cast<uint32_t>(std::fread(bytes + got, 1, n - got, stream));
            if (raw == 0) {
                break;
            }
            got += CollapseLineEnds(stream, bytes + got, raw);
        }
    }
    if (got < n && raiseOnError && binary) {
        RaiseError(T("Fehler beim Lesen von %u Bytes aus Datei \"%s\".").c_str(), n, path.c_str());
    }
    return got;
}

uint32_t CFileEx::WriteBytes(const void* source, uint32_t n) {
    if (stream == nullptr || n == 0) {
        return 0;
    }
    const auto written = static_cast<uint32_t>(std::fwrite(source, 1, n, stream));
    if (written < n && raiseOnError) {
        RaiseError(T("Fehler beim Schreiben von %u Bytes in Datei \"%s\".").c_str(), n,
                   path.c_str());
    }
    return written;
}

bool CFileEx::Read(void* destination, uint32_t n) {
    return ReadBytes(destination, n) == n;
}

bool CFileEx::Write(const void* source, uint32_t n) {
    return WriteBytes(source, n) == n;
}

void CFileEx::Skip(uint32_t n) {
    if (stream != nullptr) {
        std::fseek(stream, static_cast<long>(n), SEEK_CUR);
    }
}

uint64_t CFileEx::BytesLeft() const {
    if (stream == nullptr) {
        return 0;
    }
    if (!binary) {
        return kUnknownLength;
    }
    struct stat info {};
    if (fstat(fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) {
        return kUnknownLength;
    }
    const long position = std::ftell(stream);
    if (position < 0) {
        return kUnknownLength;
    }
    const auto total = static_cast<uint64_t>(info.st_size);
    const auto at = static_cast<uint64_t>(position);
    return at >= total ? 0 : total - at;
}

uint32_t CFileEx::GetSize() {
    if (!sizeKnown) {
        cachedSize = 0;
        if (!path.empty()) {
            const std::string actual = ResolvePathNoCase(path).value_or(path);
            struct stat info {};
            if (stat(actual.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
                cachedSize = static_cast<uint32_t>(
                    std::min<uint64_t>(static_cast<uint64_t>(info.st_size), UINT32_MAX));
            }
        }
        sizeKnown = true;
    }
    return cachedSize;
}

void CFileEx::WriteText(const std::string& text, bool newline) {
    if (!text.empty()) {
        WriteBytes(text.data(), static_cast<uint32_t>(text.size()));
    }
    if (newline) {
        WriteBytes("\n", 1);
    }
}

} // namespace kx
