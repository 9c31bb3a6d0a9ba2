// CMemBlock, an owned or borrowed byte buffer, with the run-length coding of level layers.
#pragma once

#include <cstdint>

namespace kx {

class CMemBlock {
public:
    CMemBlock() = default;
    // shallow: borrows other's bytes without owning them; otherwise copies them.
    CMemBlock(const CMemBlock& other, bool shallow);
    CMemBlock(const CMemBlock&) = delete;
    CMemBlock& operator=(const CMemBlock&) = delete;
    ~CMemBlock() { Release(); }

    // Frees owned bytes and becomes empty; a borrowing block is left unchanged.
    void Release();
    // Releases, then allocates n bytes (not cleared); n = 0 gives null. Raises
    // "Failed to allocate %u bytes." when memory runs out.
    uint8_t* Allocate(uint32_t n);
    // Keeps min(old size, n) bytes; bytes beyond the old size are not cleared.
    uint8_t* Resize(uint32_t n);
    void CopyFrom(const void* source, uint32_t n);
    // The string's characters and a terminating zero byte.
    void CopyFromText(const char* text);
    void Attach(uint8_t* pointer, uint32_t n, bool owns);
    uint8_t* Detach();
    void MoveFrom(CMemBlock& other);
    void Fill(uint8_t value);

    // Decodes (value, count) pairs of source into exactly n bytes (count 0 means 256;
    // missing input leaves zeros).
    void DecodeRunLength(const CMemBlock& source, uint32_t n);
    // Encodes source as (value, count) pairs with counts 1 to 255.
    void EncodeRunLength(const CMemBlock& source);

    // Owned bytes come from std::malloc; Attach with owns = true expects such a pointer.
    uint8_t* data = nullptr;
    uint32_t size = 0;
    bool owns = true;

private:
    // Release that also forgets borrowed bytes, so a block that is refilled never keeps
    // showing bytes it did not take.
    void Reset();
};

} // namespace kx
