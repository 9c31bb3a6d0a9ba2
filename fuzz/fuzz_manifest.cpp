// Fuzzes the archive manifest reader: any text gives lines or a numbered error, never more
// lines than the text has.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "storage/ArchiveManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<kx::ArchiveManifestLine> lines;
    std::string error;
    const bool ok = kx::ParseArchiveManifest(text, "base", lines, error);
    if (ok != error.empty() || lines.size() > size / 5 + 1) {
        std::abort();
    }
    for (const kx::ArchiveManifestLine& line : lines) {
        if (line.kind.empty() || line.name.empty() || line.file.empty()) {
            std::abort();
        }
    }
    return 0;
}
