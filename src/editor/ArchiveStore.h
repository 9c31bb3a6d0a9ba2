// CArchiveStore, the IStore over the byte stream a front end hands the document for loading or
// saving.
#pragma once

#include <istream>
#include <ostream>

#include "storage/Store.h"

namespace kx {

// Reads from an input stream or appends to an output stream; the other direction fails.
// The stream is borrowed and must outlive the store.
class CArchiveStore : public IStore {
public:
    explicit CArchiveStore(std::istream& input) : input(&input) {}
    explicit CArchiveStore(std::ostream& output) : output(&output) {}
    CArchiveStore(const CArchiveStore&) = delete;
    CArchiveStore& operator=(const CArchiveStore&) = delete;

    bool Read(void* destination, uint32_t n) override;
    bool Write(const void* source, uint32_t n) override;
    uint64_t BytesLeft() const override;

private:
    std::istream* input = nullptr;
    std::ostream* output = nullptr;
};

} // namespace kx
