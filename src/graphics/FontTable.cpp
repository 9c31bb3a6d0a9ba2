// CFontTable: loading the eleven font blocks from the archive or the Font folders.
#include "FontTable.h"

#include <optional>

#include "storage/ByteOrder.h"
#include "storage/Error.h"
#include "storage/FileEx.h"
#include "storage/Path.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

constexpr uint32_t kGlyphRecordSize = 144;

[[noreturn]] void RaiseMissingFont() {
    RaiseError(T("Datei \"%s\" konnte nicht zum Lesen geöffnet werden.").c_str(), "");
}

} // namespace

int32_t FontNominalWidth(const std::vector<uint8_t>& font) {
    return LoadI32LE(font.data());
}

Glyph FontGlyph(const std::vector<uint8_t>& font, uint8_t code) {
    const uint32_t index = code < 32 ? 0 : code - 32u;
    const uint8_t* record = font.data() + 8 + index * kGlyphRecordSize;
    Glyph g;
    g.left = LoadI32LE(record);
    g.top = LoadI32LE(record + 4);
    g.width = LoadI32LE(record + 8);
    g.height = LoadI32LE(record + 12);
    g.rows = record + 16;
    return g;
}

const char* FontFileName(int32_t slot) {
    return slot >= 0 && slot < kFontSlots ? kFontFileNames[static_cast<size_t>(slot)] : nullptr;
}

void CFontTable::LoadFonts(const CResourceArchive* archive) {
    if (loadingDone && archive == nullptr) {
        return;
    }
    loadingDone = true;
    bool missing = false;
    for (int32_t slot = 0; slot < kFontSlots; ++slot) {
        try {
            LoadFont(kFontFileNames[static_cast<size_t>(slot)], slot, archive);
        } catch (const CTBException&) {
            // The other slots are still loaded; the first failure is reported below.
            missing = true;
        }
    }
    if (missing) {
        RaiseMissingFont();
    }
}

bool CFontTable::LoadFontsNoThrow(const CResourceArchive* archive, std::string* error) {
    try {
        LoadFonts(archive);
        return true;
    } catch (const CTBException& e) {
        if (error != nullptr) {
            *error = e.GetErrorText();
        }
        return false;
    }
}

void CFontTable::LoadFont(const std::string& fileName, int32_t slot,
                          const CResourceArchive* archive) {
    if (slot < 0 || slot >= kFontSlots) {
        return;
    }
    if (archive != nullptr) {
        const CResource* resource =
            archive->LookupResource("dxfont", FormatString("F%02d", static_cast<int>(slot)));
        if (resource != nullptr && resource->data.size == kFontBlockSize) {
            slots[slot] = std::make_shared<const std::vector<uint8_t>>(
                resource->data.data, resource->data.data + resource->data.size);
        }
    }
    if (slots[slot]) {
        return;
    }
    const std::optional<std::string> base =
        searchBase.empty() ? std::nullopt : std::optional<std::string>(searchBase);
    const std::string path = FindDataFile(base, "", "Font", fileName);
    if (path.empty()) {
        RaiseMissingFont();
    }
    CFileEx file(true);
    file.SetPath(path, true);
    file.OpenRead();
    // A block of another size would let glyph reads run past its end: as if missing.
    if (file.GetSize() != kFontBlockSize) {
        RaiseMissingFont();
    }
    auto bytes = std::make_shared<std::vector<uint8_t>>(kFontBlockSize);
    file.Read(bytes->data(), kFontBlockSize);
    file.Close();
    slots[slot] = std::move(bytes);
}

FontData CFontTable::GetFont(int32_t slot) {
    try {
        LoadFonts(nullptr);
    } catch (const CTBException&) {
        // Reported by the start-up's own LoadFonts; here a missing font is just absent.
    }
    if (slot < 0 || slot >= kFontSlots) {
        return nullptr;
    }
    return slots[slot];
}

bool CFontTable::SetFontBytes(int32_t slot, std::vector<uint8_t> bytes) {
    if (slot < 0 || slot >= kFontSlots) {
        return false;
    }
    if (bytes.size() != kFontBlockSize) {
        slots[slot].reset();
        return false;
    }
    slots[slot] = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    return true;
}

void CFontTable::Clear() {
    for (FontData& slot : slots) {
        slot.reset();
    }
    loadingDone = false;
}

CFontTable& ProgramFontTable() {
    static CFontTable table;
    return table;
}

} // namespace kx
