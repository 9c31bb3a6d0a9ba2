// Krawlix.bfres as the build leaves it beside the programs: both sprite sheets and the eleven
// fonts, each with the bytes of its source file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "field/LevelFile.h"
#include "graphics/FontTable.h"
#include "storage/ArchiveManifest.h"
#include "storage/MemSerializer.h"
#include "storage/ResourceArchive.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool SameBytes(const kx::CResource& resource, const std::vector<uint8_t>& bytes) {
    return resource.data.size == bytes.size() && !bytes.empty() &&
           std::memcmp(resource.data.data, bytes.data(), bytes.size()) == 0;
}

class BuiltArchive : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_THROW(archive.LoadArchiveFile(std::string(KX_OUTPUT_DIR) + "/Krawlix.bfres"));
    }
    kx::CResourceArchive archive;
};

TEST_F(BuiltArchive, HoldsTheElevenFontsByTheirSlotNames) {
    for (int slot = 0; slot < 11; ++slot) {
        char name[8];
        std::snprintf(name, sizeof name, "F%02d", slot);
        const kx::CResource* font = archive.LookupResource("dxfont", name);
        ASSERT_NE(font, nullptr) << name;
        std::vector<uint8_t> file =
            ReadBytes(std::string(KX_ASSET_DIR) + "/" + kx::FontFileName(slot));
        EXPECT_EQ(font->data.size, 32264u) << name;
        EXPECT_TRUE(SameBytes(*font, file)) << name << " differs from " << kx::FontFileName(slot);
    }
}

TEST_F(BuiltArchive, HoldsBothSpriteSheetsAsBitmaps) {
    for (const char* sheet : {"imgfull", "imgtrans"}) {
        const kx::CResource* image = archive.LookupResource("image", sheet);
        ASSERT_NE(image, nullptr) << sheet;
        ASSERT_GE(image->data.size, 54u) << sheet;
        EXPECT_EQ(image->data.data[0], 'B');
        EXPECT_EQ(image->data.data[1], 'M');
    }
}

// The title and end screens and every level of the built-in list "Levels" read as levels.
TEST_F(BuiltArchive, HoldsTheScreensAndEveryLevelOfItsListAsReadableLevels) {
    const kx::CResource* list = archive.LookupResource("list", "Levels");
    ASSERT_NE(list, nullptr);
    std::vector<std::string> names = {"BackScreen", "BackScreenEnd"};
    std::string text(reinterpret_cast<const char*>(list->data.data), list->data.size);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    EXPECT_GE(names.size(), 2u + 40u);
    for (const std::string& name : names) {
        const kx::CResource* level = archive.LookupResource("level", name);
        ASSERT_NE(level, nullptr) << name;
        kx::CMemBlock bytes(level->data, true);
        kx::CMemSerializer in(bytes, false);
        kx::CGameFieldBase field;
        EXPECT_TRUE(kx::ReadLevelNoThrow(field, in)) << name;
        EXPECT_FALSE(field.description.empty()) << name;
    }
}

// Each line of the build's manifest (names quoted, blanks and umlauts allowed) must arrive
// under its name with exactly its file's bytes.
TEST_F(BuiltArchive, PacksEveryManifestEntryWithItsFileBytes) {
    const std::string folder = std::string(KX_ASSET_DIR) + "/..";
    const std::vector<uint8_t> text = ReadBytes(folder + "/archive.manifest");
    ASSERT_FALSE(text.empty());
    std::vector<kx::ArchiveManifestLine> lines;
    std::string error;
    ASSERT_TRUE(kx::ParseArchiveManifest(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), folder, lines,
        error))
        << error;
    bool blankInAName = false;
    for (const kx::ArchiveManifestLine& line : lines) {
        const kx::CResource* resource = archive.LookupResource(line.kind, line.name);
        ASSERT_NE(resource, nullptr) << line.kind << " " << line.name;
        EXPECT_TRUE(SameBytes(*resource, ReadBytes(line.file))) << line.file;
        blankInAName = blankInAName || line.name.find(' ') != std::string::npos;
    }
    EXPECT_TRUE(blankInAName);
    EXPECT_EQ(lines.size(), archive.GetCount());
}

} // namespace
