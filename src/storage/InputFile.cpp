// ReadWholeFile: chunked reads with a size bound, checked before and while reading.
#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Path.h"

namespace kx {
namespace {

constexpr size_t kChunk = 64 * 1024;

bool Refuse(std::string& bytes, std::string* error, std::string message) {
    bytes.clear();
    bytes.shrink_to_fit();
    if (error != nullptr) {
        *error = std::move(message);
    }
    return false;
}

std::string TooLarge(const std::string& path, uint64_t limit) {
    return path + ": larger than the limit of " + std::to_string((limit + (1u << 20) - 1) >> 20) +
           " MB";
}

std::string CannotRead(const std::string& path, int code) {
    return path + ": cannot read the file (" + std::strerror(code) + ")";
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error,
                   uint64_t limit) {
    bytes.clear();
    const std::string actual = ResolvePathNoCase(path).value_or(path);
    // Without O_NONBLOCK, opening a named pipe waits for a writer, possibly for ever.
    const int fd = open(actual.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Refuse(bytes, error,
                      path + ": cannot read the file: cannot open it (" + std::strerror(errno) +
                          ")");
    }
    // Reads wait for data again, but a pipe that nobody writes to ends at once.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int code = errno;
        close(fd);
        return Refuse(bytes, error, CannotRead(path, code));
    }
    struct stat info {};
    if (fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            close(fd);
            return Refuse(bytes, error, path + ": is a folder, not a file");
        }
        if (S_ISREG(info.st_mode)) {
            if (static_cast<uint64_t>(info.st_size) > limit) {
                close(fd);
                return Refuse(bytes, error, TooLarge(path, limit));
            }
            bytes.reserve(static_cast<size_t>(info.st_size));
        }
    }
    // Read in chunks, one byte past the limit, so that a longer stream is recognised as such.
    char chunk[kChunk];
    for (;;) {
        const uint64_t room = limit + 1 - bytes.size();
        const ssize_t got = read(fd, chunk, static_cast<size_t>(std::min<uint64_t>(kChunk, room)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int code = errno;
            close(fd);
            return Refuse(bytes, error, CannotRead(path, code));
        }
        if (got == 0) {
            break;
        }
        bytes.append(chunk, static_cast<size_t>(got));
        if (bytes.size() > limit) {
            close(fd);
            return Refuse(bytes, error, TooLarge(path, limit));
        }
    }
    close(fd);
    return true;
}

} // namespace kx
