// Undo steps: cell differences for edits in place, whole fields as level bytes otherwise.
#include "editor/UndoHistory.h"

#include <cstring>

#include "storage/MemBlock.h"

namespace kx {
namespace {

// Beyond this many changed cells, when they are also a quarter of the field, the step
// keeps both fields run-length coded instead of every changed cell twice.
constexpr size_t kWholeFieldThreshold = 4096;

bool SameCell(const FieldCell& a, const FieldCell& b) {
    return std::memcmp(&a, &b, sizeof(FieldCell)) == 0;
}

// A whole field as its 21 byte layers, each run-length coded behind its 32-bit length: a
// field of one kind of ground and walls shrinks to a few kilobytes.
PackedField Pack(const CGameFieldBase& field) {
    PackedField packed{field.width, field.height, {}};
    const uint32_t n = static_cast<uint32_t>(field.cells.size());
    const auto* raw = reinterpret_cast<const uint8_t*>(field.cells.data());
    CMemBlock layer;
    layer.Allocate(n);
    for (size_t k = 0; k < sizeof(FieldCell); ++k) {
        for (uint32_t i = 0; i < n; ++i) {
            layer.data[i] = raw[i * sizeof(FieldCell) + k];
        }
        CMemBlock coded;
        coded.EncodeRunLength(layer);
        const uint32_t size = coded.size;
        const auto* sizeBytes = reinterpret_cast<const uint8_t*>(&size);
        packed.bytes.insert(packed.bytes.end(), sizeBytes, sizeBytes + sizeof size);
        packed.bytes.insert(packed.bytes.end(), coded.data, coded.data + coded.size);
    }
    return packed;
}

void Unpack(CGameFieldBase& field, const PackedField& packed) {
    field.width = packed.width;
    field.height = packed.height;
    const uint32_t n = static_cast<uint32_t>(packed.width) * static_cast<uint32_t>(packed.height);
    field.cells.resize(n);
    auto* raw = reinterpret_cast<uint8_t*>(field.cells.data());
    size_t at = 0;
    for (size_t k = 0; k < sizeof(FieldCell); ++k) {
        uint32_t size = 0;
        std::memcpy(&size, packed.bytes.data() + at, sizeof size);
        at += sizeof size;
        CMemBlock coded;
        coded.Attach(const_cast<uint8_t*>(packed.bytes.data() + at), size, false);
        at += size;
        CMemBlock layer;
        layer.DecodeRunLength(coded, n);
        for (uint32_t i = 0; i < n; ++i) {
            raw[i * sizeof(FieldCell) + k] = layer.data[i];
        }
    }
}

CGameFieldBase FieldOf(const FieldSnapshot& snapshot) {
    CGameFieldBase field;
    field.description = snapshot.description;
    field.width = snapshot.width;
    field.height = snapshot.height;
    field.cells = snapshot.cells;
    return field;
}

} // namespace

FieldSnapshot FieldSnapshot::Of(const CGameFieldBase& field) {
    return FieldSnapshot{field.description, field.width, field.height, field.cells};
}

void CUndoHistory::Clear() {
    steps.clear();
    position = 0;
    savedPosition = 0;
}

bool CUndoHistory::Record(const FieldSnapshot& before, const CGameFieldBase& after) {
    const bool sameSize = before.width == after.width && before.height == after.height &&
                          before.cells.size() == after.cells.size();
    if (sameSize) {
        std::vector<uint32_t> indexes;
        std::vector<FieldCell> cells;
        for (size_t i = 0; i < after.cells.size(); ++i) {
            if (!SameCell(before.cells[i], after.cells[i])) {
                indexes.push_back(static_cast<uint32_t>(i));
                cells.push_back(before.cells[i]);
            }
        }
        return RecordCells(after, indexes, cells, before.description);
    }
    Step step;
    step.wholeBefore = Pack(FieldOf(before));
    step.wholeAfter = Pack(after);
    step.descriptionBefore = before.description;
    step.descriptionAfter = after.description;
    Push(std::move(step));
    return true;
}

bool CUndoHistory::RecordCells(const CGameFieldBase& after, const std::vector<uint32_t>& indexes,
                               const std::vector<FieldCell>& before,
                               const std::string& descriptionBefore) {
    size_t changed = 0;
    for (size_t i = 0; i < indexes.size(); ++i) {
        changed += !SameCell(before[i], after.cells[indexes[i]]);
    }
    if (changed == 0 && descriptionBefore == after.description) {
        return false;
    }
    Step step;
    step.descriptionBefore = descriptionBefore;
    step.descriptionAfter = after.description;
    if (changed > kWholeFieldThreshold && changed * 4 > after.cells.size()) {
        CGameFieldBase old;
        old.description = descriptionBefore;
        old.width = after.width;
        old.height = after.height;
        old.cells = after.cells;
        for (size_t i = 0; i < indexes.size(); ++i) {
            old.cells[indexes[i]] = before[i];
        }
        step.wholeBefore = Pack(old);
        step.wholeAfter = Pack(after);
    } else {
        step.indexes.reserve(changed);
        step.before.reserve(changed);
        step.after.reserve(changed);
        for (size_t i = 0; i < indexes.size(); ++i) {
            const FieldCell& now = after.cells[indexes[i]];
            if (!SameCell(before[i], now)) {
                step.indexes.push_back(indexes[i]);
                step.before.push_back(before[i]);
                step.after.push_back(now);
            }
        }
    }
    Push(std::move(step));
    return true;
}

void CUndoHistory::Push(Step step) {
    steps.erase(steps.begin() + static_cast<long>(position), steps.end());
    if (savedPosition > static_cast<long>(position)) {
        savedPosition = -1;
    }
    steps.push_back(std::move(step));
    ++position;
    if (steps.size() > kMaxSteps) {
        steps.pop_front();
        --position;
        if (savedPosition >= 0) {
            --savedPosition;
        }
    }
}

void CUndoHistory::Restore(CGameFieldBase& field, const Step& step, bool forward) {
    const PackedField& whole = forward ? step.wholeAfter : step.wholeBefore;
    if (!whole.bytes.empty()) {
        Unpack(field, whole);
    } else {
        const std::vector<FieldCell>& cells = forward ? step.after : step.before;
        for (size_t i = 0; i < step.indexes.size(); ++i) {
            field.cells[step.indexes[i]] = cells[i];
        }
    }
    field.description = forward ? step.descriptionAfter : step.descriptionBefore;
}

bool CUndoHistory::Undo(CGameFieldBase& field) {
    if (!CanUndo()) {
        return false;
    }
    --position;
    Restore(field, steps[position], false);
    return true;
}

bool CUndoHistory::Redo(CGameFieldBase& field) {
    if (!CanRedo()) {
        return false;
    }
    Restore(field, steps[position], true);
    ++position;
    return true;
}

} // namespace kx
