// The game field model: new fields, switching layers and the object stacks.
#include <gtest/gtest.h>

#include <cstring>

#include "field/GameField.h"

using namespace kx;

namespace {
bool SameCells(const CGameFieldBase& a, const CGameFieldBase& b) {
    return a.width == b.width && a.height == b.height && a.cells.size() == b.cells.size() &&
           std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(FieldCell)) == 0;
}

void SetSlots(uint8_t* slots, std::initializer_list<uint8_t> codes) {
    std::fill(slots, slots + kObjectSlots, kNothing);
    int i = 0;
    for (uint8_t c : codes)
        slots[i++] = c;
}

std::vector<uint8_t> Slots(const uint8_t* slots) {
    return std::vector<uint8_t>(slots, slots + kObjectSlots);
}
} // namespace

TEST(CreateField, ClampsSizesAndWallsTheBorder) {
    CGameFieldBase field;
    field.CreateField(2, 1001);
    ASSERT_EQ(field.width, 3);
    ASSERT_EQ(field.height, 1000);
    ASSERT_EQ(field.cells.size(), 3000u);
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            const FieldCell& c = field.CellAt(x, y);
            bool border = x != 1 || y == 0 || y == field.height - 1;
            ASSERT_EQ(c.ground, border ? 0 : 64) << x << "," << y;
            ASSERT_EQ(c.flags, border ? 6 : 0) << x << "," << y;
            ASSERT_EQ(c.swGround, c.ground);
            ASSERT_EQ(c.swFlags, c.flags);
            ASSERT_EQ(c.item, kNothing);
            ASSERT_EQ(c.swItem, kNothing);
            ASSERT_EQ(c.creature, kNothing);
            ASSERT_EQ(c.switchNo, kNothing);
            ASSERT_EQ(c.extraFlags, 0);
            ASSERT_EQ(Slots(c.objects), std::vector<uint8_t>(6, kNothing));
            ASSERT_EQ(Slots(c.swObjects), std::vector<uint8_t>(6, kNothing));
        }
    }
}

TEST(CreateField, ClampsNegativeAndHugeSizes) {
    CGameFieldBase field;
    field.CreateField(-7, 0);
    EXPECT_EQ(field.width, 3);
    EXPECT_EQ(field.height, 3);
    EXPECT_EQ(field.CellAt(1, 1).ground, GROUND_PLAIN);
    field.CreateField(1000, 5000);
    EXPECT_EQ(field.width, 1000);
    EXPECT_EQ(field.height, 1000);
    EXPECT_EQ(field.cells.size(), 1000000u);
}

TEST(CreateField, ReplacesAnEarlierField) {
    CGameFieldBase field;
    field.CreateField(10, 10);
    field.CellAt(4, 4).item = ITEM_CORN;
    field.CreateField(5, 6);
    EXPECT_EQ(field.cells.size(), 30u);
    for (const FieldCell& c : field.cells)
        EXPECT_EQ(c.item, kNothing);
}

class ToggleSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        field.CreateField(6, 5);
        // A switch of number 3 with a different picture in its switch layer ...
        FieldCell& sw = field.CellAt(1, 1);
        sw.switchNo = 3;
        sw.flags = FLAG_SWITCH | 0x40;
        sw.swFlags = FLAG_SWITCH;
        SetSlots(sw.objects, {OBJ_SWITCH_FIRST});
        SetSlots(sw.swObjects, {OBJ_SWITCH_FIRST + 1});
        // ... a switched wall that becomes corn on ice, with a worm standing on it ...
        FieldCell& gate = field.CellAt(3, 2);
        gate.switchNo = 3;
        gate.ground = WALL_STYLE_BLUE;
        gate.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
        gate.swGround = GROUND_ICE;
        gate.swFlags = 0;
        gate.swItem = ITEM_CORN;
        SetSlots(gate.objects, {OBJ_BLOCK_FIRST, OBJ_CACTUS});
        SetSlots(gate.swObjects, {OBJ_ARROW_UP});
        gate.creature = CREATURE_WORM_HEAD;
        gate.extraFlags = 0x5A;
        // ... and a cell of another switch that must not move.
        FieldCell& other = field.CellAt(4, 3);
        other.switchNo = 4;
        other.swGround = GROUND_WATER;
        other.swItem = ITEM_ANTI_CORN;
    }
    CGameFieldBase field;
};

TEST_F(ToggleSwitchTest, NumberNothingChangesNothing) {
    for (FieldCell& c : field.cells)
        if (c.switchNo == kNothing)
            c.swGround = GROUND_WATER; // would show if 255 were treated as a number
    CGameFieldBase before = field;
    field.ToggleSwitch(kNothing);
    EXPECT_TRUE(SameCells(field, before));
}

TEST_F(ToggleSwitchTest, ExchangesBothLayersOfItsCellsOnly) {
    CGameFieldBase before = field;
    field.ToggleSwitch(3);
    const FieldCell& gate = field.CellAt(3, 2);
    EXPECT_EQ(gate.ground, GROUND_ICE);
    EXPECT_EQ(gate.swGround, WALL_STYLE_BLUE);
    EXPECT_EQ(gate.flags, 0);
    EXPECT_EQ(gate.swFlags, FLAG_NO_WORMS | FLAG_NO_GHOSTS);
    EXPECT_EQ(gate.item, ITEM_CORN);
    EXPECT_EQ(gate.swItem, kNothing);
    EXPECT_EQ(Slots(gate.objects), Slots(before.CellAt(3, 2).swObjects));
    EXPECT_EQ(Slots(gate.swObjects), Slots(before.CellAt(3, 2).objects));
    EXPECT_EQ(gate.creature, CREATURE_WORM_HEAD);
    EXPECT_EQ(gate.switchNo, 3);
    EXPECT_EQ(gate.extraFlags, 0x5A);
    EXPECT_EQ(field.CellAt(1, 1).objects[0], OBJ_SWITCH_FIRST + 1);
    EXPECT_EQ(field.CellAt(1, 1).swFlags, FLAG_SWITCH | 0x40);
    EXPECT_EQ(std::memcmp(&field.CellAt(4, 3), &before.CellAt(4, 3), sizeof(FieldCell)), 0);
    EXPECT_EQ(std::memcmp(&field.CellAt(2, 2), &before.CellAt(2, 2), sizeof(FieldCell)), 0);
}

TEST_F(ToggleSwitchTest, TwiceRestoresEveryCellExactly) {
    CGameFieldBase before = field;
    field.ToggleSwitch(3);
    EXPECT_FALSE(SameCells(field, before));
    field.ToggleSwitch(3);
    EXPECT_TRUE(SameCells(field, before));
}

TEST_F(ToggleSwitchTest, SwitchWhoseSwitchLayerLacksTheFlagStopsBeingASwitch) {
    field.CellAt(1, 1).swFlags = 0;
    field.ToggleSwitch(3);
    EXPECT_EQ(field.CellAt(1, 1).flags & FLAG_SWITCH, 0);
    EXPECT_EQ(field.CellAt(1, 1).switchNo, 3);
}

TEST(PlaceObject, FillsTheStackFromTheFront) {
    FieldCell cell{};
    SetSlots(cell.objects, {});
    SetSlots(cell.swObjects, {});
    EXPECT_TRUE(CGameFieldBase::PlaceObject(cell, FieldLayer::Normal, OBJ_TURN_LEFT));
    EXPECT_TRUE(CGameFieldBase::PlaceObject(cell, FieldLayer::Normal, OBJ_CACTUS));
    EXPECT_EQ(Slots(cell.objects), (std::vector<uint8_t>{0, 6, 255, 255, 255, 255}));
    EXPECT_EQ(Slots(cell.swObjects), std::vector<uint8_t>(6, kNothing));
}

TEST(PlaceObject, SeventhDifferentObjectFailsAndLeavesTheStack) {
    FieldCell cell{};
    SetSlots(cell.objects, {0, 1, 2, 3, 4, 5});
    EXPECT_FALSE(CGameFieldBase::PlaceObject(cell, FieldLayer::Normal, OBJ_CACTUS));
    EXPECT_EQ(Slots(cell.objects), (std::vector<uint8_t>{0, 1, 2, 3, 4, 5}));
}

TEST(PlaceObject, PresentBottomObjectOfAFullStackMovesToTheTop) {
    FieldCell cell{};
    SetSlots(cell.objects, {10, 11, 12, 13, 14, 15});
    EXPECT_TRUE(CGameFieldBase::PlaceObject(cell, FieldLayer::Normal, 10));
    EXPECT_EQ(Slots(cell.objects), (std::vector<uint8_t>{11, 12, 13, 14, 15, 10}));
}

TEST(PlaceObject, PresentMiddleObjectMovesToTheLastUsedSlot) {
    FieldCell cell{};
    SetSlots(cell.swObjects, {20, 21, 22});
    SetSlots(cell.objects, {});
    EXPECT_TRUE(CGameFieldBase::PlaceObject(cell, FieldLayer::Switch, 21));
    EXPECT_EQ(Slots(cell.swObjects), (std::vector<uint8_t>{20, 22, 21, 255, 255, 255}));
    EXPECT_EQ(Slots(cell.objects), std::vector<uint8_t>(6, kNothing));
}

TEST(ClearObjects, ReportsWhetherTheLayerHeldAnything) {
    FieldCell cell{};
    SetSlots(cell.objects, {});
    SetSlots(cell.swObjects, {OBJ_DUCK_FIRST});
    EXPECT_FALSE(CGameFieldBase::ClearObjects(cell, FieldLayer::Normal));
    EXPECT_TRUE(CGameFieldBase::ClearObjects(cell, FieldLayer::Switch));
    EXPECT_EQ(Slots(cell.swObjects), std::vector<uint8_t>(6, kNothing));
}

TEST(HasObject, LooksAtTheNormalLayerOnly) {
    FieldCell cell{};
    SetSlots(cell.objects, {1, 2, 3, 4, 5, OBJ_CACTUS});
    SetSlots(cell.swObjects, {OBJ_DUCK_FIRST});
    EXPECT_TRUE(CGameFieldBase::HasObject(cell, OBJ_CACTUS));
    EXPECT_FALSE(CGameFieldBase::HasObject(cell, OBJ_DUCK_FIRST));
}

TEST(Directions, ReverseAndTurnsFollowTheCompass) {
    EXPECT_EQ(ReverseDirection(DIR_UP), DIR_DOWN);
    EXPECT_EQ(ReverseDirection(DIR_LEFT), DIR_RIGHT);
    EXPECT_EQ(ReverseDirection(DIR_NONE), DIR_NONE);
    const int32_t left[] = {DIR_UP, DIR_LEFT, DIR_DOWN, DIR_RIGHT, DIR_UP};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(TurnLeft(left[i]), left[i + 1]);
        EXPECT_EQ(TurnRight(left[i + 1]), left[i]);
    }
    EXPECT_EQ(TurnLeft(DIR_NONE), DIR_NONE);
    EXPECT_EQ(TurnRight(DIR_NONE), DIR_NONE);
    EXPECT_EQ(DirectionDY(DIR_UP), -1);
    EXPECT_EQ(DirectionDX(DIR_RIGHT), 1);
    EXPECT_EQ(DirectionDX(DIR_UP), 0);
}
