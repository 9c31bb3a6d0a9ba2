// Fuzz target for edit-shot scripts: any script parses or is refused, plays on the editor core
// without fault, and undoing every step brings back the start byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "editor/EditScript.h"
#include "editor/EditorDoc.h"
#include "editor/EditorView.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "graphics/ImageList24.h"

namespace {
bool SameField(const kx::CGameFieldBase& a, const kx::CGameFieldBase& b) {
    return a.width == b.width && a.height == b.height && a.description == b.description &&
           a.cells.size() == b.cells.size() &&
           std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(kx::FieldCell)) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 4096) {
        return 0;
    }
    // The first two bytes choose the client size, so layouts from tiny to wide are reached.
    const int32_t width = 1 + data[0] * 4;
    const int32_t height = 1 + data[1] * 4;
    const std::string script(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<kx::EditEvent> events;
    std::string error;
    if (!kx::ParseEditScript(script, events, error)) {
        return 0;
    }
    kx::CKrawlixEditorDoc doc;
    doc.NewDocument(11, 11, "Rot");
    kx::CGameFieldBase start;
    start.description = doc.description;
    start.width = doc.width;
    start.height = doc.height;
    start.cells = doc.cells;

    kx::CKrawlixEditorView view(doc);
    kx::CImageList24 noSheet;
    kx::CFontTable noFonts;
    noFonts.SetLoadingDone();
    view.SetSprites(&noSheet, &noSheet);
    view.SetFontTable(&noFonts);
    view.SetClientSize(width, height);
    bool cleared = false;
    for (const kx::EditEvent& e : events) {
        // Sizes stay small so that one input stays fast.
        if ((e.name == "cmd:new" || e.name == "cmd:resize") &&
            (e.numbers[0] > 64 || e.numbers[1] > 64)) {
            continue;
        }
        cleared = cleared || e.name == "cmd:new";
        kx::RunEditEvent(view, e);
    }
    kx::CDrawDevice24 surface;
    view.Draw(surface);
    view.OnCaptureLost();
    if (!cleared) {
        while (view.Undo()) {
        }
        if (!SameField(doc, start)) {
            __builtin_trap();
        }
    }
    return 0;
}
