// COutputFile: a temporary file beside the target, renamed over it once complete.
#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Error.h"
#include "Path.h"
#include "TextCodec.h"

namespace kx {
namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Where a symbolic link points, so that saving through a link replaces the linked file.
std::string FollowLink(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

int OpenTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> serial{0};
    std::string folder;
    std::string name;
    if (!SplitPath(target, folder, name)) {
        folder = ".";
    } else if (folder.empty()) {
        folder = "/";
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = JoinPath(folder, "." + name + "." + std::to_string(getpid()) + "-" +
                                         std::to_string(serial++) + ".part");
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool COutputFile::Open(const std::string& newPath) {
    Discard();
    path = newPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    failed = false;
    errorCode = 0;
    errorText.clear();
    buffer.clear();
    if (path.empty()) {
        return Fail("Datei \"%s\" konnte nicht angelegt werden: %s.", ENOENT);
    }
    target = FollowLink(ResolveWritePathNoCase(path));
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Fail("Datei \"%s\" konnte nicht angelegt werden: %s.", EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or pipe cannot be replaced by a rename, and must not be.
        descriptor = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    } else {
        descriptor = OpenTemporaryBeside(target, temporary);
        if (descriptor < 0 && errno == ENOENT) {
            // A missing folder is made; where that is not the cause (a folder that takes no
            // new files, as /proc), the reason stays the open's, not the folder's "exists".
            const int code = errno;
            if (CreatePathDirectories(target)) {
                descriptor = OpenTemporaryBeside(target, temporary);
            } else {
                errno = code;
            }
        }
        if (descriptor >= 0 && exists) {
            // The replacement keeps the permissions of the file it replaces.
            fchmod(descriptor, existing.st_mode & 07777);
        }
    }
    if (descriptor < 0) {
        temporary.clear();
        return Fail("Datei \"%s\" konnte nicht angelegt werden: %s.", errno);
    }
    buffer.reserve(kBufferSize);
    return true;
}

bool COutputFile::Write(const void* source, uint32_t n) {
    return WriteBytes(source, n);
}

bool COutputFile::WriteBytes(const void* source, size_t n) {
    if (failed) {
        return false;
    }
    if (descriptor < 0) {
        return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.", EBADF);
    }
    const auto* bytes = static_cast<const uint8_t*>(source);
    if (buffer.size() + n <= kBufferSize) {
        buffer.insert(buffer.end(), bytes, bytes + n);
        return true;
    }
    if (!FlushBuffer()) {
        return false;
    }
    if (n < kBufferSize) {
        buffer.insert(buffer.end(), bytes, bytes + n);
        return true;
    }
    // Large blocks go straight through, without a copy.
    while (n > 0) {
        const ssize_t written = ::write(descriptor, bytes, std::min<size_t>(n, SSIZE_MAX));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.",
                        written < 0 ? errno : ENOSPC);
        }
        bytes += written;
        n -= static_cast<size_t>(written);
    }
    return true;
}

bool COutputFile::Read(void* /*destination*/, uint32_t n) {
    return n == 0;
}

bool COutputFile::FlushBuffer() {
    size_t at = 0;
    while (at < buffer.size()) {
        const ssize_t written = ::write(descriptor, buffer.data() + at, buffer.size() - at);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.",
                        written < 0 ? errno : ENOSPC);
        }
        at += static_cast<size_t>(written);
    }
    buffer.clear();
    return true;
}

bool COutputFile::Commit() {
    if (failed) {
        if (raiseOnError) {
            throw CTBException(CTBException::kMessage, errorText);
        }
        return false;
    }
    if (descriptor < 0) {
        return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.", EBADF);
    }
    if (!FlushBuffer()) {
        return false;
    }
    // Synced before the rename, so that a crash leaves the old file or the new one whole.
    if (!temporary.empty() && fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS) {
        return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.", errno);
    }
    const int fd = descriptor;
    descriptor = -1;
    if (close(fd) != 0 && errno != EINTR) {
        return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.", errno);
    }
    if (!temporary.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) {
        return Fail("Datei \"%s\" konnte nicht geschrieben werden: %s.", errno);
    }
    temporary.clear();
    return true;
}

void COutputFile::Discard() {
    if (descriptor >= 0) {
        close(descriptor);
        descriptor = -1;
    }
    if (!temporary.empty()) {
        unlink(temporary.c_str());
        temporary.clear();
    }
    buffer.clear();
}

bool COutputFile::Fail(const char* format, int code) {
    if (!failed) {
        failed = true;
        errorCode = code;
        errorText = FormatString(T(format).c_str(), path.c_str(), std::strerror(code));
    }
    Discard();
    if (raiseOnError) {
        throw CTBException(CTBException::kMessage, errorText);
    }
    return false;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error) {
    COutputFile file(false);
    const bool ok = file.Open(path) && file.WriteBytes(data, size) && file.Commit();
    if (!ok && error != nullptr) {
        *error = file.GetErrorText();
    }
    return ok;
}

} // namespace kx
