// krawlix-tool edit-shot: the editor core driven headless by an event script, its frame as PNG.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "Json.h"
#include "OptionReader.h"
#include "editor/ArchiveException.h"
#include "editor/EditScript.h"
#include "editor/EditorDoc.h"
#include "editor/EditorView.h"
#include "game/GameResources.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "graphics/ImageList24.h"
#include "levelcheck/LevelCheck.h"
#include "storage/Path.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

struct EditShotArgs {
    std::string level;
    std::string out;
    std::string save;
    std::string script;
    int32_t width = 800;
    int32_t height = 600;
    bool state = false;
};

bool EndsWithPng(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    return kx::EqualsNoCase(name.substr(name.size() - 4), ".png");
}

bool ParseSize(const std::string& text, int32_t& w, int32_t& h) {
    const size_t x = text.find('x');
    int32_t a = 0;
    int32_t b = 0;
    if (x == std::string::npos || !ParseNumber(text.substr(0, x), a) ||
        !ParseNumber(text.substr(x + 1), b) || a < 1 || b < 1 || a > 4096 || b > 4096) {
        return false;
    }
    w = a;
    h = b;
    return true;
}

// nullopt: the command runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadArgs(const Args& args, EditShotArgs& a) {
    const std::string badSize = "bad or missing value for --size (WxH, 1 to 4096 each)";
    std::vector<std::string> positional;
    COptionReader reader("edit-shot");
    reader.LongOptionsOnly()
        .Flag("--state", a.state)
        .Value("--size",
               [&](const std::string& v, std::string& error) {
                   error = badSize;
                   return ParseSize(v, a.width, a.height);
               })
        .IfMissing(badSize)
        .Text("--events", a.script)
        .IfMissing("missing value for --events")
        .Text("--save", a.save)
        .IfMissing("missing value for --save")
        .Positionals(positional, 0, 2);
    if (auto exit = reader.Read(args))
        return exit;
    // One name alone is the picture when it ends in ".png", else the level.
    if (positional.size() == 2) {
        a.level = positional[0];
        a.out = positional[1];
    } else if (positional.size() == 1) {
        (EndsWithPng(positional[0]) ? a.out : a.level) = positional[0];
    }
    return std::nullopt;
}

// The problems of the last cmd:check; nullopt when the script has none.
using Problems = std::optional<std::vector<kx::LevelWarning>>;

std::string StateJson(const kx::CKrawlixEditorView& view, const Problems& problems) {
    const kx::CKrawlixEditorDoc& doc = view.GetDocument();
    const kx::CIconPalette& palette = view.GetPalette();
    const kx::PaletteEntry* entry = palette.GetSelectedEntry();
    std::string out;
    JsonWriter j(out);
    j.BeginObject();
    j.Key("width");
    j.Int(doc.width);
    j.Key("height");
    j.Int(doc.height);
    j.Key("scrollX");
    j.Int(view.scrollX);
    j.Key("scrollY");
    j.Int(view.scrollY);
    j.Key("tool");
    j.Int(view.tool);
    j.Key("selected");
    j.Int(palette.GetSelected());
    j.Key("selectedDescription");
    j.String(entry != nullptr ? kx::Utf8FromCp1252(entry->description) : std::string());
    j.Key("first");
    j.Int(palette.GetFirst());
    j.Key("paletteWidth");
    j.Int(palette.GetWidth());
    j.Key("switchLayer");
    j.Bool(view.switchLayer);
    j.Key("modified");
    j.Bool(doc.IsModified());
    j.Key("problems");
    if (problems) {
        j.BeginArray();
        for (const kx::LevelWarning& w : *problems) {
            j.BeginObject();
            j.Key("x");
            j.Int(w.x);
            j.Key("y");
            j.Int(w.y);
            j.Key("text");
            j.String(w.text);
            j.EndObject();
        }
        j.EndArray();
    } else {
        j.Null();
    }
    j.Key("zoom");
    j.Number(view.zoom);
    j.Key("selection");
    if (const auto& r = view.GetSelection()) {
        j.BeginArray();
        for (int32_t v : {r->x1, r->y1, r->x2, r->y2}) {
            j.Int(v);
        }
        j.EndArray();
    } else {
        j.Null();
    }
    j.Key("show");
    j.BeginObject();
    j.Key("objects");
    j.Bool(view.showObjects);
    j.Key("items");
    j.Bool(view.showItems);
    j.Key("creatures");
    j.Bool(view.showCreatures);
    j.Key("switches");
    j.Bool(view.showSwitches);
    j.Key("blocking");
    j.Bool(view.showBlocking);
    j.EndObject();
    j.EndObject();
    return out;
}

int RunEditShot(const Args& args) {
    EditShotArgs a;
    if (auto exit = ReadArgs(args, a)) {
        return *exit;
    }
    std::string error;
    std::vector<kx::EditEvent> events;
    if (!kx::ParseEditScript(a.script, events, error)) {
        return Fail(error);
    }

    // The document as the program starts it, then the level as File > Open would.
    kx::CKrawlixEditorDoc doc;
    doc.NewDocument(11, 11, kx::kNewLevelDefaultStyle);
    if (!a.level.empty()) {
        try {
            doc.OpenFile(a.level);
        } catch (const kx::CArchiveException& e) {
            return Fail(e.GetMessage());
        }
    }
    kx::CKrawlixEditorView view(doc);
    view.SetClientSize(a.width, a.height);
    view.OnInitialUpdate();

    kx::CResourceArchive archive;
    archive.LoadArchiveFromProgramFolder("Krawlix");
    kx::CGameResources resources(archive);
    kx::CImageList24 full;
    kx::CImageList24 trans;
    const bool sheets =
        resources.LoadSpriteSheet(full, "imgfull", 32, 32, kx::kNoTransparentColour) &&
        resources.LoadSpriteSheet(trans, "imgtrans", 32, 32, kx::kSpriteTransparentColour);
    kx::CFontTable fonts;
    fonts.LoadFontsNoThrow(&archive);
    if (sheets) {
        view.SetSprites(&full, &trans);
    }
    view.SetFontTable(&fonts);

    Problems problems;
    for (const kx::EditEvent& e : events) {
        if (e.name == "cmd:check") {
            problems = kx::CheckLevel(doc);
        } else {
            kx::RunEditEvent(view, e);
        }
    }
    const std::string state = StateJson(view, problems);

    if (!a.out.empty()) {
        if (!sheets) {
            return Fail("no pictures imgfull and imgtrans (loose files or in the archive)");
        }
        kx::CDrawDevice24 surface;
        view.Draw(surface);
        if (!surface.WritePng(a.out)) {
            return Fail("cannot write " + a.out);
        }
    }
    if (!a.save.empty()) {
        try {
            doc.SaveFile(a.save);
        } catch (const kx::CArchiveException& e) {
            return Fail(e.GetMessage());
        }
    }
    if (a.state) {
        std::printf("%s\n", state.c_str());
    }
    return 0;
}

Register editShot{
    {"edit-shot", "[LEVEL] [OUT.png] [--size WxH] [--events SCRIPT] [--save FILE] [--state]",
     "runs the editor core headless: the start document (11 x 11 \"Rot\") or LEVEL opened, a "
     "view of WxH (800x600, at most 4096x4096) with the palette 3 icons wide, then the "
     "comma-separated events of "
     "SCRIPT: select:N, tool:paint|rect|fill|select|flood, down|move|up|rdown|rmove|rup:X:Y, "
     "key:[ctrl+]pageup|pagedown|home|left|right|up|down|esc|delete, cmd:layer|objects|items|"
     "creatures|switches|blocking|merge|undo|redo|scrollup|scrolldown|copy|cut, cmd:paste "
     "(the block follows the pointer until down places it), cmd:paste:X:Y (the clipboard's "
     "top-left at cell X,Y), cmd:pick:X:Y, cmd:zoom:100|50|25|12.5, cmd:check (the level "
     "checker's findings at that point), cmd:width:N, cmd:new:W:H:STYLE, "
     "cmd:resize:W:H:STYLE:CORNER, cmd:describe:TEXT (\\n line break, \\, comma). One name "
     "alone is OUT.png when it ends in .png, else LEVEL. select:N with no entry N selects "
     "nothing; sizes outside 3..1000 are refused as the dialogs refuse them. Writes the frame "
     "to OUT.png, saves to FILE, and --state prints the editor's state as JSON (before the "
     "save): the field's size, scroll, tool, selected (the palette index, -1 for none), zoom "
     "(percent), selection ([x1,y1,x2,y2] or null), problems (after cmd:check each "
     "{x,y,text}, else null), the layer, the shown parts and whether it is modified",
     RunEditShot}};

} // namespace
} // namespace kxtool
