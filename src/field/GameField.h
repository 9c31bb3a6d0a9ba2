// CGameFieldBase, the grid of cells that both programs share, with its codes and directions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

// In every code field 255 means "nothing".
inline constexpr uint8_t kNothing = 255;

// Passability and switch bits, the same in flags and swFlags. Bits 3 to 7 carry no meaning.
inline constexpr uint8_t FLAG_SWITCH = 1;
inline constexpr uint8_t FLAG_NO_WORMS = 2;
inline constexpr uint8_t FLAG_NO_GHOSTS = 4;

// Directions of worms, ghosts, arrows and the cursor keys.
enum Direction : int32_t { DIR_NONE = 0, DIR_UP = 1, DIR_DOWN = 2, DIR_LEFT = 3, DIR_RIGHT = 4 };
int32_t ReverseDirection(int32_t d);
int32_t TurnLeft(int32_t d);
int32_t TurnRight(int32_t d);
// Column and row steps of a direction (0, 0 for none).
int32_t DirectionDX(int32_t d);
int32_t DirectionDY(int32_t d);

// Ground codes.
inline constexpr uint8_t GROUND_WALL_FIRST = 0; // walls 0..39: style base + piece
inline constexpr uint8_t GROUND_WALL_LAST = 39;
inline constexpr uint8_t WALL_STYLE_RED = 0;
inline constexpr uint8_t WALL_STYLE_YELLOW = 8;
inline constexpr uint8_t WALL_STYLE_GREEN = 16;
inline constexpr uint8_t WALL_STYLE_BLUE = 24;
inline constexpr uint8_t WALL_STYLE_LIGHTBLUE = 32;
inline constexpr uint8_t WALL_PIECE_SINGLE = 0;
inline constexpr uint8_t WALL_PIECE_LEFT_END = 1;
inline constexpr uint8_t WALL_PIECE_HMIDDLE = 2;
inline constexpr uint8_t WALL_PIECE_RIGHT_END = 3;
inline constexpr uint8_t WALL_PIECE_TOP_END = 4;
inline constexpr uint8_t WALL_PIECE_VMIDDLE = 5;
inline constexpr uint8_t WALL_PIECE_BOTTOM_END = 6;
inline constexpr uint8_t WALL_PIECE_SPARE = 7;
inline constexpr uint8_t GROUND_KIND_FIRST = 64; // ground kinds 64..87
inline constexpr uint8_t GROUND_KIND_LAST = 87;
inline constexpr uint8_t GROUND_PLAIN = 64;
inline constexpr uint8_t GROUND_WATER = 65;
inline constexpr uint8_t GROUND_ICE = 66;

// Object codes.
inline constexpr uint8_t OBJ_TURN_LEFT = 0;
inline constexpr uint8_t OBJ_TURN_RIGHT = 1;
inline constexpr uint8_t OBJ_ARROW_LEFT = 2;
inline constexpr uint8_t OBJ_ARROW_RIGHT = 3;
inline constexpr uint8_t OBJ_ARROW_UP = 4;
inline constexpr uint8_t OBJ_ARROW_DOWN = 5;
inline constexpr uint8_t OBJ_CACTUS = 6;
inline constexpr uint8_t OBJ_BLOCK_FIRST = 16; // blocks 16..25
inline constexpr uint8_t OBJ_BLOCK_LAST = 25;
inline constexpr uint8_t OBJ_SWITCH_FIRST = 32; // switch pictures 32..52
inline constexpr uint8_t OBJ_SWITCH_LAST = 52;
inline constexpr uint8_t OBJ_FENCE_FIRST = 56; // ghost fences 56..59
inline constexpr uint8_t OBJ_FENCE_LAST = 59;
inline constexpr uint8_t OBJ_FENCE_OFF_FIRST = 60; // switched-off fences 60..62
inline constexpr uint8_t OBJ_FENCE_OFF_LAST = 62;
inline constexpr uint8_t OBJ_BORDER_FIRST = 64; // 64 + 4 * set + side
inline constexpr uint8_t OBJ_BORDER_LAST = 75;
inline constexpr uint8_t OBJ_DUCK_FIRST = 120;
inline constexpr uint8_t OBJ_DUCK_LAST = 121;

// Item codes.
inline constexpr uint8_t ITEM_CORN = 0;
inline constexpr uint8_t ITEM_ANTI_CORN = 1;
inline constexpr uint8_t ITEM_WORM_FASTER = 2;
inline constexpr uint8_t ITEM_WORM_SLOWER = 3;
inline constexpr uint8_t ITEM_GHOSTS_FASTER = 4;
inline constexpr uint8_t ITEM_GHOSTS_SLOWER = 5;
inline constexpr uint8_t ITEM_GHOST_KILLER = 6;
inline constexpr uint8_t ITEM_GHOST_LARVA = 7;

// Creature codes.
inline constexpr uint8_t CREATURE_GHOST = 0;
inline constexpr uint8_t CREATURE_GHOST_MARKED = 1;
inline constexpr uint8_t CREATURE_WORM_BODY = 2;
inline constexpr uint8_t CREATURE_WORM_HEAD = 3;
inline constexpr uint8_t CREATURE_WORM_LEAVING = 4;
inline constexpr uint8_t CREATURE_WORM_CURRENT = 5;
inline constexpr uint8_t CREATURE_WORM_DEATH_FIRST = 56; // 56..65
inline constexpr uint8_t CREATURE_WORM_DEATH_LAST = 65;
inline constexpr uint8_t CREATURE_WORM_DROWN_FIRST = 66; // 66..85
inline constexpr uint8_t CREATURE_WORM_DROWN_LAST = 85;
inline constexpr uint8_t CREATURE_GHOST_DEATH_FIRST = 88; // 88..103
inline constexpr uint8_t CREATURE_GHOST_DEATH_LAST = 103;

inline constexpr int kObjectSlots = 6;
inline constexpr int32_t kMinFieldSize = 3;
inline constexpr int32_t kMaxFieldSize = 1000;

// 21 one-byte fields in this order; the level file stores each in a record of its own.
struct FieldCell {
    uint8_t ground;
    uint8_t objects[kObjectSlots];
    uint8_t item;
    uint8_t creature;
    uint8_t flags;
    uint8_t swGround;
    uint8_t swObjects[kObjectSlots];
    uint8_t swItem;
    uint8_t swFlags;
    uint8_t switchNo;
    uint8_t extraFlags;

    bool operator==(const FieldCell&) const = default;
};
static_assert(sizeof(FieldCell) == 21);

// The layer a placing operation works on.
enum class FieldLayer { Normal, Switch };

class CGameFieldBase {
public:
    // Clamps each size to 3..1000 and fills a walled field of plain ground.
    void CreateField(int32_t width, int32_t height);

    FieldCell& CellAt(int32_t x, int32_t y) { return cells[static_cast<size_t>(y) * width + x]; }
    const FieldCell& CellAt(int32_t x, int32_t y) const {
        return cells[static_cast<size_t>(y) * width + x];
    }
    bool Contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }

    // Exchanges both layers of every cell with that switch number; 255 does nothing.
    void ToggleSwitch(uint8_t number);
    static bool HasObject(const FieldCell& cell, uint8_t code);
    // Keeps the layer's slots a stack packed to the front; false when it is full.
    static bool PlaceObject(FieldCell& cell, FieldLayer layer, uint8_t code);
    static bool ClearObjects(FieldCell& cell, FieldLayer layer);

    const std::string& GetDescription() const { return description; }

    std::string description; // Windows-1252
    int32_t width = 0;
    int32_t height = 0;
    std::vector<FieldCell> cells;

    bool operator==(const CGameFieldBase&) const = default;
};

} // namespace kx
