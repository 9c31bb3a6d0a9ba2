// The level stream: the legacy raw formats 0 to 3 and the record tree of version 4.
#include "field/LevelFile.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "storage/BlockFile.h"
#include "storage/ByteOrder.h"
#include "storage/Error.h"
#include "storage/MemBlock.h"

namespace kx {

namespace {

// One layer record of 'gfld': which byte of FieldCell it holds, its default when absent,
// and whether the writer leaves it out when every cell holds that default.
struct LayerRecord {
    uint32_t type;
    size_t offset;
    uint8_t defaultValue;
    bool skipWhenDefault;
};

constexpr size_t kCellBytes = sizeof(FieldCell);
// Cells per step when layers are split out of or merged into the cells (42 KB of cells).
constexpr size_t kBlockCells = 2048;
constexpr size_t kObjectsAt = offsetof(FieldCell, objects);
constexpr size_t kSwObjectsAt = offsetof(FieldCell, swObjects);

// In the order the writer emits them; readers find records by type.
constexpr LayerRecord kLayers[] = {
    {TypeCode("ug"), offsetof(FieldCell, ground), 0, false},
    {TypeCode("s_ug"), offsetof(FieldCell, swGround), 0, true},
    {TypeCode("ob"), kObjectsAt + 0, kNothing, false},
    {TypeCode("s_ob"), kSwObjectsAt + 0, kNothing, true},
    {TypeCode("o1"), kObjectsAt + 1, kNothing, true},
    {TypeCode("s_o1"), kSwObjectsAt + 1, kNothing, true},
    {TypeCode("o2"), kObjectsAt + 2, kNothing, true},
    {TypeCode("s_o2"), kSwObjectsAt + 2, kNothing, true},
    {TypeCode("o3"), kObjectsAt + 3, kNothing, true},
    {TypeCode("s_o3"), kSwObjectsAt + 3, kNothing, true},
    {TypeCode("o4"), kObjectsAt + 4, kNothing, true},
    {TypeCode("s_o4"), kSwObjectsAt + 4, kNothing, true},
    {TypeCode("o5"), kObjectsAt + 5, kNothing, true},
    {TypeCode("s_o5"), kSwObjectsAt + 5, kNothing, true},
    {TypeCode("gi"), offsetof(FieldCell, item), kNothing, false},
    {TypeCode("s_gi"), offsetof(FieldCell, swItem), kNothing, true},
    {TypeCode("liv"), offsetof(FieldCell, creature), kNothing, false},
    {TypeCode("fl"), offsetof(FieldCell, flags), kNothing, false},
    {TypeCode("s_fl"), offsetof(FieldCell, swFlags), kNothing, false},
    {TypeCode("s_no"), offsetof(FieldCell, switchNo), kNothing, false},
    {TypeCode("g_fl"), offsetof(FieldCell, extraFlags), kNothing, false},
};

constexpr uint32_t kTypeField = TypeCode("gfld");
constexpr uint32_t kTypeMeta = TypeCode("meta");
constexpr uint32_t kTypeInfo = TypeCode("info");

// 3..1000, tested as the unsigned difference so that negative sizes fail too.
bool SizeInRange(uint32_t size) {
    return size - static_cast<uint32_t>(kMinFieldSize) <=
           static_cast<uint32_t>(kMaxFieldSize - kMinFieldSize);
}

// Whether a stream that can tell its length holds at least n more bytes.
bool CanHold(const IStore& store, uint64_t n) {
    uint64_t left = store.BytesLeft();
    return left == IStore::kUnknownLength || left >= n;
}

// Reads a layer's (value, count) pairs as the container's run-length decoder does: a count
// of 0 means 256, and once the pairs run out every further byte is 0.
class RunCursor {
public:
    RunCursor() = default;
    explicit RunCursor(const CMemBlock& data) : pairs(data.data), pairsLeft(data.size / 2) {}
    static RunCursor Constant(uint8_t value) {
        RunCursor c;
        c.value = value;
        c.constant = true;
        return c;
    }

    void Take(uint8_t* out, size_t n) {
        while (n > 0) {
            if (runLeft == 0 && !NextRun()) {
                std::memset(out, value, n);
                return;
            }
            size_t part = std::min<size_t>(n, runLeft);
            std::memset(out, value, part);
            out += part;
            n -= part;
            runLeft -= static_cast<uint32_t>(part);
        }
    }

private:
    // False when no pair is left; value then holds what every further byte is.
    bool NextRun() {
        if (constant)
            return false;
        if (pairsLeft == 0) {
            value = 0;
            return false;
        }
        value = pairs[0];
        runLeft = pairs[1] == 0 ? 256u : pairs[1];
        pairs += 2;
        --pairsLeft;
        return true;
    }

    const uint8_t* pairs = nullptr;
    uint32_t pairsLeft = 0;
    uint32_t runLeft = 0;
    uint8_t value = 0;
    bool constant = false;
};

// The level being read; committed into the field only when the whole stream was good.
struct LevelReader {
    LevelReader(IStore& store, std::string* reason) : store(store), reason(reason) {}

    IStore& store;
    std::string* reason;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<FieldCell> cells;
    std::string description;
    bool cutShort = false;

    bool Fail(const char* text) {
        if (reason)
            *reason = text;
        return false;
    }
    size_t CellCount() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }

    bool ReadVersion4();
    bool ReadLegacy(uint32_t version);
};

bool LevelReader::ReadVersion4() {
    CBlockFile root;
    // A tree cut short is used as far as it was read; callers may warn about it.
    cutShort = !root.Load(store);
    CBlockFileRecord* level = root.FindChild(kTypeField);
    if (!level)
        return Fail("no 'gfld' record");
    const CMemBlock& meta = level->GetChildData(kTypeMeta);
    if (meta.size < 8)
        return Fail("'meta' record shorter than 8 bytes");
    uint32_t w = LoadU32LE(meta.data);
    uint32_t h = LoadU32LE(meta.data + 4);
    if (!SizeInRange(w) || !SizeInRange(h))
        return Fail("field size outside 3..1000");
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    const size_t n = CellCount();
    cells.assign(n, FieldCell{});

    // The layers are decoded side by side, a block of cells at a time, and merged into
    // the cells while the block is in the cache: decoding each layer whole and writing it
    // into the 21 MB of cells costs a pass over all cells per layer.
    RunCursor layers[kCellBytes];
    for (const LayerRecord& layer : kLayers) {
        if (const CBlockFileRecord* record = level->FindChild(layer.type))
            layers[layer.offset] = RunCursor(record->data);
        else
            layers[layer.offset] = RunCursor::Constant(layer.defaultValue);
    }
    uint8_t block[kCellBytes][kBlockCells];
    uint8_t* out = reinterpret_cast<uint8_t*>(cells.data());
    for (size_t first = 0; first < n; first += kBlockCells) {
        const size_t count = std::min(n - first, kBlockCells);
        for (size_t k = 0; k < kCellBytes; ++k)
            layers[k].Take(block[k], count);
        for (size_t k = 0; k < kCellBytes; ++k)
            for (size_t i = 0; i < count; ++i)
                out[(first + i) * kCellBytes + k] = block[k][i];
    }

    if (const CBlockFileRecord* info = level->FindChild(kTypeInfo); info && info->data.size) {
        const char* text = reinterpret_cast<const char*>(info->data.data);
        const void* zero = std::memchr(text, 0, info->data.size);
        size_t length =
            zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : info->data.size;
        description.assign(text, length);
    }
    return true;
}

// A legacy cell after widening 13-byte cells to 15 bytes.
struct LegacyCell {
    uint16_t ground, object, item, creature, swGround, swObject, swItem;
    uint8_t switchByte;
};

uint16_t GroundShift(uint16_t g) {
    return g >= 32 ? static_cast<uint16_t>(g + 96) : g;
}

uint8_t GroundCode(uint16_t v) {
    if (v >= 65534)
        return kNothing;
    if (v < 128)
        return static_cast<uint8_t>(v);
    return static_cast<uint8_t>(v - 64);
}

uint8_t ObjectCode(uint16_t v) {
    if (v == 0xFFFF)
        return kNothing;
    if (v == 0x8006)
        return OBJ_CACTUS;
    if (v >= 0x8010 && v <= 0x8015)
        return static_cast<uint8_t>(v - 0x8010);
    if (v >= 0x8068 && v <= 0x806B)
        return static_cast<uint8_t>(v - 0x8068 + 56);
    if (v >= 0x8090 && v <= 0x8092)
        return static_cast<uint8_t>(v - 0x8090 + 60);
    if (v >= 0x8070 && v <= 0x808F)
        return static_cast<uint8_t>(v - 0x8060);
    return static_cast<uint8_t>(v);
}

uint8_t ItemCode(uint16_t v) {
    if (v == 0xFFFF)
        return kNothing;
    if (v == 0x8004)
        return ITEM_CORN;
    if (v == 0x8005)
        return ITEM_ANTI_CORN;
    if (v >= 0x8008 && v <= 0x800D)
        return static_cast<uint8_t>(v - 0x8008 + 2);
    return static_cast<uint8_t>(v);
}

uint8_t CreatureCode(uint16_t v) {
    if (v == 0xFFFF)
        return kNothing;
    if (v >= 0x8000 && v <= 0x8003)
        return static_cast<uint8_t>(v - 0x8000);
    if (v == 0x8007)
        return CREATURE_WORM_LEAVING;
    if (v == 0x800E)
        return CREATURE_WORM_CURRENT;
    return static_cast<uint8_t>(v);
}

bool InRange(uint16_t v, uint16_t first, uint16_t count) {
    return v >= first && v - first < count;
}

// The old files kept passability in the ground and object codes.
uint8_t LegacyFlags(uint16_t ground, uint16_t object) {
    uint8_t s = InRange(object, 0x8020, 32) ? FLAG_SWITCH : 0;
    if (ground < 128 || ground >= 65534)
        return static_cast<uint8_t>(6 + s);
    if (InRange(object, 0x8070, 16))
        return static_cast<uint8_t>(6 + s);
    if (InRange(object, 0x8068, 8))
        return static_cast<uint8_t>(4 + s);
    if (InRange(object, 0x8060, 8))
        return static_cast<uint8_t>(2 + s);
    return s;
}

FieldCell ConvertLegacyCell(const LegacyCell& c) {
    FieldCell cell;
    std::fill(std::begin(cell.objects), std::end(cell.objects), kNothing);
    std::fill(std::begin(cell.swObjects), std::end(cell.swObjects), kNothing);
    cell.ground = GroundCode(c.ground);
    cell.swGround = GroundCode(c.swGround);
    cell.objects[0] = ObjectCode(c.object);
    cell.swObjects[0] = ObjectCode(c.swObject);
    cell.item = ItemCode(c.item);
    cell.swItem = ItemCode(c.swItem);
    cell.creature = CreatureCode(c.creature);
    cell.flags = LegacyFlags(c.ground, c.object);
    cell.swFlags = LegacyFlags(c.swGround, c.swObject);
    cell.switchNo =
        c.switchByte >= 1 && c.switchByte <= 50 ? static_cast<uint8_t>(c.switchByte - 1) : kNothing;
    cell.extraFlags = 0;
    return cell;
}

bool LevelReader::ReadLegacy(uint32_t version) {
    uint32_t w = 0;
    if (!ReadU32(store, w))
        return Fail("file too short");
    if (!SizeInRange(w))
        return Fail("field size outside 3..1000");
    uint32_t h = 0;
    if (!ReadU32(store, h))
        return Fail("file too short");
    if (!SizeInRange(h))
        return Fail("field size outside 3..1000");
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);

    const size_t n = CellCount();
    const size_t cellBytes = version >= 2 ? 15 : 13;
    const size_t total = n * cellBytes; // at most 15 000 000
    if (!CanHold(store, total))
        return Fail("file too short");
    std::vector<uint8_t> raw(total);
    if (!store.Read(raw.data(), static_cast<uint32_t>(total)))
        return Fail("file too short");

    cells.resize(n);
    const bool shift = version <= 2;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = raw.data() + i * cellBytes;
        auto u16 = [p](size_t at) { return LoadU16LE(p + at); };
        LegacyCell c{u16(0), u16(2), u16(4), u16(6), 64, 0xFFFF, 0xFFFF, 255};
        if (cellBytes == 15) {
            c.swGround = u16(8);
            c.swObject = u16(10);
            c.swItem = u16(12);
            c.switchByte = p[14];
        }
        if (shift) {
            c.ground = GroundShift(c.ground);
            c.swGround = GroundShift(c.swGround);
        }
        cells[i] = ConvertLegacyCell(c);
    }

    if (version >= 1) {
        uint32_t length = 0;
        if (!ReadU32(store, length) || !CanHold(store, length))
            return Fail("file too short");
        // In pieces, so that a stream that cannot tell its length never makes a huge buffer.
        constexpr uint32_t kPiece = 65536;
        while (length > 0) {
            uint32_t part = std::min(length, kPiece);
            size_t at = description.size();
            description.resize(at + part);
            if (!store.Read(description.data() + at, part))
                return Fail("file too short");
            length -= part;
        }
    }
    return true;
}

bool ReadLevelWithReason(CGameFieldBase& field, IStore& store, std::string* reason,
                         uint32_t* versionRead, bool* cutShort) {
    field.description.clear();
    LevelReader reader{store, reason};
    uint32_t magic = 0;
    if (!ReadU32(store, magic) || magic != kLevelMagic)
        return reader.Fail("not a level file");
    uint32_t version = 0;
    if (!ReadU32(store, version))
        return reader.Fail("file too short");
    if (versionRead)
        *versionRead = version;
    if (version > kLevelVersion)
        return reader.Fail(("unknown level version " + std::to_string(version)).c_str());
    bool ok = version == 4 ? reader.ReadVersion4() : reader.ReadLegacy(version);
    if (!ok)
        return false;
    field.width = reader.width;
    field.height = reader.height;
    field.cells = std::move(reader.cells);
    field.description = std::move(reader.description);
    if (cutShort)
        *cutShort = reader.cutShort;
    return true;
}

} // namespace

bool ReadLevel(CGameFieldBase& field, IStore& store) {
    return ReadLevelWithReason(field, store, nullptr, nullptr, nullptr);
}

bool ReadLevelNoThrow(CGameFieldBase& field, IStore& store, std::string* reason, uint32_t* version,
                      bool* cutShort) {
    try {
        return ReadLevelWithReason(field, store, reason, version, cutShort);
    } catch (const CTBException& e) {
        if (reason)
            *reason = e.GetErrorText();
    } catch (const std::bad_alloc&) {
        if (reason)
            *reason = "out of memory";
    }
    return false;
}

bool WriteLevel(const CGameFieldBase& field, IStore& store) {
    const size_t n = static_cast<size_t>(field.width) * static_cast<size_t>(field.height);
    // A field without a playable size would make a file that no reader accepts.
    if (!SizeInRange(static_cast<uint32_t>(field.width)) ||
        !SizeInRange(static_cast<uint32_t>(field.height)) || field.cells.size() != n)
        return false;
    if (!WriteU32(store, kLevelMagic) || !WriteU32(store, kLevelVersion))
        return false;

    CBlockFile root;
    root.type = 0;
    CBlockFileRecord& level = root.GetOrAddChild(kTypeField);
    CMemBlock meta;
    StoreU32LE(meta.Allocate(8), static_cast<uint32_t>(field.width));
    StoreU32LE(meta.data + 4, static_cast<uint32_t>(field.height));
    level.SetChildData(kTypeMeta, meta);

    // All layers are split out of the cells in blocks that stay in the cache, then coded
    // one by one.
    // Every byte is overwritten below, so the buffer is not cleared first (a plain new[],
    // as make_unique_for_overwrite does; emscripten's library lacks the latter).
    std::unique_ptr<uint8_t[]> planes(new uint8_t[kCellBytes * n]);
    const uint8_t* in = reinterpret_cast<const uint8_t*>(field.cells.data());
    for (size_t first = 0; first < n; first += kBlockCells) {
        const size_t last = std::min(n, first + kBlockCells);
        for (size_t k = 0; k < kCellBytes; ++k) {
            uint8_t* plane = planes.get() + k * n;
            for (size_t i = first; i < last; ++i)
                plane[i] = in[i * kCellBytes + k];
        }
    }
    for (const LayerRecord& layer : kLayers) {
        uint8_t* plane = planes.get() + layer.offset * n;
        if (layer.skipWhenDefault &&
            std::all_of(plane, plane + n, [&](uint8_t b) { return b == layer.defaultValue; }))
            continue;
        CMemBlock bytes;
        bytes.Attach(plane, static_cast<uint32_t>(n), false);
        // The coded bytes move into the record instead of being copied there.
        CMemBlock encoded;
        encoded.EncodeRunLength(bytes);
        level.GetOrAddChild(layer.type).data.MoveFrom(encoded);
    }

    if (!field.description.empty()) {
        CMemBlock info;
        uint8_t* p = info.Allocate(static_cast<uint32_t>(field.description.size() + 1));
        std::memcpy(p, field.description.data(), field.description.size());
        p[field.description.size()] = 0;
        level.SetChildData(kTypeInfo, info);
    }
    return root.Save(store);
}

} // namespace kx
