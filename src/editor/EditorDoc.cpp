// CKrawlixEditorDoc: document state, New/Open/Save, gestures and undo.
#include "editor/EditorDoc.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "editor/ArchiveException.h"
#include "field/LevelFile.h"
#include "storage/FileEx.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

constexpr int32_t kStartSize = 11;

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

} // namespace

CKrawlixEditorDoc::CKrawlixEditorDoc() {
    BuildStyledField(kStartSize, kStartSize, kNewLevelDefaultStyle);
    history.Clear();
}

void CKrawlixEditorDoc::SetModifiedFlag(bool modified) {
    if (modified) {
        history.MarkUnsaved();
    } else {
        history.MarkSaved();
    }
    Notify();
}

void CKrawlixEditorDoc::NewDocument(int32_t newWidth, int32_t newHeight, std::string_view style) {
    pathName.clear();
    BuildStyledField(newWidth, newHeight, style);
    description.clear();
    askedBefore = true;
    ResetHistory();
}

void CKrawlixEditorDoc::LoadDocument(IStore& store) {
    // Read into a field of its own, so that a rejected level leaves this one untouched.
    CGameFieldBase fresh;
    std::string reason;
    uint32_t version = 0;
    bool cutShort = false;
    const bool read = ReadLevelNoThrow(fresh, store, &reason, &version, &cutShort);
    if (!read && version == 0 && reason == "not a level file") {
        throw CArchiveException(CArchiveException::badSchema, std::string(),
                                "Das ist keine Level-Datei.");
    }
    if (!read && version > kLevelVersion) {
        throw CArchiveException(CArchiveException::badSchema, std::string(),
                                "Die Level-Version " + std::to_string(version) +
                                    " ist neuer als dieses Programm.");
    }
    // A level whose header was read but whose rest is missing or wrong: the game would
    // play what the reader made of it (walls where the cut came), so the author hears of it.
    if (!read || cutShort) {
        throw CArchiveException(CArchiveException::endOfFile, std::string());
    }
    description = std::move(fresh.description);
    width = fresh.width;
    height = fresh.height;
    cells = std::move(fresh.cells);
    askedBefore = true;
    ResetHistory();
}

void CKrawlixEditorDoc::StoreDocument(IStore& store) const {
    if (!WriteLevel(*this, store)) {
        throw CArchiveException(CArchiveException::genericException, std::string(),
                                "Die Daten konnten nicht geschrieben werden.");
    }
}

void CKrawlixEditorDoc::OpenFile(const std::string& path) {
    CFileEx file(false);
    file.SetPath(path);
    // A named pipe or a device is no level file; reading one could wait for ever.
    if (!file.OpenRead(kRegularFileOnly)) {
        const int code = errno;
        const bool special = IsExistingFile(path) && !IsRegularFile(path);
        throw CArchiveException(CArchiveException::genericException, path,
                                special ? "Das ist keine gewöhnliche Datei (eine Pipe oder ein "
                                          "Gerät)."
                                        : std::strerror(code));
    }
    try {
        LoadDocument(file);
    } catch (CArchiveException& e) {
        e.fileName = path;
        throw;
    }
    pathName = path;
    Notify();
}

void CKrawlixEditorDoc::SaveFile(const std::string& path) {
    CMemBlock block;
    {
        CMemSerializer out(block, true);
        if (!WriteLevel(*this, out)) {
            throw CArchiveException(CArchiveException::genericException, path,
                                    "Die Daten konnten nicht geschrieben werden.");
        }
    }
    std::string error;
    if (!WriteWholeFile(path, block.data, block.size, &error)) {
        throw CArchiveException(CArchiveException::genericException, path, Utf8FromCp1252(error));
    }
    pathName = path;
    askedBefore = true;
    history.MarkSaved();
    Notify();
}

void CKrawlixEditorDoc::CreateStyledField(int32_t newWidth, int32_t newHeight,
                                          std::string_view style) {
    CGestureScope gesture(*this);
    BuildStyledField(newWidth, newHeight, style);
}

std::string CKrawlixEditorDoc::GetDescriptionForEdit() const {
    std::string text = description;
    ReplaceAll(text, "\r\n", "\n");
    ReplaceAll(text, "\n", "\r\n");
    return text;
}

void CKrawlixEditorDoc::SetDescriptionFromEdit(std::string_view text) {
    CGestureScope gesture(*this);
    std::string stored = Trim(std::string(text));
    ReplaceAll(stored, "\r\n", "\n");
    description = std::move(stored);
}

void CKrawlixEditorDoc::BeginGesture() {
    if (gestureDepth++ == 0) {
        gestureDescription = description;
    }
}

void CKrawlixEditorDoc::TouchCell(size_t index) {
    if (gestureDepth == 0 || gestureHasWhole) {
        return;
    }
    if (touchedMark.size() != cells.size()) {
        touchedMark.assign(cells.size(), false);
    }
    if (!touchedMark[index]) {
        touchedMark[index] = true;
        touchedIndexes.push_back(static_cast<uint32_t>(index));
        touchedBefore.push_back(cells[index]);
    }
}

void CKrawlixEditorDoc::ReplaceCells(std::vector<FieldCell> fresh, int32_t newWidth,
                                     int32_t newHeight) {
    if (gestureDepth > 0 && !gestureHasWhole) {
        // The field as the gesture found it, moved rather than copied (a field of 1000 x 1000
        // is 21 MB): cells changed earlier in the gesture go back to their start.
        gestureWhole.description = gestureDescription;
        gestureWhole.width = width;
        gestureWhole.height = height;
        gestureWhole.cells = std::move(cells);
        for (size_t i = 0; i < touchedIndexes.size(); ++i) {
            gestureWhole.cells[touchedIndexes[i]] = touchedBefore[i];
        }
        gestureHasWhole = true;
        touchedIndexes.clear();
        touchedBefore.clear();
        touchedMark.clear();
    }
    cells = std::move(fresh);
    width = newWidth;
    height = newHeight;
}

void CKrawlixEditorDoc::EndGesture() {
    if (gestureDepth == 0) {
        return;
    }
    if (--gestureDepth > 0) {
        return;
    }
    const bool recorded = gestureHasWhole ? history.Record(gestureWhole, *this)
                                          : history.RecordCells(*this, touchedIndexes,
                                                                touchedBefore, gestureDescription);
    ForgetGesture();
    if (recorded) {
        Notify();
    }
}

bool CKrawlixEditorDoc::Undo() {
    if (!CanUndo() || !history.Undo(*this)) {
        return false;
    }
    Notify();
    return true;
}

bool CKrawlixEditorDoc::Redo() {
    if (!CanRedo() || !history.Redo(*this)) {
        return false;
    }
    Notify();
    return true;
}

void CKrawlixEditorDoc::Notify() {
    if (changeListener) {
        changeListener();
    }
}

void CKrawlixEditorDoc::ForgetGesture() {
    gestureHasWhole = false;
    gestureWhole = FieldSnapshot();
    touchedIndexes.clear();
    touchedBefore.clear();
    touchedMark.clear();
    gestureDescription.clear();
}

void CKrawlixEditorDoc::ResetHistory() {
    gestureDepth = 0;
    ForgetGesture();
    history.Clear();
    Notify();
}

} // namespace kx
