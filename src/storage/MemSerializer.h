// CMemSerializer, an IStore over a CMemBlock for reading resources in place or building bytes.
#pragma once

#include "MemBlock.h"
#include "Store.h"

namespace kx {

class CMemSerializer : public IStore {
public:
    // Read mode starts at 0; write mode appends after the block's current bytes.
    CMemSerializer(CMemBlock& block, bool writeMode);
    CMemSerializer(const CMemSerializer&) = delete;
    CMemSerializer& operator=(const CMemSerializer&) = delete;
    ~CMemSerializer() { FinishWriting(); }

    bool Read(void* destination, uint32_t n) override;
    bool Write(const void* source, uint32_t n) override;
    // Trims a written block to exactly the bytes written; ends reading and writing.
    void FinishWriting();

    // Bytes that a read can still deliver (0 in write mode or when finished).
    uint64_t BytesLeft() const override;

private:
    CMemBlock& block;
    uint32_t position = 0;
    bool writeMode = false;
    bool finished = false;
};

} // namespace kx
