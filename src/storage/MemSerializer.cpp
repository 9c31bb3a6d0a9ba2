// CMemSerializer: reading a block in place and appending to it with 4096-byte growth.
#include "MemSerializer.h"

#include <algorithm>
#include <cstring>

namespace kx {

CMemSerializer::CMemSerializer(CMemBlock& block, bool writeMode)
    : block(block), position(writeMode ? block.size : 0), writeMode(writeMode) {}

bool CMemSerializer::Read(void* destination, uint32_t n) {
    if (writeMode || finished) {
        return false;
    }
    if (static_cast<uint64_t>(position) + n > block.size) {
        return false;
    }
    if (n > 0) {
        std::memcpy(destination, block.data + position, n);
        position += n;
    }
    return true;
}

bool CMemSerializer::Write(const void* source, uint32_t n) {
    if (!writeMode || finished) {
        return false;
    }
    const uint64_t end = static_cast<uint64_t>(position) + n;
    if (end > UINT32_MAX) {
        return false;
    }
    if (end > block.size) {
        const uint64_t grown = static_cast<uint64_t>(block.size) + block.size / 2;
        uint64_t newSize = (std::max(grown, end) + 4095) / 4096 * 4096;
        if (newSize > UINT32_MAX) {
            newSize = end;
        }
        block.Resize(static_cast<uint32_t>(newSize));
    }
    if (n > 0) {
        std::memcpy(block.data + position, source, n);
        position = static_cast<uint32_t>(end);
    }
    return true;
}

void CMemSerializer::FinishWriting() {
    if (writeMode && !finished && block.size != position) {
        block.Resize(position);
    }
    finished = true;
}

uint64_t CMemSerializer::BytesLeft() const {
    if (writeMode || finished || position > block.size) {
        return 0;
    }
    return block.size - position;
}

} // namespace kx
