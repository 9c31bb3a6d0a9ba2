// Version-4 level streams: reading record trees, their defaults and failures, and writing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "field/LevelFile.h"
#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

using namespace kx;

namespace {

using Bytes = std::vector<uint8_t>;

void SetData(CBlockFileRecord& parent, uint32_t type, const Bytes& bytes) {
    CMemBlock b;
    b.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    parent.SetChildData(type, b);
}

std::vector<uint8_t> Le32(uint32_t a, uint32_t b) {
    std::vector<uint8_t> out;
    for (uint32_t v : {a, b})
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

// The level header followed by the saved tree.
Bytes Stream(const CBlockFile& root, uint32_t version = 4) {
    CMemBlock out;
    CMemSerializer s(out, true);
    WriteU32(s, kLevelMagic);
    WriteU32(s, version);
    root.Save(s);
    s.FinishWriting();
    return Bytes(out.data, out.data + out.size);
}

bool ReadBytes(CGameFieldBase& field, const Bytes& bytes, std::string* reason = nullptr) {
    CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CMemSerializer s(block, false);
    return ReadLevelNoThrow(field, s, reason);
}

// A root holding 'gfld' with 'meta' of the given size.
CBlockFileRecord& AddLevel(CBlockFile& root, uint32_t w, uint32_t h) {
    CBlockFileRecord& level = root.GetOrAddChild(TypeCode("gfld"));
    SetData(level, TypeCode("meta"), Le32(w, h));
    return level;
}

void SetLayer(CBlockFileRecord& level, const char* type, const std::vector<uint8_t>& pairs) {
    SetData(level, TypeCode(type), pairs);
}

bool SameCells(const CGameFieldBase& a, const CGameFieldBase& b) {
    return a.width == b.width && a.height == b.height && a.cells.size() == b.cells.size() &&
           std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(FieldCell)) == 0;
}

// Every byte of every cell set from a small generator, so that each layer differs.
CGameFieldBase BusyField(int32_t w, int32_t h) {
    CGameFieldBase f;
    f.CreateField(w, h);
    uint32_t x = 12345;
    for (FieldCell& c : f.cells) {
        uint8_t* p = reinterpret_cast<uint8_t*>(&c);
        for (size_t i = 0; i < sizeof(FieldCell); ++i) {
            x = x * 1103515245u + 12345u;
            // Runs of equal values now and then, as in real levels.
            p[i] = static_cast<uint8_t>((x >> 16) % 7 == 0 ? 255 : (x >> 20) & 0xFF);
        }
    }
    f.description = "Ebene mit \xE4 und \x80";
    return f;
}

Bytes Written(const CGameFieldBase& field) {
    CMemBlock out;
    CMemSerializer s(out, true);
    EXPECT_TRUE(WriteLevel(field, s));
    s.FinishWriting();
    return Bytes(out.data, out.data + out.size);
}

// The tree after the 8-byte header of a written level.
void LoadWritten(const CGameFieldBase& field, CBlockFile& root) {
    Bytes written = Written(field);
    CMemBlock bytes;
    bytes.CopyFrom(written.data(), static_cast<uint32_t>(written.size()));
    CMemSerializer s(bytes, false);
    uint32_t magic = 0, version = 0;
    ASSERT_TRUE(ReadU32(s, magic));
    ASSERT_TRUE(ReadU32(s, version));
    EXPECT_EQ(magic, kLevelMagic);
    EXPECT_EQ(version, 4u);
    ASSERT_TRUE(root.Load(s));
    EXPECT_EQ(s.BytesLeft(), 0u);
}

std::vector<std::string> ChildNames(const CBlockFileRecord& r) {
    std::vector<std::string> names;
    for (size_t i = 0; i < r.ChildCount(); ++i) {
        uint32_t t = r.ChildAt(i).type;
        std::string n;
        for (int s = 24; s >= 0; s -= 8)
            if ((t >> s) & 0xFF)
                n += static_cast<char>((t >> s) & 0xFF);
        names.push_back(n);
    }
    return names;
}

} // namespace

TEST(LevelRead, OnlyMetaAndGroundGiveTheDefaults) {
    CBlockFile root;
    CBlockFileRecord& level = AddLevel(root, 4, 3);
    SetLayer(level, "ug", {7, 12});
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    ASSERT_EQ(f.width, 4);
    ASSERT_EQ(f.height, 3);
    ASSERT_EQ(f.cells.size(), 12u);
    for (const FieldCell& c : f.cells) {
        EXPECT_EQ(c.ground, 7);
        for (int i = 0; i < kObjectSlots; ++i) {
            EXPECT_EQ(c.objects[i], 255);
            EXPECT_EQ(c.swObjects[i], 255);
        }
        EXPECT_EQ(c.item, 255);
        EXPECT_EQ(c.swItem, 255);
        EXPECT_EQ(c.creature, 255);
        EXPECT_EQ(c.switchNo, 255);
        EXPECT_EQ(c.extraFlags, 255);
        EXPECT_EQ(c.flags, 255);
        EXPECT_EQ(c.swFlags, 255);
        EXPECT_EQ(c.swGround, 0);
    }
    EXPECT_EQ(f.description, "");
}

TEST(LevelRead, MissingGroundLayerGivesWalls) {
    CBlockFile root;
    AddLevel(root, 3, 3);
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    for (const FieldCell& c : f.cells)
        EXPECT_EQ(c.ground, 0);
}

TEST(LevelRead, LayerDataThatEndsEarlyLeavesZerosAndSurplusIsIgnored) {
    CBlockFile root;
    CBlockFileRecord& level = AddLevel(root, 3, 3);
    SetLayer(level, "ob", {5, 3});
    SetLayer(level, "liv", {2, 4, 3, 5, 9, 9, 9});
    SetLayer(level, "s_o3", {1, 1, 8}); // odd last byte is no pair
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    const std::vector<uint8_t> ob = {5, 5, 5, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> liv = {2, 2, 2, 2, 3, 3, 3, 3, 3};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(f.cells[i].objects[0], ob[i]) << i;
        EXPECT_EQ(f.cells[i].creature, liv[i]) << i;
        EXPECT_EQ(f.cells[i].swObjects[3], i == 0 ? 1 : 0) << i;
    }
}

TEST(LevelRead, CountZeroMeans256AndRunsCrossRowsAndBlocks) {
    CBlockFile root;
    CBlockFileRecord& level = AddLevel(root, 100, 50);
    SetLayer(level, "ug", {7, 0, 9, 1});
    // 4999 cells of 3, then one of 4: runs reach over many rows.
    Bytes items;
    for (int left = 4999; left > 0; left -= 255)
        items.insert(items.end(), {3, static_cast<uint8_t>(std::min(left, 255))});
    items.insert(items.end(), {4, 1});
    SetLayer(level, "gi", items);
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    ASSERT_EQ(f.cells.size(), 5000u);
    for (size_t i = 0; i < 5000; ++i) {
        ASSERT_EQ(f.cells[i].ground, i < 256 ? 7 : i == 256 ? 9 : 0) << i;
        ASSERT_EQ(f.cells[i].item, i < 4999 ? 3 : 4) << i;
        ASSERT_EQ(f.cells[i].swItem, 255) << i;
    }
}

TEST(LevelRead, RecordsAreFoundByTypeAnywhereAmongTheChildren) {
    CBlockFile root;
    root.type = TypeCode("xyz");
    root.AddChild().type = TypeCode("othr");
    CBlockFileRecord& level = AddLevel(root, 3, 4);
    root.AddChild().type = TypeCode("gfl");
    SetLayer(level, "g_fl", {0x11, 12});
    level.AddChild().type = TypeCode("junk");
    CBlockFileRecord& info = level.GetOrAddChild(TypeCode("info"));
    const char text[] = "Hallo\0Rest";
    info.data.CopyFrom(text, sizeof text - 1);
    // The first 'meta' wins over a later one.
    level.AddChild().type = TypeCode("meta");
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    EXPECT_EQ(f.width, 3);
    EXPECT_EQ(f.height, 4);
    EXPECT_EQ(f.cells[11].extraFlags, 0x11);
    EXPECT_EQ(f.description, "Hallo");
}

TEST(LevelRead, DescriptionWithoutZeroByteRunsToTheEndOfItsData) {
    CBlockFile root;
    CBlockFileRecord& level = AddLevel(root, 3, 3);
    level.GetOrAddChild(TypeCode("info")).data.CopyFrom("abc", 3);
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    EXPECT_EQ(f.description, "abc");
}

TEST(LevelRead, TreeCutShortIsUsedAsFarAsItWasRead) {
    // gfld claims five children, the stream ends after 'meta' and 'ug'.
    std::vector<uint8_t> b = Le32(kLevelMagic, 4);
    auto add = [&b](std::vector<uint8_t> more) { b.insert(b.end(), more.begin(), more.end()); };
    add(Le32(0, 0));                // root: type 0, no data
    add(Le32(1, TypeCode("gfld"))); // one child; gfld
    add(Le32(0, 5));                // no data, five children
    add(Le32(TypeCode("meta"), 8)); // meta
    add(Le32(3, 5));                // 3 x 5
    add(Le32(0, TypeCode("ug")));   // no children; ug
    add(Le32(2, 0x0F42));           // two bytes: value 0x42, count 15
    b.resize(b.size() - 2);
    add(Le32(0, 0)); // no children
    b.resize(b.size() - 4);
    const Bytes& bytes = b;
    CGameFieldBase f;
    ASSERT_TRUE(ReadBytes(f, bytes));
    EXPECT_EQ(f.width, 3);
    EXPECT_EQ(f.height, 5);
    for (const FieldCell& c : f.cells) {
        EXPECT_EQ(c.ground, 0x42);
        EXPECT_EQ(c.flags, 255);
    }
}

TEST(LevelRead, LargestSizeLoadsAndOneMoreFails) {
    for (auto [w, h, ok] :
         std::vector<std::tuple<uint32_t, uint32_t, bool>>{{1000, 1000, true},
                                                           {3, 3, true},
                                                           {2, 3, false},
                                                           {3, 2, false},
                                                           {1001, 3, false},
                                                           {3, 1001, false},
                                                           {0xFFFFFFFF, 3, false}}) {
        CBlockFile root;
        AddLevel(root, w, h);
        Bytes bytes = Stream(root);
        CGameFieldBase f;
        EXPECT_EQ(ReadBytes(f, bytes), ok) << w << " x " << h;
        if (ok) {
            EXPECT_EQ(f.cells.size(), static_cast<size_t>(w) * h);
        }
    }
}

TEST(LevelReadFailure, WrongMagicOrVersionAbove4) {
    CBlockFile root;
    AddLevel(root, 3, 3);
    Bytes v5 = Stream(root, 5);
    CGameFieldBase f;
    std::string reason;
    EXPECT_FALSE(ReadBytes(f, v5, &reason));
    EXPECT_EQ(reason, "unknown level version 5");
    Bytes bad = Stream(root);
    bad[3] = 0xB2;
    EXPECT_FALSE(ReadBytes(f, bad, &reason));
    EXPECT_EQ(reason, "not a level file");
    for (uint32_t n : {0u, 3u, 4u, 7u}) {
        Bytes part = Stream(root);
        part.resize(n);
        EXPECT_FALSE(ReadBytes(f, part)) << n;
    }
}

TEST(LevelReadFailure, MissingFieldRecord) {
    CBlockFile root;
    root.AddChild().type = TypeCode("meta");
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    std::string reason;
    EXPECT_FALSE(ReadBytes(f, bytes, &reason));
    EXPECT_EQ(reason, "no 'gfld' record");
}

TEST(LevelReadFailure, MissingMetaRaisesTheContainerError) {
    CBlockFile root;
    CBlockFileRecord& level = root.GetOrAddChild(TypeCode("gfld"));
    SetLayer(level, "ug", {0, 9});
    Bytes bytes = Stream(root);
    CGameFieldBase f;
    {
        CMemBlock block;
        block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
        CMemSerializer s(block, false);
        try {
            ReadLevel(f, s);
            ADD_FAILURE() << "no exception";
        } catch (const CTBException& e) {
            EXPECT_EQ(e.GetErrorText(), "Missing record block of type 1835365473 (0x6D657461)");
        }
    }
    std::string reason;
    EXPECT_FALSE(ReadBytes(f, bytes, &reason));
    EXPECT_EQ(reason, "Missing record block of type 1835365473 (0x6D657461)");
}

TEST(LevelReadFailure, MetaShorterThan8BytesIsRefused) {
    for (uint32_t n : {0u, 4u, 7u}) {
        CBlockFile root;
        CBlockFileRecord& level = root.GetOrAddChild(TypeCode("gfld"));
        SetData(level, TypeCode("meta"), Bytes(n, 5));
        Bytes bytes = Stream(root);
        CGameFieldBase f;
        std::string reason;
        EXPECT_FALSE(ReadBytes(f, bytes, &reason)) << n;
        EXPECT_EQ(reason, "'meta' record shorter than 8 bytes");
    }
}

TEST(LevelReadFailure, HugeRecordLengthIsNotACrash) {
    std::vector<uint8_t> b = Le32(kLevelMagic, 4);
    std::vector<uint8_t> root = Le32(0, 0xFFFFFFF0);
    b.insert(b.end(), root.begin(), root.end());
    const Bytes& bytes = b;
    CGameFieldBase f;
    EXPECT_FALSE(ReadBytes(f, bytes));
}

TEST(LevelWrite, HeaderIsMagicAndVersion4) {
    CGameFieldBase f;
    f.CreateField(3, 3);
    Bytes bytes = Written(f);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12),
              (Bytes{0x3C, 0x31, 0x0A, 0xB3, 4, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(LevelWrite, SwitchLayerAtItsDefaultsIsLeftOut) {
    CGameFieldBase f;
    f.CreateField(5, 4);
    for (FieldCell& c : f.cells) {
        c.swGround = 0;
        c.swFlags = 0;
    }
    CBlockFile root;
    LoadWritten(f, root);
    EXPECT_EQ(root.type, 0u);
    ASSERT_EQ(root.ChildCount(), 1u);
    EXPECT_EQ(root.ChildAt(0).type, TypeCode("gfld"));
    EXPECT_EQ(
        ChildNames(root.ChildAt(0)),
        (std::vector<std::string>{"meta", "ug", "ob", "gi", "liv", "fl", "s_fl", "s_no", "g_fl"}));
    CMemBlock& meta = root.ChildAt(0).GetChildData(TypeCode("meta"));
    ASSERT_EQ(meta.size, 8u);
    EXPECT_EQ(std::vector<uint8_t>(meta.data, meta.data + 8), Le32(5, 4));
}

TEST(LevelWrite, EveryLayerInTheWriteOrder) {
    CGameFieldBase f = BusyField(6, 5);
    CBlockFile root;
    LoadWritten(f, root);
    ASSERT_EQ(root.ChildCount(), 1u);
    EXPECT_EQ(ChildNames(root.ChildAt(0)),
              (std::vector<std::string>{"meta", "ug",  "s_ug", "ob",   "s_ob", "o1",   "s_o1", "o2",
                                        "s_o2", "o3",  "s_o3", "o4",   "s_o4", "o5",   "s_o5", "gi",
                                        "s_gi", "liv", "fl",   "s_fl", "s_no", "g_fl", "info"}));
    CMemBlock& info = root.ChildAt(0).GetChildData(TypeCode("info"));
    std::string expected = f.description + '\0';
    EXPECT_EQ(std::string(reinterpret_cast<char*>(info.data), info.size), expected);
}

TEST(LevelWrite, LayersAreRunLengthCoded) {
    CGameFieldBase f;
    f.CreateField(300, 3);
    CBlockFile root;
    LoadWritten(f, root);
    CMemBlock& ug = root.ChildAt(0).GetChildData(TypeCode("ug"));
    // Row 0: 255 + 45 walls; row 1: a wall, 298 ground, a wall; row 2: 300 walls.
    const std::vector<uint8_t> expected = {0, 255, 0, 46, 64, 255, 64, 43, 0, 255, 0, 46};
    EXPECT_EQ(std::vector<uint8_t>(ug.data, ug.data + ug.size), expected);
}

TEST(LevelWrite, OneNonDefaultCellKeepsItsRecord) {
    CGameFieldBase f;
    f.CreateField(4, 4);
    for (FieldCell& c : f.cells)
        c.swGround = 0;
    f.CellAt(3, 3).swObjects[5] = 0;
    f.CellAt(0, 0).swGround = 1;
    CBlockFile root;
    LoadWritten(f, root);
    EXPECT_EQ(ChildNames(root.ChildAt(0)),
              (std::vector<std::string>{"meta", "ug", "s_ug", "ob", "s_o5", "gi", "liv", "fl",
                                        "s_fl", "s_no", "g_fl"}));
}

TEST(LevelWrite, FieldWithoutAValidSizeIsNotWritten) {
    CGameFieldBase f;
    CMemBlock out;
    CMemSerializer s(out, true);
    EXPECT_FALSE(WriteLevel(f, s));
    f.CreateField(4, 4);
    f.cells.pop_back();
    EXPECT_FALSE(WriteLevel(f, s));
}

TEST(LevelRoundTrip, WriteThenReadGivesTheSameField) {
    for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{{3, 3}, {17, 9}, {300, 200}}) {
        CGameFieldBase f = BusyField(w, h);
        Bytes bytes = Written(f);
        CGameFieldBase g;
        ASSERT_TRUE(ReadBytes(g, bytes));
        EXPECT_TRUE(SameCells(f, g)) << w << " x " << h;
        EXPECT_EQ(g.description, f.description);
    }
}

TEST(LevelRoundTrip, EmptyDescriptionStaysEmpty) {
    CGameFieldBase f = BusyField(5, 5);
    f.description.clear();
    Bytes bytes = Written(f);
    CGameFieldBase g;
    g.description = "alt";
    ASSERT_TRUE(ReadBytes(g, bytes));
    EXPECT_EQ(g.description, "");
    EXPECT_TRUE(SameCells(f, g));
}
