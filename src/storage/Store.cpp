// IStore's default skip and the little-endian number helpers.
#include "Store.h"
#include "storage/ByteOrder.h"

#include <algorithm>

namespace kx {

void IStore::Skip(uint32_t n) {
    uint8_t scratch[1024];
    while (n > 0) {
        const uint32_t piece = std::min<uint32_t>(n, sizeof scratch);
        // A failed read means the stream has ended; reading on would only fail again.
        if (!Read(scratch, piece)) {
            return;
        }
        n -= piece;
    }
}

bool ReadU32(IStore& store, uint32_t& value) {
    uint8_t bytes[4];
    if (!store.Read(bytes, 4)) {
        return false;
    }
    value = LoadU32LE(bytes);
    return true;
}

bool WriteU32(IStore& store, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return store.Write(bytes, 4);
}

} // namespace kx
