// Fuzzes ReadLevel: any bytes either fail cleanly or give a field that survives a round trip.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "field/LevelFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace {
// The description is stored with a terminating zero, so it keeps only what precedes one.
std::string UpToZero(const std::string& s) {
    return s.substr(0, s.find('\0'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24))
        return 0;
    kx::CMemBlock input;
    input.CopyFrom(data, static_cast<uint32_t>(size));
    kx::CGameFieldBase field;
    {
        kx::CMemSerializer in(input, false);
        if (!kx::ReadLevelNoThrow(field, in))
            return 0;
    }
    if (field.cells.size() != static_cast<size_t>(field.width) * field.height)
        std::abort();

    kx::CMemBlock written;
    {
        kx::CMemSerializer out(written, true);
        if (!kx::WriteLevel(field, out))
            std::abort();
    }
    kx::CGameFieldBase again;
    kx::CMemSerializer in(written, false);
    std::string reason;
    if (!kx::ReadLevelNoThrow(again, in, &reason))
        std::abort();
    if (again.width != field.width || again.height != field.height ||
        std::memcmp(again.cells.data(), field.cells.data(),
                    field.cells.size() * sizeof(kx::FieldCell)) != 0 ||
        again.description != UpToZero(field.description))
        std::abort();
    return 0;
}
