// The editor document: styled fields, resizing, applying entries, tools, merging, files and undo.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "EditorTestSupport.h"
#include "editor/ArchiveException.h"
#include "editor/ArchiveStore.h"
#include "editor/EditorDoc.h"
#include "field/LevelFile.h"
#include "storage/TempFolder.h"
#include "storage/TextCodec.h"

using namespace kx;
using kxtest::Entry;
using kxtest::SameField;

namespace {

constexpr int kWall0 = 0, kGround0 = 40, kNoGround = 64, kNoWormsOn = 65, kNoWormsOff = 66,
              kRemoveItem = 69, kCorn = 70, kRemoveCreature = 78, kWorm = 79, kRemoveObjects = 83,
              kCactus = 84, kTurnLeft = 85, kFence = 91, kBlock = 98, kRemoveSwitch = 143,
              kSwitch7 = 158, kSwitched7 = 159;

// A field whose every cell is told apart by its item, switch-layer item and objects.
void MarkCells(CKrawlixEditorDoc& doc) {
    for (int32_t y = 0; y < doc.height; ++y) {
        for (int32_t x = 0; x < doc.width; ++x) {
            FieldCell& c = doc.CellAt(x, y);
            c.item = static_cast<uint8_t>(y * doc.width + x);
            c.swItem = static_cast<uint8_t>(x);
            c.swObjects[0] = static_cast<uint8_t>(y);
        }
    }
    doc.SetModifiedFlag(false);
}

std::string Bytes(const CGameFieldBase& field) {
    std::ostringstream out;
    CArchiveStore store(out);
    EXPECT_TRUE(WriteLevel(field, store));
    return out.str();
}

} // namespace

TEST(StyledField, ThreeByThreeBlueHasItsCornersMiddlesAndGround) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(3, 3, "Blau");
    ASSERT_EQ(doc.width, 3);
    const int expected[3][3] = {{25, 26, 27}, {28, 64, 28}, {25, 26, 27}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(doc.CellAt(x, y).ground, expected[y][x]) << x << "," << y;
            EXPECT_EQ(doc.CellAt(x, y).flags, x == 1 && y == 1 ? 0 : 6);
        }
    }
}

TEST(StyledField, EveryStyleWallsTheBorderWithItsBase) {
    const std::pair<const char*, int> styles[] = {{"Rot", 0},      {"Gelb", 8},  {"Grün", 16},
                                                  {"Gr\xFCn", 16}, {"Blau", 24}, {"Hellblau", 32},
                                                  {"Violett", 0}};
    for (const auto& [name, b] : styles) {
        CKrawlixEditorDoc doc;
        doc.CreateStyledField(5, 6, name);
        const int rows[6][5] = {
            {b + 1, b + 2, b + 2, b + 2, b + 3}, {b + 4, 64, 64, 64, b + 4},
            {b + 5, 64, 64, 64, b + 5},          {b + 5, 64, 64, 64, b + 5},
            {b + 6, 64, 64, 64, b + 6},          {b + 1, b + 2, b + 2, b + 2, b + 3}};
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 5; ++x) {
                const FieldCell& c = doc.CellAt(x, y);
                ASSERT_EQ(c.ground, rows[y][x]) << name << " " << x << "," << y;
                ASSERT_EQ(c.swGround, 64);
                ASSERT_EQ(c.swFlags, 0);
                ASSERT_EQ(c.item, 255);
                ASSERT_EQ(c.creature, 255);
                ASSERT_EQ(c.switchNo, 255);
                ASSERT_EQ(c.objects[0], 255);
                ASSERT_EQ(c.swObjects[5], 255);
            }
        }
    }
}

TEST(StyledField, EmptyStyleHasNoGroundAndSizesAreClamped) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(2, 5000, "Leer");
    EXPECT_EQ(doc.width, 3);
    EXPECT_EQ(doc.height, 1000);
    for (const FieldCell& c : doc.cells) {
        ASSERT_EQ(c.ground, 255);
        ASSERT_EQ(c.flags, 0);
        ASSERT_EQ(c.swGround, 64);
    }
}

TEST(Resize, EveryCornerGrowingAndShrinkingKeepsTheOldCellsAtTheOppositeCorner) {
    for (int corner = 0; corner < 4; ++corner) {
        for (auto [w, h] : {std::pair{7, 8}, std::pair{3, 4}}) {
            CKrawlixEditorDoc doc;
            doc.CreateStyledField(5, 5, "Leer");
            MarkCells(doc);
            const auto old = kxtest::Copy(doc);
            doc.ResizeField(w, h, "Gelb", corner);
            ASSERT_EQ(doc.width, w);
            ASSERT_EQ(doc.height, h);
            EXPECT_TRUE(doc.IsModified()) << "a resize is protected by the ask-to-save";
            const bool left = corner == CornerTopLeft || corner == CornerBottomLeft;
            const bool top = corner == CornerTopLeft || corner == CornerTopRight;
            for (int32_t y = 0; y < h; ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    const int32_t ox = left ? x - (w - 5) : x;
                    const int32_t oy = top ? y - (h - 5) : y;
                    const FieldCell& c = doc.CellAt(x, y);
                    if (old.Contains(ox, oy)) {
                        ASSERT_EQ(std::memcmp(&c, &old.CellAt(ox, oy), sizeof c), 0)
                            << corner << " " << x << "," << y;
                    } else {
                        const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                        ASSERT_EQ(c.ground, border ? 8 + (y == 0 || y == h - 1 ? (x == 0       ? 1
                                                                                  : x == w - 1 ? 3
                                                                                               : 2)
                                                          : y == 1             ? 4
                                                          : y == h - 2         ? 6
                                                                               : 5)
                                                   : 64)
                            << corner << " " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Resize, TenByTenToTwelveByEightAtTopLeft) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(10, 10, "Rot");
    doc.CellAt(4, 9).item = ITEM_CORN;
    doc.ResizeField(12, 8, "Leer", CornerTopLeft);
    EXPECT_EQ(doc.CellAt(0, 0).ground, 255);
    EXPECT_EQ(doc.CellAt(1, 7).ground, 255);
    EXPECT_EQ(doc.CellAt(2, 7).ground, 1) << "the old bottom-left corner";
    EXPECT_EQ(doc.CellAt(6, 7).item, ITEM_CORN);
    EXPECT_EQ(doc.CellAt(2, 0).ground, 5) << "old row 2, a side wall";
}

TEST(Resize, ToTheSameSizeChangesNothing) {
    CKrawlixEditorDoc doc;
    const std::string before = Bytes(doc);
    doc.ResizeField(11, 11, "Leer", CornerBottomRight);
    EXPECT_EQ(Bytes(doc), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST(ApplyEntry, EveryKindWritesItsFieldAndFlagsAndSetsTheModifiedFlag) {
    CKrawlixEditorDoc doc;
    struct Case {
        int entry;
        FieldLayer layer;
        bool changes;
    };
    // Applied in order to cell (2, 2).
    const Case cases[] = {
        {kWall0, FieldLayer::Normal, true},          {kWall0, FieldLayer::Normal, false},
        {kGround0 + 1, FieldLayer::Normal, true},    {kNoWormsOn, FieldLayer::Normal, true},
        {kNoWormsOn, FieldLayer::Normal, false},     {kNoWormsOff, FieldLayer::Normal, true},
        {kCorn, FieldLayer::Switch, true},           {kRemoveItem, FieldLayer::Normal, false},
        {kWorm, FieldLayer::Switch, true},           {kRemoveCreature, FieldLayer::Normal, true},
        {kSwitch7, FieldLayer::Normal, true},        {kSwitched7, FieldLayer::Normal, true},
        {kRemoveSwitch, FieldLayer::Normal, true},   {kFence, FieldLayer::Switch, true},
        {kRemoveObjects, FieldLayer::Normal, false}, {kRemoveObjects, FieldLayer::Switch, true},
        {kNoGround, FieldLayer::Normal, true},
    };
    for (const Case& c : cases) {
        doc.SetModifiedFlag(false);
        EXPECT_EQ(doc.ApplyEntry(2, 2, Entry(c.entry), c.layer), c.changes) << c.entry;
        EXPECT_EQ(doc.IsModified(), c.changes) << c.entry;
        const FieldCell& cell = doc.CellAt(2, 2);
        if (c.entry == kWall0) {
            EXPECT_EQ(cell.ground, 0);
            EXPECT_EQ(cell.flags, 6);
        } else if (c.entry == kGround0 + 1) {
            EXPECT_EQ(cell.ground, 65);
            EXPECT_EQ(cell.flags, 0);
        } else if (c.entry == kNoWormsOn) {
            EXPECT_EQ(cell.flags, 2);
        } else if (c.entry == kNoWormsOff) {
            EXPECT_EQ(cell.flags, 0);
        } else if (c.entry == kCorn) {
            EXPECT_EQ(cell.swItem, 0);
            EXPECT_EQ(cell.item, 255);
        } else if (c.entry == kWorm) {
            EXPECT_EQ(cell.creature, 3) << "one creature for both layers";
        } else if (c.entry == kRemoveCreature) {
            EXPECT_EQ(cell.creature, 255);
        } else if (c.entry == kSwitch7) {
            EXPECT_EQ(cell.switchNo, 7);
            EXPECT_EQ(cell.flags & FLAG_SWITCH, 1);
        } else if (c.entry == kSwitched7) {
            EXPECT_EQ(cell.switchNo, 7);
            EXPECT_EQ(cell.flags & FLAG_SWITCH, 0);
        } else if (c.entry == kRemoveSwitch) {
            EXPECT_EQ(cell.switchNo, 255);
        } else if (c.entry == kFence) {
            EXPECT_EQ(cell.swObjects[0], 56);
            EXPECT_EQ(cell.swFlags, 4);
        } else if (c.entry == kNoGround) {
            EXPECT_EQ(cell.ground, 255);
        }
    }
    EXPECT_FALSE(doc.ApplyEntry(-1, 0, Entry(kWall0), FieldLayer::Normal));
    EXPECT_FALSE(doc.ApplyEntry(11, 0, Entry(kWall0), FieldLayer::Normal));
}

TEST(ObjectStack, TheSeventhObjectChangesNothingAndAPresentOneMovesToTheTop) {
    CKrawlixEditorDoc doc;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(doc.ApplyEntry(1, 1, Entry(kTurnLeft + i), FieldLayer::Normal));
    }
    doc.SetModifiedFlag(false);
    const std::string full = Bytes(doc);
    EXPECT_FALSE(doc.ApplyEntry(1, 1, Entry(kCactus), FieldLayer::Normal));
    EXPECT_EQ(Bytes(doc), full);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.ApplyEntry(1, 1, Entry(kTurnLeft), FieldLayer::Normal));
    const uint8_t* o = doc.CellAt(1, 1).objects;
    EXPECT_EQ(std::vector<uint8_t>(o, o + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0}));
    EXPECT_TRUE(doc.IsModified());
    // A block sets both blocking bits with its object.
    EXPECT_TRUE(doc.ApplyEntry(1, 2, Entry(kBlock), FieldLayer::Normal));
    EXPECT_EQ(doc.CellAt(1, 2).flags, 6);
}

TEST(Tools, RectanglesOutlineOrFillBetweenCornersInEitherOrder) {
    CKrawlixEditorDoc doc;
    doc.NewDocument(8, 8, "Rot");
    doc.ApplyRectangle(5, 5, 2, 1, Entry(kCorn), FieldLayer::Normal, false);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x <= 5 && y >= 1 && y <= 5;
            const bool outline = inside && (x == 2 || x == 5 || y == 1 || y == 5);
            ASSERT_EQ(doc.CellAt(x, y).item, outline ? 0 : 255) << x << "," << y;
        }
    }
    doc.ApplyRectangle(3, 2, 4, 4, Entry(kCorn + 1), FieldLayer::Normal, true);
    for (int y = 2; y <= 4; ++y) {
        for (int x = 3; x <= 4; ++x) {
            ASSERT_EQ(doc.CellAt(x, y).item, 1);
        }
    }
    EXPECT_EQ(doc.GetHistory().StepCount(), 2u) << "each rectangle is one step";
}

TEST(Tools, OneCellRectanglesApplyExactlyThatCell) {
    for (bool filled : {false, true}) {
        CKrawlixEditorDoc doc;
        const auto before = kxtest::Copy(doc);
        doc.ApplyRectangle(4, 6, 4, 6, Entry(kCorn), FieldLayer::Normal, filled);
        int changed = 0;
        for (size_t i = 0; i < doc.cells.size(); ++i) {
            changed += std::memcmp(&doc.cells[i], &before.cells[i], sizeof(FieldCell)) != 0;
        }
        EXPECT_EQ(changed, 1);
        EXPECT_EQ(doc.CellAt(4, 6).item, 0);
    }
}

TEST(Merge, RowsColumnsCrossingsAndStyles) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(12, 12, "Leer");
    auto g = [&](int x, int y) -> uint8_t& { return doc.CellAt(x, y).ground; };
    // A row and a column of three single red blocks.
    g(1, 1) = g(2, 1) = g(3, 1) = 0;
    g(6, 1) = g(6, 2) = g(6, 3) = 0;
    // A single block with a single block to its left and another above joins to the left.
    g(9, 5) = g(8, 6) = g(9, 6) = 0;
    // A red block beside a yellow one stays.
    g(1, 8) = 0;
    g(2, 8) = 8;
    // Two adjacent bars stay two bars.
    g(4, 10) = 1;
    g(5, 10) = 3;
    g(6, 10) = 1;
    g(7, 10) = 3;
    doc.SetModifiedFlag(false);
    doc.MergeLegoBlocks(FieldLayer::Normal);
    EXPECT_EQ((std::vector<int>{g(1, 1), g(2, 1), g(3, 1)}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ((std::vector<int>{g(6, 1), g(6, 2), g(6, 3)}), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ((std::vector<int>{g(8, 6), g(9, 6), g(9, 5)}), (std::vector<int>{1, 3, 0}));
    EXPECT_EQ(g(1, 8), 0);
    EXPECT_EQ(g(2, 8), 8);
    EXPECT_EQ((std::vector<int>{g(4, 10), g(5, 10), g(6, 10), g(7, 10)}),
              (std::vector<int>{1, 3, 1, 3}));
    EXPECT_TRUE(doc.IsModified()) << "a merge is protected by the ask-to-save";
}

TEST(Merge, CrossingsAndTheSwitchLayer) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(7, 7, "Leer");
    // A plus sign of green blocks: the row joins, the column's ends join the row's middle.
    for (int i = 1; i <= 5; ++i) {
        doc.CellAt(i, 3).swGround = 16;
        doc.CellAt(3, i).swGround = 16;
    }
    doc.MergeLegoBlocks(FieldLayer::Switch);
    std::vector<int> row, column;
    for (int i = 1; i <= 5; ++i) {
        row.push_back(doc.CellAt(i, 3).swGround);
        column.push_back(doc.CellAt(3, i).swGround);
    }
    EXPECT_EQ(row, (std::vector<int>{17, 18, 18, 18, 19}));
    EXPECT_EQ(column, (std::vector<int>{20, 22, 18, 20, 22}));
    EXPECT_EQ(doc.CellAt(3, 3).ground, 255) << "the normal layer is not touched";
}

TEST(Description, EditingSeesCrLfAndStoresTrimmedLf) {
    CKrawlixEditorDoc doc;
    doc.description = "a\nb\r\nc";
    EXPECT_EQ(doc.GetDescriptionForEdit(), "a\r\nb\r\nc");
    doc.SetDescriptionFromEdit("  \r\nEins\r\nZwei\r\n \t");
    EXPECT_EQ(doc.description, "Eins\nZwei");
    EXPECT_TRUE(doc.IsModified());
}

TEST(Files, SavingAndOpeningRoundTripsAndClearsTheState) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::string path = (folder / "a.kxlev").string();
    CKrawlixEditorDoc doc;
    doc.NewDocument(9, 7, "Hellblau");
    doc.ApplyEntry(3, 3, Entry(kCorn), FieldLayer::Normal);
    doc.SetDescriptionFromEdit(T("Grüße"));
    doc.SaveFile(path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    CKrawlixEditorDoc other;
    other.OpenFile(path);
    EXPECT_TRUE(SameField(other, doc));
    EXPECT_FALSE(other.CanUndo());
    EXPECT_TRUE(other.askedBefore);
    // Nothing but the level is in the folder: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(Files, AFailedOpenLeavesTheDocumentUntouched) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    CKrawlixEditorDoc doc;
    doc.ApplyEntry(5, 5, Entry(kCorn), FieldLayer::Normal);
    doc.SetPathName("kept.kxlev");
    const auto before = kxtest::Copy(doc);
    // A level of a newer version, and one cut short after its header.
    std::ofstream(folder / "bad.kxlev", std::ios::binary)
        << std::string("\x3C\x31\x0A\xB3\x05\0\0\0", 8);
    std::ofstream(folder / "cut.kxlev", std::ios::binary) << "\x3C\x31\x0A\xB3\x05";
    for (const auto& name : {"bad.kxlev", "cut.kxlev", "missing.kxlev"}) {
        try {
            doc.OpenFile((folder / name).string());
            FAIL() << name << " opened";
        } catch (const CArchiveException& e) {
            const std::string n = name;
            EXPECT_EQ(e.cause, n == "bad.kxlev"   ? CArchiveException::badSchema
                               : n == "cut.kxlev" ? CArchiveException::endOfFile
                                                  : CArchiveException::genericException);
            EXPECT_NE(e.GetMessage().find(name), std::string::npos);
        }
        EXPECT_TRUE(SameField(doc, before));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.CanUndo());
        EXPECT_EQ(doc.GetPathName(), "kept.kxlev");
    }
}

TEST(Files, ASaveThatFailsHalfwayLeavesTheOldFileUntouched) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::string path = (folder / "level.kxlev").string();
    CKrawlixEditorDoc doc;
    doc.SaveFile(path);
    const std::string old = kxtest::ReadBytes(path);
    doc.ResizeField(300, 300, "Rot", CornerBottomRight);
    for (auto& c : doc.cells) {
        c.item = static_cast<uint8_t>(&c - doc.cells.data());
    }
    // The file-size limit makes every write past 1 KiB fail with EFBIG, halfway through.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    bool raised = false;
    try {
        doc.SaveFile(path);
    } catch (const CArchiveException& e) {
        raised = e.cause == CArchiveException::genericException;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(raised);
    EXPECT_EQ(kxtest::ReadBytes(path), old);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(Files, AnOldLevelLoadsFromTheFrontEndsStreamWithItsDescriptionAndStoresAsVersion4) {
    std::ifstream in(KX_TEST_DATA_DIR "/levels/legacy_v2.kxlev", std::ios::binary);
    ASSERT_TRUE(in);
    CKrawlixEditorDoc doc;
    CArchiveStore store(in);
    doc.LoadDocument(store);
    EXPECT_EQ(doc.width, 7);
    EXPECT_EQ(doc.height, 5);
    EXPECT_EQ(doc.description, T("Alte Ebene, Version 2.\nFrüher war alles grün."));
    std::ostringstream out;
    CArchiveStore sink(out);
    doc.StoreDocument(sink);
    const std::string bytes = out.str();
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x3C\x31\x0A\xB3\x04\0\0\0", 8));
    std::istringstream back(bytes);
    CArchiveStore again(back);
    CKrawlixEditorDoc reloaded;
    reloaded.LoadDocument(again);
    EXPECT_TRUE(SameField(reloaded, doc));
    // A stream that only reads cannot be written to: the store fails as a generic error.
    std::istringstream readOnly("x");
    CArchiveStore wrongWay(readOnly);
    try {
        doc.StoreDocument(wrongWay);
        FAIL() << "stored";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.cause, CArchiveException::genericException);
    }
}
