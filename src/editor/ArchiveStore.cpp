// CArchiveStore over standard streams.
#include "editor/ArchiveStore.h"

namespace kx {

bool CArchiveStore::Read(void* destination, uint32_t n) {
    if (input == nullptr) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    input->read(static_cast<char*>(destination), static_cast<std::streamsize>(n));
    return static_cast<uint32_t>(input->gcount()) == n;
}

bool CArchiveStore::Write(const void* source, uint32_t n) {
    if (output == nullptr) {
        return false;
    }
    output->write(static_cast<const char*>(source), static_cast<std::streamsize>(n));
    return static_cast<bool>(*output);
}

uint64_t CArchiveStore::BytesLeft() const {
    if (input == nullptr) {
        return 0;
    }
    if (!*input) {
        return kUnknownLength;
    }
    const std::streampos here = input->tellg();
    if (here < 0) {
        return kUnknownLength;
    }
    input->seekg(0, std::ios::end);
    const std::streampos end = input->tellg();
    input->seekg(here);
    if (end < here) {
        return kUnknownLength;
    }
    return static_cast<uint64_t>(end - here);
}

} // namespace kx
