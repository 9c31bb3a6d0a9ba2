// Reading the raw level formats of versions 0 to 3, built byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "field/LevelFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

using namespace kx;

namespace {

// One 15-byte legacy cell; the 13-byte form keeps the first four codes.
struct OldCell {
    uint16_t g = 64 + 96, o = 0xFFFF, t = 0xFFFF, c = 0xFFFF;
    uint16_t g2 = 64 + 96, o2 = 0xFFFF, t2 = 0xFFFF;
    uint8_t s = 0;
};

class Bytes {
public:
    Bytes& U8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    Bytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    Bytes& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    Bytes& Text(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    std::vector<uint8_t> b;
};

std::vector<uint8_t> OldLevel(uint32_t version, uint32_t w, uint32_t h,
                              const std::vector<OldCell>& cells,
                              std::optional<std::string> description = std::nullopt) {
    Bytes out;
    out.U32(kLevelMagic).U32(version).U32(w).U32(h);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        OldCell c = i < cells.size() ? cells[i] : OldCell{};
        out.U16(c.g).U16(c.o).U16(c.t).U16(c.c);
        if (version >= 2) {
            out.U16(c.g2).U16(c.o2).U16(c.t2).U8(c.s);
        } else {
            // Bytes 8 to 12 of a short cell mean nothing.
            out.U8(0x12).U8(0x34).U8(0x56).U8(0x78).U8(0x9A);
        }
    }
    if (version >= 1) {
        std::string d = description.value_or("");
        out.U32(static_cast<uint32_t>(d.size())).Text(d);
    }
    return out.b;
}

bool Read(CGameFieldBase& field, const std::vector<uint8_t>& bytes, std::string* reason = nullptr) {
    CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CMemSerializer store(block, false);
    return ReadLevelNoThrow(field, store, reason);
}

// A 3 x 3 version-3 level whose cells are the given ones, read into a field.
CGameFieldBase ReadCells(uint32_t version, const std::vector<OldCell>& cells) {
    CGameFieldBase field;
    uint32_t h = static_cast<uint32_t>((cells.size() + 2) / 3);
    EXPECT_TRUE(Read(field, OldLevel(version, 3, std::max(h, 3u), cells)));
    return field;
}

OldCell Ground(uint16_t g) {
    OldCell c;
    c.g = g;
    return c;
}
OldCell Object(uint16_t o) {
    OldCell c;
    c.o = o;
    return c;
}

} // namespace

TEST(LegacyLevel, Version3KeepsGroundCodesBelow128) {
    CGameFieldBase f = ReadCells(3, {Ground(32), Ground(0), Ground(127), Ground(200), Ground(65534),
                                     Ground(65535), Ground(128)});
    EXPECT_EQ(f.cells[0].ground, 32);
    EXPECT_EQ(f.cells[1].ground, 0);
    EXPECT_EQ(f.cells[2].ground, 127);
    EXPECT_EQ(f.cells[3].ground, 136);
    EXPECT_EQ(f.cells[4].ground, 255);
    EXPECT_EQ(f.cells[5].ground, 255);
    EXPECT_EQ(f.cells[6].ground, 64);
}

TEST(LegacyLevel, Version2ShiftsGroundsFrom32Up) {
    OldCell wall = Ground(31);
    wall.g2 = 32;
    CGameFieldBase f =
        ReadCells(2, {Ground(32), wall, Ground(0xFFFE), Ground(0xFFFF), Ground(160)});
    EXPECT_EQ(f.cells[0].ground, 64);
    EXPECT_EQ(f.cells[1].ground, 31);
    EXPECT_EQ(f.cells[1].swGround, 64);
    // 16-bit wrap: 0xFFFE + 96 is 94, 0xFFFF + 96 is 95.
    EXPECT_EQ(f.cells[2].ground, 94);
    EXPECT_EQ(f.cells[3].ground, 95);
    EXPECT_EQ(f.cells[4].ground, 192);
}

TEST(LegacyLevel, Versions0And1HaveAPlainSwitchLayer) {
    for (uint32_t version : {0u, 1u}) {
        OldCell c = Ground(40);
        c.o = 0x8006;
        c.t = 0x8004;
        CGameFieldBase f = ReadCells(version, {c});
        EXPECT_EQ(f.cells[0].ground, 40 + 96 - 64) << version;
        EXPECT_EQ(f.cells[0].objects[0], OBJ_CACTUS);
        EXPECT_EQ(f.cells[0].item, ITEM_CORN);
        for (const FieldCell& cell : f.cells) {
            EXPECT_EQ(cell.swGround, 96);
            EXPECT_EQ(cell.swObjects[0], kNothing);
            EXPECT_EQ(cell.swItem, kNothing);
            EXPECT_EQ(cell.swFlags, 0);
            EXPECT_EQ(cell.switchNo, kNothing);
            EXPECT_EQ(cell.extraFlags, 0);
        }
    }
}

TEST(LegacyLevel, ObjectCodesMapToTheirNewNumbers) {
    const std::vector<std::pair<uint16_t, uint8_t>> map = {
        {0xFFFF, 255},  {0x8006, 6},    {0x8010, 0},    {0x8015, 5},    {0x8068, 56},
        {0x806B, 59},   {0x8090, 60},   {0x8092, 62},   {0x8070, 16},   {0x808F, 47},
        {0x806C, 0x6C}, {0x8093, 0x93}, {0x0042, 0x42}, {0x1234, 0x34}, {0x8016, 0x16}};
    std::vector<OldCell> cells;
    for (auto [old, code] : map) {
        OldCell c = Object(old);
        c.o2 = old;
        cells.push_back(c);
    }
    CGameFieldBase f = ReadCells(3, cells);
    for (size_t i = 0; i < map.size(); ++i) {
        EXPECT_EQ(f.cells[i].objects[0], map[i].second) << std::hex << map[i].first;
        EXPECT_EQ(f.cells[i].swObjects[0], map[i].second) << std::hex << map[i].first;
        for (int slot = 1; slot < kObjectSlots; ++slot) {
            EXPECT_EQ(f.cells[i].objects[slot], kNothing);
            EXPECT_EQ(f.cells[i].swObjects[slot], kNothing);
        }
    }
}

TEST(LegacyLevel, ItemAndCreatureCodesMapToTheirNewNumbers) {
    const std::vector<std::pair<uint16_t, uint8_t>> items = {
        {0xFFFF, 255}, {0x8004, 0},    {0x8005, 1}, {0x8008, 2},
        {0x800D, 7},   {0x800E, 0x0E}, {0x0003, 3}};
    const std::vector<std::pair<uint16_t, uint8_t>> creatures = {
        {0xFFFF, 255}, {0x8000, 0}, {0x8003, 3}, {0x8007, 4},
        {0x800E, 5},   {0x8004, 4}, {0x0102, 2}};
    std::vector<OldCell> cells;
    for (size_t i = 0; i < items.size(); ++i) {
        OldCell c;
        c.t = items[i].first;
        c.t2 = items[i].first;
        c.c = creatures[i].first;
        cells.push_back(c);
    }
    CGameFieldBase f = ReadCells(3, cells);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(f.cells[i].item, items[i].second) << std::hex << items[i].first;
        EXPECT_EQ(f.cells[i].swItem, items[i].second) << std::hex << items[i].first;
        EXPECT_EQ(f.cells[i].creature, creatures[i].second) << std::hex << creatures[i].first;
    }
}

TEST(LegacyLevel, FlagsComeFromGroundAndObject) {
    struct Case {
        uint16_t g, o;
        uint8_t flags;
    };
    const std::vector<Case> cases = {
        {10, 0xFFFF, 6},  {10, 0x8020, 7},  {65534, 0x803F, 7}, {128, 0x8070, 6},
        {128, 0x807F, 6}, {128, 0x8080, 0}, {128, 0x8068, 4},   {128, 0x806F, 4},
        {128, 0x8060, 2}, {128, 0x8067, 2}, {128, 0x8020, 1},   {128, 0x803F, 1},
        {128, 0x8040, 0}, {128, 0x801F, 0}, {128, 0xFFFF, 0},   {200, 0x805F, 0}};
    std::vector<OldCell> cells;
    for (const Case& k : cases) {
        OldCell c;
        c.g = k.g;
        c.o = k.o;
        c.g2 = k.g;
        c.o2 = k.o;
        cells.push_back(c);
    }
    CGameFieldBase f = ReadCells(3, cells);
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(f.cells[i].flags, cases[i].flags) << cases[i].g << " " << std::hex << cases[i].o;
        EXPECT_EQ(f.cells[i].swFlags, cases[i].flags)
            << cases[i].g << " " << std::hex << cases[i].o;
    }
}

TEST(LegacyLevel, FlagsSeeTheShiftedGround) {
    // Version 2: 40 becomes 136, no longer a wall, so only the object decides.
    CGameFieldBase f = ReadCells(2, {Ground(40), Ground(31)});
    EXPECT_EQ(f.cells[0].flags, 0);
    EXPECT_EQ(f.cells[1].flags, 6);
}

TEST(LegacyLevel, SwitchBytesOneTo50AreSwitchNumbers) {
    std::vector<OldCell> cells(6);
    const uint8_t bytes[] = {0, 1, 2, 50, 51, 255};
    for (int i = 0; i < 6; ++i)
        cells[i].s = bytes[i];
    CGameFieldBase f = ReadCells(3, cells);
    const uint8_t expected[] = {255, 0, 1, 49, 255, 255};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f.cells[i].switchNo, expected[i]) << int(bytes[i]);
}

TEST(LegacyLevel, CellsAreReadRowAfterRow) {
    std::vector<OldCell> cells(5 * 4);
    cells[1 * 5 + 3].c = 0x800E; // column 3, row 1
    CGameFieldBase f;
    ASSERT_TRUE(Read(f, OldLevel(3, 5, 4, cells)));
    EXPECT_EQ(f.width, 5);
    EXPECT_EQ(f.height, 4);
    EXPECT_EQ(f.CellAt(3, 1).creature, CREATURE_WORM_CURRENT);
    EXPECT_EQ(f.CellAt(1, 3).creature, kNothing);
}

TEST(LegacyLevel, DescriptionFollowsTheCellsFromVersion1) {
    const std::string text = "Gr\xFC\xDF"
                             "e\r\nzweite Zeile";
    for (uint32_t version : {1u, 2u, 3u}) {
        CGameFieldBase f;
        f.description = "alt";
        ASSERT_TRUE(Read(f, OldLevel(version, 4, 3, {}, text))) << version;
        EXPECT_EQ(f.description, text);
    }
}

TEST(LegacyLevel, Version0HasNoDescription) {
    CGameFieldBase f;
    f.description = "alt";
    std::vector<uint8_t> bytes = OldLevel(0, 3, 3, {});
    // Whatever follows the cells is not read.
    Bytes tail;
    tail.U32(3).Text("abc");
    bytes.insert(bytes.end(), tail.b.begin(), tail.b.end());
    ASSERT_TRUE(Read(f, bytes));
    EXPECT_EQ(f.description, "");
}

TEST(LegacyLevel, LargestSizeLoads) {
    CGameFieldBase f;
    ASSERT_TRUE(Read(f, OldLevel(1, 1000, 3, {})));
    EXPECT_EQ(f.width, 1000);
    ASSERT_TRUE(Read(f, OldLevel(3, 3, 1000, {})));
    EXPECT_EQ(f.height, 1000);
    EXPECT_EQ(f.cells.size(), 3000u);
}

TEST(LegacyLevelFailure, SizesOutside3To1000AreRefused) {
    for (auto [w, h] : std::vector<std::pair<uint32_t, uint32_t>>{
             {2, 3}, {3, 2}, {1001, 3}, {3, 1001}, {0, 5}, {0xFFFFFFFF, 5}, {0x80000003u, 3}}) {
        Bytes b;
        b.U32(kLevelMagic).U32(3).U32(w).U32(h);
        std::vector<uint8_t> cells(15 * 9, 0);
        b.b.insert(b.b.end(), cells.begin(), cells.end());
        CGameFieldBase f;
        std::string reason;
        EXPECT_FALSE(Read(f, b.b, &reason)) << w << " x " << h;
        EXPECT_NE(reason, "");
    }
}

TEST(LegacyLevelFailure, EveryShortStreamIsRefused) {
    for (uint32_t version : {0u, 1u, 2u, 3u}) {
        std::vector<uint8_t> full = OldLevel(version, 4, 3, {}, "xyz");
        CGameFieldBase good;
        ASSERT_TRUE(Read(good, full));
        // Cutting the stream anywhere, even inside the description, must fail.
        for (size_t cut = 0; cut < full.size(); ++cut) {
            std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<long>(cut));
            CGameFieldBase f;
            EXPECT_FALSE(Read(f, part)) << "version " << version << " cut at " << cut;
        }
    }
}

TEST(LegacyLevelFailure, HugeDescriptionLengthFailsWithoutReadingFurther) {
    std::vector<uint8_t> bytes = OldLevel(3, 3, 3, {}, "");
    bytes.resize(bytes.size() - 4);
    Bytes len;
    len.U32(0xFFFFFFFF).Text("short");
    bytes.insert(bytes.end(), len.b.begin(), len.b.end());
    CGameFieldBase f;
    std::string reason;
    EXPECT_FALSE(Read(f, bytes, &reason));
    EXPECT_EQ(reason, "file too short");
}

TEST(LegacyLevelFailure, LargeSizeWithoutCellsFailsAtOnce) {
    Bytes b;
    b.U32(kLevelMagic).U32(2).U32(1000).U32(1000).U32(0);
    CGameFieldBase f;
    EXPECT_FALSE(Read(f, b.b));
}

TEST(LegacyLevelFailure, FailedReadEmptiesTheDescriptionAndKeepsTheOldField) {
    CGameFieldBase f;
    f.CreateField(7, 8);
    f.description = "vorher";
    std::vector<uint8_t> bytes = OldLevel(3, 5, 5, {});
    bytes.resize(bytes.size() - 10);
    EXPECT_FALSE(Read(f, bytes));
    EXPECT_EQ(f.description, "");
    EXPECT_EQ(f.width, 7);
    EXPECT_EQ(f.height, 8);
    EXPECT_EQ(f.cells.size(), 56u);
}
