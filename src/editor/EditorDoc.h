// CKrawlixEditorDoc, the editor's document: a game field with its path, modified flag, editing
// operations and undo.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/PaletteEntry.h"
#include "editor/UndoHistory.h"
#include "editor/WallStyle.h"
#include "field/GameField.h"
#include "storage/Store.h"

namespace kx {

// Where ResizeField adds or cuts rows and columns (the resize dialog's radio order).
enum ResizeCorner : int32_t {
    CornerTopLeft = 0,     // "Links oben"
    CornerBottomLeft = 1,  // "Links unten"
    CornerTopRight = 2,    // "Rechts oben"
    CornerBottomRight = 3, // "Rechts unten"
};

// A block of whole cells cut or copied from a field: both layers, objects, items, the creature,
// the switch number and every flag.
struct FieldClip {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<FieldCell> cells; // row after row
    bool Empty() const { return cells.empty(); }
};

// Every operation that changes the field is one undo step (a whole gesture when it runs
// between BeginGesture and EndGesture). The modified flag follows the undo position.
// Descriptions are Windows-1252 in memory; style names may be UTF-8 or Windows-1252.
class CKrawlixEditorDoc : public CGameFieldBase {
public:
    // An 11 x 11 "Rot" field, empty description, no path, not modified.
    CKrawlixEditorDoc();
    CKrawlixEditorDoc(const CKrawlixEditorDoc&) = delete;
    CKrawlixEditorDoc& operator=(const CKrawlixEditorDoc&) = delete;

    // ---- document state ----
    // False until the first new document was made; then the New command shows its dialog.
    bool askedBefore = false;
    const std::string& GetPathName() const { return pathName; }
    void SetPathName(std::string path) { pathName = std::move(path); }
    bool IsModified() const { return !history.IsAtSavedPosition(); }
    // false: the present state becomes the saved one; true: modified until saved.
    void SetModifiedFlag(bool modified);
    // Called after every change of the field, the modified flag or the history.
    void SetChangeListener(std::function<void()> listener) { changeListener = std::move(listener); }

    // ---- New, Open, Save ----
    // The New command once its values are known (the program's first document: 11 x 11
    // "Rot" without a dialog; later ones from the New-level dialog's OK): forgets the path,
    // builds the field, empties the description, sets askedBefore, clears the history and
    // the modified flag.
    void NewDocument(int32_t width, int32_t height, std::string_view style);
    // Reads a level (versions 0 to 4) into a fresh field and takes it only on success; a
    // rejected stream raises CArchiveException (badSchema for no level or a newer version,
    // endOfFile for a level cut short or damaged) and leaves the document as it was.
    // Success clears the history and the modified flag and sets askedBefore.
    void LoadDocument(IStore& store);
    // Writes the level (version 4); a failed write raises CArchiveException genericException.
    void StoreDocument(IStore& store) const;
    // Open: the file at path (UTF-8) through LoadDocument; the path is taken on success.
    // Raises CArchiveException (genericException when the file cannot be read or is no
    // regular file, such as a named pipe).
    void OpenFile(const std::string& path);
    // Save: written to a temporary file beside path and renamed over it only when every
    // byte arrived, so a failed save leaves the old file untouched. Takes the path, clears
    // the modified flag and sets askedBefore on success; raises CArchiveException
    // genericException (with the system's reason) otherwise.
    void SaveFile(const std::string& path);

    // ---- editing ----
    // Builds a fresh field in the style (sizes clamped to 3..1000). Description untouched.
    void CreateStyledField(int32_t width, int32_t height, std::string_view style);
    // Adds or cuts rows and columns at the corner; new cells come from the style. Nothing
    // happens when the clamped size equals the present one. Sets the modified flag.
    void ResizeField(int32_t width, int32_t height, std::string_view style, int32_t corner);
    // Applies the entry to cell (x, y) of the layer; true when the cell changed by the
    // entry's rule. Cells outside the field are left alone (false).
    bool ApplyEntry(int32_t x, int32_t y, const PaletteEntry& entry, FieldLayer layer);
    // The rectangle tools: the outline (each cell once) or every cell of the rectangle
    // between the two corners, in either order, as one step.
    void ApplyRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const PaletteEntry& entry,
                        FieldLayer layer, bool filled);
    // Joins touching wall blocks of one style into bars on the layer. Sets the modified
    // flag when a wall changed.
    void MergeLegoBlocks(FieldLayer layer);
    // ---- regions (each changing call is one undo step) ----
    // The cells of the rectangle between the corners, in either order, cut to the field;
    // empty when no cell of it lies in the field.
    FieldClip CopyRegion(int32_t ax, int32_t ay, int32_t bx, int32_t by) const;
    // Writes the clip with its top-left cell at (x, y); what lies outside the field is left
    // out. True when a cell changed.
    bool PasteClip(const FieldClip& clip, int32_t x, int32_t y);
    // Empties the rectangle's cells: plain ground in both layers, nothing on it, no switch,
    // no flags. True when a cell changed.
    bool ClearRegion(int32_t ax, int32_t ay, int32_t bx, int32_t by);
    // Applies the entry to the cell and every cell joined to it side by side that is equal in
    // the layer: the same ground and the same value of what the entry writes (item, objects,
    // creature, switch number and kind, or flags). True when a cell changed.
    bool FloodFill(int32_t x, int32_t y, const PaletteEntry& entry, FieldLayer layer);
    // Ends the open gesture with the field put back as it began; no undo step.
    void CancelGesture();

    // The description with CR LF line ends, for the description dialog.
    std::string GetDescriptionForEdit() const;
    // The description dialog's OK (Windows-1252 text): trimmed, CR LF made LF, stored.
    void SetDescriptionFromEdit(std::string_view text);

    // ---- gestures and undo ----
    // A paint stroke from button down to button up is one step: the front end (the view)
    // brackets it. Nested brackets join the outer one; an operation outside any bracket is
    // a step of its own.
    void BeginGesture();
    void EndGesture();
    bool InGesture() const { return gestureDepth > 0; }
    bool CanUndo() const { return gestureDepth == 0 && history.CanUndo(); }
    bool CanRedo() const { return gestureDepth == 0 && history.CanRedo(); }
    bool Undo();
    bool Redo();
    const CUndoHistory& GetHistory() const { return history; }

private:
    void BuildStyledField(int32_t newWidth, int32_t newHeight, std::string_view style);
    bool ApplyEntryToCell(FieldCell& cell, const PaletteEntry& entry, FieldLayer layer);
    void Notify();
    // The open gesture's record of what it touched, dropped once the gesture is over.
    void ForgetGesture();
    void ResetHistory();
    // Within a gesture: keeps the cell's state from before its first change.
    void TouchCell(size_t index);
    // The field of that size with the wall style's border, plain ground inside ("Leer": empty).
    static std::vector<FieldCell> StyledCells(int32_t w, int32_t h, std::string_view style);
    // The field takes the fresh cells and size; within a gesture the old cells are kept, by
    // moving them, as the state it began with.
    void ReplaceCells(std::vector<FieldCell> fresh, int32_t newWidth, int32_t newHeight);

    std::string pathName;
    CUndoHistory history;
    int gestureDepth = 0;
    // What the open gesture changed: the cells touched with their first state, or the
    // whole field when the gesture replaced it, and the description.
    std::vector<uint32_t> touchedIndexes;
    std::vector<FieldCell> touchedBefore;
    std::vector<bool> touchedMark;
    bool gestureHasWhole = false;
    FieldSnapshot gestureWhole;
    std::string gestureDescription;
    std::function<void()> changeListener;
};

// Bracket for a gesture that always ends, also when an exception leaves the scope.
class CGestureScope {
public:
    explicit CGestureScope(CKrawlixEditorDoc& doc) : doc(doc) { doc.BeginGesture(); }
    ~CGestureScope() { doc.EndGesture(); }
    CGestureScope(const CGestureScope&) = delete;
    CGestureScope& operator=(const CGestureScope&) = delete;

private:
    CKrawlixEditorDoc& doc;
};

} // namespace kx
