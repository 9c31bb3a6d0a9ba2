// The temporary-file-and-rename save of the editor.
#include "editor/AtomicSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "storage/Error.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"

namespace kx {

bool SaveBytesAtomically(const std::string& path, const void* data, size_t size,
                         std::string* error) {
    // The file layer's messages, with the system's reason.
    auto fail = [&](bool created, int code) {
        if (error != nullptr) {
            *error = created ? "Fehler beim Schreiben von " + std::to_string(size) +
                                   " Bytes in Datei \"" + path + "\"."
                             : "Datei \"" + path + "\" konnte nicht angelegt werden.";
            *error += std::string(" (") + std::strerror(code) + ")";
        }
        return false;
    };
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string pattern = folder + "." + name + ".XXXXXX";
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    std::vector<char> name0 = temporary;
    int fd = mkstemp(temporary.data());
    if (fd < 0 && errno == ENOENT && CreatePathDirectories(path)) {
        temporary = name0;
        fd = mkstemp(temporary.data());
    }
    if (fd < 0) {
        return fail(false, errno);
    }
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    int code = 0;
    while (done < size) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            code = errno;
            break;
        }
        done += static_cast<size_t>(n);
    }
    // The new file keeps the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    if (code == 0) {
        const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
        fchmod(fd, mode);
        if (fsync(fd) != 0) {
            code = errno;
        }
    }
    if (close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0 && rename(temporary.data(), path.c_str()) != 0) {
        code = errno;
    }
    if (code != 0) {
        unlink(temporary.data());
        return fail(true, code);
    }
    return true;
}

void SaveBytesOrRaise(const std::string& path, const void* data, size_t size) {
    std::string error;
    if (!SaveBytesAtomically(path, data, size, &error)) {
        throw CTBException(CTBException::kMessage, Cp1252FromUtf8(error));
    }
}

} // namespace kx
