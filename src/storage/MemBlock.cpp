// CMemBlock: allocation, copying, ownership transfer and the run-length coding.
#include "MemBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "Error.h"

namespace kx {
namespace {

// Owned bytes come from std::malloc so that Attach and Detach can hand buffers across.
uint8_t* AllocateBytes(uint32_t n) {
    void* bytes = nullptr;
    try {
        bytes = std::malloc(n);
    } catch (const std::bad_alloc&) {
        bytes = nullptr;
    }
    if (bytes == nullptr) {
        RaiseError("Failed to allocate %u bytes.", n);
    }
    return static_cast<uint8_t*>(bytes);
}

bool Overlaps(const CMemBlock& block, const void* source) {
    if (block.data == nullptr || source == nullptr) {
        return false;
    }
    const auto* p = static_cast<const uint8_t*>(source);
    return std::less_equal<const uint8_t*>()(block.data, p) &&
           std::less<const uint8_t*>()(p, block.data + block.size);
}

} // namespace

CMemBlock::CMemBlock(const CMemBlock& other, bool shallow) {
    if (shallow) {
        Attach(other.data, other.size, false);
    } else {
        CopyFrom(other.data, other.size);
    }
}

void CMemBlock::Release() {
    if (owns && data != nullptr) {
        std::free(data);
        data = nullptr;
        size = 0;
        owns = true;
    }
}

void CMemBlock::Reset() {
    Release();
    // A borrowing block forgets the bytes it borrowed before taking new ones.
    data = nullptr;
    size = 0;
    owns = true;
}

uint8_t* CMemBlock::Allocate(uint32_t n) {
    Reset();
    if (n == 0) {
        return nullptr;
    }
    data = AllocateBytes(n);
    size = n;
    owns = true;
    return data;
}

uint8_t* CMemBlock::Resize(uint32_t n) {
    if (n == 0) {
        Reset();
        return nullptr;
    }
    if (size == 0) {
        return Allocate(n);
    }
    uint8_t* fresh = AllocateBytes(n);
    std::memcpy(fresh, data, std::min(size, n));
    Reset();
    data = fresh;
    size = n;
    owns = true;
    return data;
}

void CMemBlock::CopyFrom(const void* source, uint32_t n) {
    if (n > 0 && Overlaps(*this, source)) {
        CMemBlock copy;
        copy.CopyFrom(source, n);
        MoveFrom(copy);
        return;
    }
    Reset();
    if (n > 0) {
        Allocate(n);
        std::memcpy(data, source, n);
    }
}

void CMemBlock::CopyFromText(const char* text) {
    const size_t length = std::strlen(text);
    CopyFrom(text, static_cast<uint32_t>(length + 1));
}

void CMemBlock::Attach(uint8_t* pointer, uint32_t n, bool ownsBytes) {
    if (pointer != data) {
        Reset();
    }
    data = pointer;
    size = n;
    owns = ownsBytes;
}

uint8_t* CMemBlock::Detach() {
    uint8_t* pointer = data;
    data = nullptr;
    size = 0;
    return pointer;
}

void CMemBlock::MoveFrom(CMemBlock& other) {
    if (&other == this) {
        return;
    }
    // When both hold the same bytes, whichever of them owned the bytes passes that on.
    const bool sameBytes = other.data == data && data != nullptr;
    if (!sameBytes) {
        Reset();
    }
    owns = sameBytes ? (owns || other.owns) : other.owns;
    data = other.data;
    size = other.size;
    other.Detach();
}

void CMemBlock::Fill(uint8_t value) {
    if (data != nullptr && size > 0) {
        std::memset(data, value, size);
    }
}

void CMemBlock::DecodeRunLength(const CMemBlock& source, uint32_t n) {
    if (&source == this) {
        CMemBlock copy(source, false);
        DecodeRunLength(copy, n);
        return;
    }
    Allocate(n);
    if (n < 1) {
        return;
    }
    const uint32_t pairs = source.size / 2;
    uint32_t pair = 0;
    uint32_t written = 0;
    while (written < n) {
        uint8_t value = 0;
        uint32_t count = 255;
        if (pair < pairs) {
            value = source.data[2 * pair];
            count = source.data[2 * pair + 1];
            ++pair;
        }
        if (count == 0) {
            count = 256;
        }
        const uint32_t run = std::min(count, n - written);
        std::memset(data + written, value, run);
        written += run;
    }
}

void CMemBlock::EncodeRunLength(const CMemBlock& source) {
    if (&source == this) {
        CMemBlock copy(source, false);
        EncodeRunLength(copy);
        return;
    }
    if (source.size == 0 || source.data == nullptr) {
        Allocate(0);
        return;
    }
    // Counting the runs first keeps the buffer exact instead of twice the input.
    uint64_t runs = 1;
    uint32_t length = 1;
    for (uint32_t i = 1; i < source.size; ++i) {
        if (source.data[i] != source.data[i - 1] || length == 255) {
            ++runs;
            length = 1;
        } else {
            ++length;
        }
    }
    if (runs * 2 > UINT32_MAX) {
        RaiseError("Failed to allocate %u bytes.", UINT32_MAX);
    }
    uint8_t* out = Allocate(static_cast<uint32_t>(runs * 2));
    uint8_t value = source.data[0];
    length = 1;
    size_t emitted = 0;
    for (uint32_t i = 1; i < source.size; ++i) {
        const uint8_t byte = source.data[i];
        if (byte != value || length == 255) {
            out[emitted++] = value;
            out[emitted++] = static_cast<uint8_t>(length);
            value = byte;
            length = 1;
        } else {
            ++length;
        }
    }
    out[emitted++] = value;
    out[emitted++] = static_cast<uint8_t>(length);
}

} // namespace kx
