// Parsing edit-shot scripts and playing their events on CKrawlixEditorView.
#include "EditScript.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>

#include "editor/WallStyle.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

// Splits at unescaped commas, keeping the escapes for the description to resolve.
std::vector<std::string> SplitEvents(const std::string& script) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < script.size(); ++i) {
        if (script[i] == '\\' && i + 1 < script.size()) {
            parts.back() += script.substr(i, 2);
            ++i;
        } else if (script[i] == ',') {
            parts.emplace_back();
        } else {
            parts.back() += script[i];
        }
    }
    return parts;
}

std::vector<std::string> SplitColons(const std::string& text, size_t maxParts) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < maxParts) {
        const size_t colon = text.find(':', start);
        if (colon == std::string::npos) {
            break;
        }
        parts.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool ParseInt(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 12) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(v);
    return true;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'n' ? '\n' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

const std::map<std::string, EditorKey>& KeyNames() {
    static const std::map<std::string, EditorKey> keys = {
        {"pageup", EditorKey::PageUp}, {"pagedown", EditorKey::PageDown},
        {"home", EditorKey::Home},     {"left", EditorKey::Left},
        {"right", EditorKey::Right},   {"up", EditorKey::Up},
        {"down", EditorKey::Down},     {"esc", EditorKey::Escape},
        {"delete", EditorKey::Delete}};
    return keys;
}

bool InDialogRange(int32_t v) {
    return v >= kDialogMinSize && v <= kDialogMaxSize;
}

// One event; false with the reason.
bool ParseEvent(const std::string& raw, EditEvent& e, std::string& why) {
    static const char* const kToggles[] = {
        "layer", "objects", "items",    "creatures",  "switches", "blocking", "merge",
        "undo",  "redo",    "scrollup", "scrolldown", "copy",     "cut",      "paste"};
    static const char* const kPointer[] = {"down", "move", "up", "rdown", "rmove", "rup"};
    if (raw.rfind("cmd:describe:", 0) == 0) {
        e.name = "cmd:describe";
        e.text = Cp1252FromUtf8(Unescape(raw.substr(13)));
        return true;
    }
    const std::vector<std::string> p = SplitColons(raw, 8);
    auto numbers = [&](size_t from, size_t count) {
        if (p.size() != from + count) {
            why = "wrong number of values";
            return false;
        }
        for (size_t i = from; i < p.size(); ++i) {
            int32_t v = 0;
            if (!ParseInt(p[i], v)) {
                why = "not a number: \"" + p[i] + "\"";
                return false;
            }
            e.numbers.push_back(v);
        }
        return true;
    };
    for (const char* name : kPointer) {
        if (p[0] == name) {
            e.name = name;
            return numbers(1, 2);
        }
    }
    if (p[0] == "select") {
        e.name = "select";
        return numbers(1, 1);
    }
    static const std::map<std::string, int32_t> kTools = {{"paint", ToolPaint},
                                                          {"rect", ToolRectangle},
                                                          {"fill", ToolFilledRectangle},
                                                          {"select", ToolSelect},
                                                          {"flood", ToolFlood}};
    if (p[0] == "tool" && p.size() == 2 && kTools.count(p[1]) != 0) {
        e.name = "tool";
        e.numbers.push_back(kTools.at(p[1]));
        return true;
    }
    if (p[0] == "key" && p.size() == 2) {
        std::string key = p[1];
        if (key.rfind("ctrl+", 0) == 0) {
            e.ctrl = true;
            key = key.substr(5);
        }
        if (KeyNames().count(key) == 0) {
            why = "unknown key";
            return false;
        }
        e.name = "key";
        e.text = key;
        return true;
    }
    if (p[0] != "cmd" || p.size() < 2) {
        why = "unknown event";
        return false;
    }
    e.name = "cmd:" + p[1];
    // Played by edit-shot itself: the level checker lies outside the editor core.
    if (p[1] == "check" && p.size() == 2) {
        return true;
    }
    for (const char* name : kToggles) {
        if (p[1] == name && p.size() == 2) {
            return true;
        }
    }
    if (p[1] == "paste" || p[1] == "pick") {
        // cmd:paste alone lets the block follow the pointer; with X:Y it is placed there.
        e.name = "cmd:" + p[1] + "at";
        return numbers(2, 2);
    }
    if (p[1] == "zoom") {
        // The step's index is kept: 12.5 is no whole number.
        for (size_t i = 0; i < std::size(kZoomSteps) && p.size() == 3; ++i) {
            std::string text = ZoomText(kZoomSteps[i]);
            std::replace(text.begin(), text.end(), ',', '.');
            if (p[2] == text) {
                e.numbers = {static_cast<int32_t>(i)};
                return true;
            }
        }
        why = "zoom is 100, 50, 25 or 12.5";
        return false;
    }
    if (p[1] == "width") {
        if (!numbers(2, 1)) {
            return false;
        }
        if (e.numbers[0] < 1 || e.numbers[0] > kMaxPaletteWidth) {
            why = "the width items are 1 to 8";
            return false;
        }
        return true;
    }
    if (p[1] == "new" || p[1] == "resize") {
        const bool resize = p[1] == "resize";
        // W:H:STYLE[:CORNER]; the style is the one value that is not a number.
        const size_t expected = resize ? 6 : 5;
        if (p.size() != expected) {
            why = "wrong number of values";
            return false;
        }
        e.text = Cp1252FromUtf8(p[4]);
        int32_t w = 0, h = 0, corner = 0;
        if (!ParseInt(p[2], w) || !ParseInt(p[3], h) || (resize && !ParseInt(p[5], corner))) {
            why = "not a number";
            return false;
        }
        // The dialogs refuse sizes outside 3..1000.
        if (!InDialogRange(w) || !InDialogRange(h)) {
            why = "sizes are 3 to 1000";
            return false;
        }
        if (resize && (corner < 0 || corner > 3)) {
            why = "corners are 0 to 3";
            return false;
        }
        e.numbers = {w, h, corner};
        return true;
    }
    why = "unknown command";
    return false;
}

} // namespace

bool ParseEditScript(const std::string& script, std::vector<EditEvent>& events,
                     std::string& error) {
    events.clear();
    if (script.empty()) {
        return true;
    }
    for (const std::string& raw : SplitEvents(script)) {
        EditEvent e;
        std::string why;
        if (!ParseEvent(raw, e, why)) {
            error = "bad event \"" + raw + "\": " + why;
            events.clear();
            return false;
        }
        events.push_back(std::move(e));
    }
    return true;
}

void RunEditEvent(CKrawlixEditorView& view, const EditEvent& e) {
    const std::string& n = e.name;
    const auto& v = e.numbers;
    if (n == "select") {
        // As a click on the entry's icon: an index with no entry selects nothing.
        if (v[0] >= 0 && v[0] < view.GetPalette().GetCount()) {
            view.GetPalette().SetSelected(v[0]);
        }
    } else if (n == "tool") {
        view.SetTool(v[0]);
    } else if (n == "down") {
        view.OnLeftDown(v[0], v[1]);
    } else if (n == "move") {
        view.OnMouseMove(v[0], v[1]);
    } else if (n == "up") {
        view.OnLeftUp(v[0], v[1]);
    } else if (n == "rdown") {
        view.OnRightDown(v[0], v[1]);
    } else if (n == "rmove") {
        view.OnMouseMove(v[0], v[1]);
    } else if (n == "rup") {
        view.OnRightUp(v[0], v[1]);
    } else if (n == "key") {
        view.OnKey(KeyNames().at(e.text), e.ctrl);
    } else if (n == "cmd:layer") {
        view.ToggleSwitchLayer();
    } else if (n == "cmd:objects") {
        view.ToggleShowObjects();
    } else if (n == "cmd:items") {
        view.ToggleShowItems();
    } else if (n == "cmd:creatures") {
        view.ToggleShowCreatures();
    } else if (n == "cmd:switches") {
        view.ToggleShowSwitches();
    } else if (n == "cmd:blocking") {
        view.ToggleShowBlocking();
    } else if (n == "cmd:merge") {
        view.MergeLegoBlocks();
    } else if (n == "cmd:undo") {
        view.Undo();
    } else if (n == "cmd:redo") {
        view.Redo();
    } else if (n == "cmd:scrollup") {
        view.PaletteScrollUp();
    } else if (n == "cmd:scrolldown") {
        view.PaletteScrollDown();
    } else if (n == "cmd:copy") {
        view.Copy();
    } else if (n == "cmd:cut") {
        view.Cut();
    } else if (n == "cmd:paste") {
        view.BeginPaste();
    } else if (n == "cmd:pasteat") {
        view.PasteAt(v[0], v[1]);
    } else if (n == "cmd:pickat") {
        view.PickAt(v[0], v[1]);
    } else if (n == "cmd:zoom") {
        view.SetZoom(kZoomSteps[v[0]]);
    } else if (n == "cmd:width") {
        view.ChooseWidthItem(v[0]);
    } else if (n == "cmd:new") {
        view.GetDocument().NewDocument(v[0], v[1], e.text);
        view.OnInitialUpdate();
    } else if (n == "cmd:resize") {
        view.ResizeField(v[0], v[1], e.text, v[2]);
    } else if (n == "cmd:describe") {
        view.GetDocument().SetDescriptionFromEdit(e.text);
    }
}

} // namespace kx
