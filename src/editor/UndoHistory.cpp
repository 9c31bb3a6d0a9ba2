// Undo steps: cell differences for edits in place, whole fields as level bytes otherwise.
#include "editor/UndoHistory.h"

#include <cstring>

#include "field/LevelFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace kx {
namespace {

// Beyond this many changed cells, when they are also a quarter of the field, the step
// keeps both fields run-length coded instead of every changed cell twice.
constexpr size_t kWholeFieldThreshold = 4096;

bool SameCell(const FieldCell& a, const FieldCell& b) {
    return std::memcmp(&a, &b, sizeof(FieldCell)) == 0;
}

std::vector<uint8_t> LevelBytes(const CGameFieldBase& field) {
    CMemBlock block;
    {
        CMemSerializer out(block, true);
        WriteLevel(field, out);
    }
    return std::vector<uint8_t>(block.data, block.data + block.size);
}

void LoadLevelBytes(CGameFieldBase& field, const std::vector<uint8_t>& bytes) {
    CMemBlock block;
    block.Attach(const_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()), false);
    CMemSerializer in(block, false);
    ReadLevelNoThrow(field, in);
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
    Step step;
    const bool sameSize = before.width == after.width && before.height == after.height &&
                          before.cells.size() == after.cells.size();
    bool whole = !sameSize;
    if (sameSize) {
        for (size_t i = 0; i < after.cells.size(); ++i) {
            if (!SameCell(before.cells[i], after.cells[i])) {
                step.indexes.push_back(static_cast<uint32_t>(i));
                step.before.push_back(before.cells[i]);
                step.after.push_back(after.cells[i]);
            }
        }
        if (step.indexes.empty() && before.description == after.description) {
            return false;
        }
        whole = step.indexes.size() > kWholeFieldThreshold &&
                step.indexes.size() * 4 > after.cells.size();
    }
    if (whole) {
        step.indexes.clear();
        step.before.clear();
        step.after.clear();
        step.wholeBefore = LevelBytes(FieldOf(before));
        step.wholeAfter = LevelBytes(after);
    }
    step.descriptionBefore = before.description;
    step.descriptionAfter = after.description;

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
    return true;
}

void CUndoHistory::Restore(CGameFieldBase& field, const Step& step, bool forward) {
    const std::vector<uint8_t>& whole = forward ? step.wholeAfter : step.wholeBefore;
    if (!whole.empty()) {
        LoadLevelBytes(field, whole);
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
