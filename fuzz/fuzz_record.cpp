// Fuzzes the record tree reader: load from bytes, walk every record, save again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/MemSerializer.h"

namespace {

size_t Walk(const kx::CBlockFileRecord& record, uint32_t& checksum) {
    size_t count = 1;
    checksum = checksum * 31 + record.type;
    for (uint32_t i = 0; i < record.data.size; ++i) {
        checksum += record.data.data[i];
    }
    for (size_t i = 0; i < record.ChildCount(); ++i) {
        count += Walk(record.ChildAt(i), checksum);
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size > UINT32_MAX) {
        return 0;
    }
    try {
        kx::CMemBlock input;
        input.Attach(const_cast<uint8_t*>(bytes), static_cast<uint32_t>(size), false);
        kx::CBlockFile tree;
        {
            kx::CMemSerializer reader(input, false);
            // A partial load is fine: whatever was read is walked and saved.
            (void)tree.Load(reader);
        }
        uint32_t checksum = 0;
        Walk(tree, checksum);
        (void)tree.FindChild(kx::TypeCode("gfld"));

        kx::CMemBlock output;
        {
            kx::CMemSerializer writer(output, true);
            if (!tree.Save(writer)) {
                std::abort();
            }
        }
        // What was saved loads completely and saves to the same bytes again.
        kx::CBlockFile again;
        {
            kx::CMemSerializer reader(output, false);
            if (!again.Load(reader)) {
                std::abort();
            }
        }
        kx::CMemBlock second;
        {
            kx::CMemSerializer writer(second, true);
            if (!again.Save(writer)) {
                std::abort();
            }
        }
        if (second.size != output.size ||
            (output.size > 0 && std::memcmp(second.data, output.data, output.size) != 0)) {
            std::abort();
        }
    } catch (const kx::CTBException&) {
    }
    return 0;
}
