// IStore, the byte-stream interface that files, memory blocks and the editor's archive share.
#pragma once

#include <cstdint>

namespace kx {

class IStore {
public:
    // Copies exactly n bytes from the stream; true only if all n arrived.
    virtual bool Read(void* destination, uint32_t n) = 0;
    // Appends n bytes; true on success.
    virtual bool Write(const void* source, uint32_t n) = 0;
    // Moves n bytes forward; by default reads and discards in 1024-byte pieces.
    virtual void Skip(uint32_t n);
    // How many bytes a read can still deliver, or kUnknownLength. Lets readers refuse a
    // stated length that the stream cannot hold before allocating it.
    virtual uint64_t BytesLeft() const { return kUnknownLength; }

    static constexpr uint64_t kUnknownLength = UINT64_MAX;

protected:
    ~IStore() = default;
};

// Little-endian helpers over an IStore.
bool ReadU32(IStore& store, uint32_t& value);
bool WriteU32(IStore& store, uint32_t value);

} // namespace kx
