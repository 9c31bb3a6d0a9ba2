// Fuzzes the archive: the record tree and its index from any bytes, and lookups afterwards.
#include <cstdint>
#include <cstdlib>

#include "storage/MemBlock.h"
#include "storage/ResourceArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22)) {
        return 0;
    }
    // The bytes as a whole archive.
    kx::CMemBlock input;
    input.CopyFrom(data, static_cast<uint32_t>(size));
    kx::CResourceArchive archive;
    if (archive.LoadFromMemory(input)) {
        uint64_t total = 0;
        for (size_t i = 0; i < archive.GetCount(); ++i) {
            const kx::CResource& r = archive.ResourceAt(i);
            total += r.data.size + r.kind.size() + r.name.size();
            if (archive.LookupResource(r.kind, r.name) == nullptr) {
                std::abort();
            }
        }
        if (total > size) {
            std::abort();
        }
    }
    archive.LookupResource("image", "imgtrans");

    // The bytes as the root's index alone.
    kx::CMemBlock index;
    index.CopyFrom(data, static_cast<uint32_t>(size));
    const auto entries = kx::ReadArchiveIndex(index);
    if (entries.size() * 12 > size) {
        std::abort();
    }
    return 0;
}
