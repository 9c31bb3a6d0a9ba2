// Undo steps: cell differences for edits in place, whole fields as runs of equal cells otherwise.
#include "editor/UndoHistory.h"

#include <cstring>

namespace kx {
namespace {

// Beyond this many changed cells, when they are also a quarter of the field, the step
// keeps both fields run-length coded instead of every changed cell twice.
constexpr size_t kWholeFieldThreshold = 4096;

bool SameCell(const FieldCell& a, const FieldCell& b) {
    return std::memcmp(&a, &b, sizeof(FieldCell)) == 0;
}

// A whole field as runs of equal cells, each a 32-bit count and the cell's bytes, made in one
// pass over the cells: a field of one kind of ground and walls shrinks to a few kilobytes, and
// a field of 1000 x 1000 packs in milliseconds.
PackedField Pack(int32_t width, int32_t height, const std::vector<FieldCell>& cells) {
    PackedField packed{width, height, {}};
    constexpr size_t kRunBytes = sizeof(uint32_t) + sizeof(FieldCell);
    size_t runs = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        runs += i == 0 || !SameCell(cells[i], cells[i - 1]);
    }
    packed.bytes.resize(runs * kRunBytes);
    uint8_t* out = packed.bytes.data();
    size_t i = 0;
    while (i < cells.size()) {
        size_t end = i + 1;
        while (end < cells.size() && SameCell(cells[end], cells[i])) {
            ++end;
        }
        // A field holds far fewer than 2^32 cells, so a run's count fits.
        const auto count = static_cast<uint32_t>(end - i);
        std::memcpy(out, &count, sizeof count);
        std::memcpy(out + sizeof count, &cells[i], sizeof(FieldCell));
        out += kRunBytes;
        i = end;
    }
    return packed;
}

void Unpack(CGameFieldBase& field, const PackedField& packed) {
    constexpr size_t kRunBytes = sizeof(uint32_t) + sizeof(FieldCell);
    std::vector<FieldCell> cells;
    cells.reserve(static_cast<size_t>(packed.width) * static_cast<size_t>(packed.height));
    for (size_t at = 0; at + kRunBytes <= packed.bytes.size(); at += kRunBytes) {
        uint32_t count = 0;
        FieldCell cell{};
        std::memcpy(&count, packed.bytes.data() + at, sizeof count);
        std::memcpy(&cell, packed.bytes.data() + at + sizeof count, sizeof cell);
        cells.insert(cells.end(), count, cell);
    }
    field.width = packed.width;
    field.height = packed.height;
    field.cells = std::move(cells);
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
    step.wholeBefore = Pack(before.width, before.height, before.cells);
    step.wholeAfter = Pack(after.width, after.height, after.cells);
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
        std::vector<FieldCell> old = after.cells;
        for (size_t i = 0; i < indexes.size(); ++i) {
            old[indexes[i]] = before[i];
        }
        step.wholeBefore = Pack(after.width, after.height, old);
        step.wholeAfter = Pack(after.width, after.height, after.cells);
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
