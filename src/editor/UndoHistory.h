// CUndoHistory, the editor's undo and redo steps: changed cells, or whole fields when the size
// changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "field/GameField.h"

namespace kx {

// A field's complete state, taken when a gesture begins.
struct FieldSnapshot {
    std::string description;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<FieldCell> cells;

    static FieldSnapshot Of(const CGameFieldBase& field);
};

// A whole field packed for an undo step.
struct PackedField {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bytes;
};

class CUndoHistory {
public:
    // Steps beyond this are forgotten, oldest first.
    static constexpr size_t kMaxSteps = 200;

    // Forgets every step; the present state counts as the saved one.
    void Clear();
    // One step from before to the field's present state; nothing when they are equal.
    // Any steps that could be redone are dropped. Returns whether a step was recorded.
    bool Record(const FieldSnapshot& before, const CGameFieldBase& after);
    // The same for an edit in place: the cells at indexes held before[i] and the
    // description descriptionBefore; everything else of the field is as it was.
    bool RecordCells(const CGameFieldBase& after, const std::vector<uint32_t>& indexes,
                     const std::vector<FieldCell>& before, const std::string& descriptionBefore);

    bool CanUndo() const { return position > 0; }
    bool CanRedo() const { return position < steps.size(); }
    // Put the field back to the state before the last step, or forward again; false
    // (field untouched) when there is nothing to undo or redo.
    bool Undo(CGameFieldBase& field);
    bool Redo(CGameFieldBase& field);

    size_t StepCount() const { return steps.size(); }
    size_t Position() const { return position; }

    // The modified flag follows the position: it is clear exactly at the saved position.
    void MarkSaved() { savedPosition = static_cast<long>(position); }
    void MarkUnsaved() { savedPosition = -1; }
    bool IsAtSavedPosition() const { return savedPosition == static_cast<long>(position); }

private:
    struct Step {
        // Same size: the changed cells with their old and new bytes.
        std::vector<uint32_t> indexes;
        std::vector<FieldCell> before;
        std::vector<FieldCell> after;
        // Other size or most cells changed: both whole fields, packed.
        PackedField wholeBefore;
        PackedField wholeAfter;
        std::string descriptionBefore;
        std::string descriptionAfter;
    };
    static void Restore(CGameFieldBase& field, const Step& step, bool forward);
    void Push(Step step);

    std::deque<Step> steps;
    size_t position = 0;    // steps[0 .. position-1] are done
    long savedPosition = 0; // -1: the saved state is no longer reachable
};

} // namespace kx
