// DrawCells: which cells are drawn, where, in which order, and what shows on the surface.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fielddraw/DrawCells.h"
#include "graphics/ImageList24.h"
#include "storage/MemSerializer.h"

using kx::CGameFieldBase;
using kx::FieldCell;

namespace {

struct Call {
    char sheet;
    int x, y, index;
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& c) {
    return out << c.sheet << "(" << c.x << "," << c.y << " #" << c.index << ")";
}

// A sheet that only records what it is asked to draw.
class RecordingSheet : public kx::IImageList24 {
public:
    RecordingSheet(char name, std::vector<Call>& calls) : name(name), calls(calls) {}
    int32_t GetCount() const override { return 256; }
    void DrawCell(kx::CDrawDevice24&, int32_t x, int32_t y, int32_t index) const override {
        calls.push_back({name, x, y, index});
    }
    void DrawCellOpaque(kx::CDrawDevice24&, int32_t x, int32_t y, int32_t index) const override {
        calls.push_back({static_cast<char>(name - 32), x, y, index});
    }
    bool IsTransparentAt(int32_t, int32_t, int32_t) const override { return true; }
    kx::CellSize GetCellSize() const override { return {32, 32}; }
    kx::Colour GetTransparentColour() const override { return kx::kNoTransparentColour; }

private:
    char name;
    std::vector<Call>& calls;
};

void EmptyCell(FieldCell& c) {
    std::memset(&c, kx::kNothing, sizeof c);
    c.flags = 0;
    c.swFlags = 0;
}

// A field whose cells hold only ground 64.
CGameFieldBase PlainField(int w, int h) {
    CGameFieldBase field;
    field.CreateField(w, h);
    for (FieldCell& c : field.cells) {
        EmptyCell(c);
        c.ground = kx::GROUND_PLAIN;
    }
    return field;
}

class DrawCellsCalls : public testing::Test {
protected:
    std::vector<Call> Draw(const CGameFieldBase& field, int w, int h, int ox, int oy) {
        calls.clear();
        kx::CDrawDevice24 surface;
        surface.Create(w, h);
        kx::DrawCells(field, surface, full, trans, ox, oy);
        return calls;
    }
    std::vector<Call> calls;
    RecordingSheet full{'f', calls};
    RecordingSheet trans{'t', calls};
};

} // namespace

TEST_F(DrawCellsCalls, EachCellDrawsGroundObjectsItemCreatureInThatOrder) {
    CGameFieldBase field = PlainField(3, 3);
    FieldCell& c = field.CellAt(1, 0);
    c.objects[0] = kx::OBJ_TURN_LEFT;
    c.objects[1] = kx::OBJ_FENCE_FIRST;
    c.objects[4] = kx::OBJ_CACTUS; // a gap in the stack is skipped, later slots still drawn
    c.item = kx::ITEM_CORN;
    c.creature = kx::CREATURE_WORM_BODY;
    const auto drawn = Draw(field, 64, 32, 32, 0);
    const std::vector<Call> expected = {{'f', 0, 0, 64}, {'t', 0, 0, 0},   {'t', 0, 0, 56},
                                        {'t', 0, 0, 6},  {'t', 0, 0, 128}, {'t', 0, 0, 146},
                                        {'f', 32, 0, 64}};
    EXPECT_EQ(drawn, expected);
}

TEST_F(DrawCellsCalls, CodesOfNothingAndTheSwitchLayerAreNotDrawn) {
    CGameFieldBase field = PlainField(3, 3);
    for (FieldCell& c : field.cells) {
        c.ground = kx::kNothing;
        c.swGround = 70;
        c.swObjects[0] = 3;
        c.swItem = 2;
        c.flags = kx::FLAG_SWITCH | kx::FLAG_NO_WORMS;
        c.switchNo = 1;
    }
    field.CellAt(2, 2).creature = kx::CREATURE_WORM_DEATH_FIRST;
    const auto drawn = Draw(field, 96, 96, 0, 0);
    const std::vector<Call> expected = {{'t', 64, 64, 200}};
    EXPECT_EQ(drawn, expected);
}

TEST_F(DrawCellsCalls, CreatureCodesMapOntoTheirSprites) {
    CGameFieldBase field = PlainField(3, 3);
    field.CellAt(0, 0).creature = kx::CREATURE_GHOST;
    field.CellAt(1, 0).creature = kx::CREATURE_WORM_CURRENT;
    field.CellAt(2, 0).creature = kx::CREATURE_WORM_DROWN_LAST;
    field.CellAt(0, 1).creature = kx::CREATURE_GHOST_DEATH_LAST;
    field.CellAt(1, 1).item = kx::ITEM_GHOST_LARVA;
    std::vector<int> sprites;
    for (const Call& c : Draw(field, 96, 96, 0, 0)) {
        if (c.sheet == 't') {
            sprites.push_back(c.index);
        }
    }
    EXPECT_EQ(sprites, (std::vector<int>{144, 149, 229, 247, 135}));
}

TEST_F(DrawCellsCalls, OnlyCellsOnTheSurfaceAreDrawnAtTheirOffsetPositions) {
    CGameFieldBase field = PlainField(10, 10);
    // Columns 1..4 (x = -1 .. 95) and rows 0..3 (y = -31 .. 65) touch a 100 x 70 surface.
    const auto drawn = Draw(field, 100, 70, 33, 31);
    ASSERT_EQ(drawn.size(), 16u);
    EXPECT_EQ(drawn.front(), (Call{'f', -1, -31, 64}));
    EXPECT_EQ(drawn.back(), (Call{'f', 95, 65, 64}));
    for (const Call& c : drawn) {
        EXPECT_GT(c.x, -32);
        EXPECT_LT(c.x, 100);
        EXPECT_GT(c.y, -32);
        EXPECT_LT(c.y, 70);
    }
    EXPECT_EQ(Draw(field, 100, 70, 0, 0).size(), 4u * 3u);
    EXPECT_EQ(Draw(field, 100, 70, 1, 1).size(), 4u * 3u);
    EXPECT_EQ(Draw(field, 100, 70, 29, 0).size(), 5u * 3u); // 29 .. 128 touches five columns
}

TEST_F(DrawCellsCalls, NegativeOffsetsPutTheFieldInsideTheSurface) {
    CGameFieldBase field = PlainField(3, 3);
    const auto drawn = Draw(field, 200, 200, -40, -50);
    ASSERT_EQ(drawn.size(), 9u);
    EXPECT_EQ(drawn.front(), (Call{'f', 40, 50, 64}));
    EXPECT_EQ(drawn.back(), (Call{'f', 104, 114, 64}));
    const auto partly = Draw(field, 100, 70, -40, -40);
    const std::vector<Call> expected = {{'f', 40, 40, 64}, {'f', 72, 40, 64}};
    EXPECT_EQ(partly, expected);
}

TEST_F(DrawCellsCalls, NothingOutsideTheField) {
    CGameFieldBase field = PlainField(10, 10);
    EXPECT_TRUE(Draw(field, 100, 100, 320, 0).empty());
    EXPECT_TRUE(Draw(field, 100, 100, 0, 320).empty());
    EXPECT_TRUE(Draw(field, 100, 100, -100, 0).empty());
    EXPECT_TRUE(Draw(field, 100, 100, -2000000000, 2000000000).empty());
    EXPECT_EQ(Draw(field, 100, 100, 319 - 99, 0).size(), 4u * 4u);
}

TEST_F(DrawCellsCalls, CostDependsOnTheSurfaceNotTheField) {
    CGameFieldBase big = PlainField(1000, 1000);
    EXPECT_EQ(Draw(big, 650, 650, 0, 0).size(), 21u * 21u);
    EXPECT_EQ(Draw(big, 650, 650, 31968 - 650, 31968 - 650).size(), 21u * 21u);
}

namespace {

constexpr kx::Colour kKey = 0xFF00FF;
constexpr kx::Colour kBackground = 0x0000FF;

kx::Colour GroundColour(int index) {
    return 0x100000u + static_cast<kx::Colour>(index);
}
kx::Colour SpriteColour(int index) {
    return 0x200000u + static_cast<kx::Colour>(index);
}

// A sheet of 16 columns of 32 x 32 cells; colour(index, x, y) paints each cell.
void LoadSheet(kx::CImageList24& sheet, int rows, kx::Colour key,
               kx::Colour (*colour)(int index, int x, int y)) {
    kx::CBitmap24 picture;
    ASSERT_TRUE(picture.CreateBitmap(16 * 32, rows * 32, 0));
    for (int y = 0; y < picture.GetHeight(); ++y) {
        uint8_t* row = picture.RowFromTop(y);
        for (int x = 0; x < picture.GetWidth(); ++x) {
            const kx::Colour c = colour((y / 32) * 16 + x / 32, x % 32, y % 32);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    const std::vector<uint8_t> bytes = kx::EncodeBmp(picture);
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    kx::CMemSerializer store(block, false);
    ASSERT_TRUE(sheet.LoadSheet(store, 32, 32, key));
}

} // namespace

TEST(DrawCellsPixels, GroundCoversItsCellAndSpritesLeaveTheirKeyOut) {
    kx::CImageList24 full;
    kx::CImageList24 trans;
    LoadSheet(full, 6, kx::kNoTransparentColour,
              [](int index, int, int) { return GroundColour(index); });
    // Sprites ink their top-left 8 x 8 pixels; objects 56 and up their top row instead.
    LoadSheet(trans, 10, kKey, [](int index, int x, int y) {
        const bool inked = index >= 56 && index < 128 ? y == 0 : (x < 8 && y < 8);
        return inked ? SpriteColour(index) : kKey;
    });
    CGameFieldBase field = PlainField(3, 3);
    field.CellAt(1, 0).ground = kx::kNothing;
    field.CellAt(1, 0).objects[0] = kx::OBJ_CACTUS;
    field.CellAt(2, 0).objects[0] = kx::OBJ_TURN_RIGHT;
    field.CellAt(2, 0).objects[1] = kx::OBJ_FENCE_FIRST;
    field.CellAt(0, 1).creature = kx::CREATURE_WORM_BODY;
    field.CellAt(0, 1).item = kx::ITEM_CORN;

    kx::CDrawDevice24 surface;
    surface.Create(100, 70);
    surface.Clear(kBackground);
    kx::DrawCells(field, surface, full, trans, -2, 0);

    EXPECT_EQ(surface.GetPixel(0, 0), kBackground); // left of the field
    EXPECT_EQ(surface.GetPixel(2, 0), GroundColour(64));
    EXPECT_EQ(surface.GetPixel(33, 31), GroundColour(64));
    // No ground: the background shows around the cactus.
    EXPECT_EQ(surface.GetPixel(34, 0), SpriteColour(6));
    EXPECT_EQ(surface.GetPixel(34 + 8, 0), kBackground);
    EXPECT_EQ(surface.GetPixel(65, 31), kBackground);
    // The fence placed last lies over the turn where both have ink.
    EXPECT_EQ(surface.GetPixel(66, 0), SpriteColour(56));
    EXPECT_EQ(surface.GetPixel(66, 1), SpriteColour(1));
    EXPECT_EQ(surface.GetPixel(66 + 8, 0), SpriteColour(56));
    EXPECT_EQ(surface.GetPixel(66 + 8, 1), GroundColour(64));
    // The creature lies over the item.
    EXPECT_EQ(surface.GetPixel(2, 32), SpriteColour(146));
    EXPECT_EQ(surface.GetPixel(2, 32 + 8), GroundColour(64));
    EXPECT_EQ(surface.GetPixel(97, 69), GroundColour(64));
    EXPECT_EQ(surface.GetPixel(98, 69), kBackground); // right of the field
}
