// The event scripts of krawlix-tool edit-shot: parsing them and playing them on the editor's view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/EditorView.h"

namespace kx {

struct EditEvent {
    std::string name;             // "select", "down", "key", "cmd:layer", "cmd:new", ...
    std::vector<int32_t> numbers; // coordinates, sizes, indexes
    std::string text;             // a key name, a style (Windows-1252) or a description
    bool ctrl = false;            // key:ctrl+NAME
};

// Splits the comma-separated script and checks every event; false with a message naming
// the first bad event. In cmd:describe:TEXT, "\n" is a line break, "\," a comma and "\\"
// a backslash; elsewhere a comma always ends the event.
bool ParseEditScript(const std::string& script, std::vector<EditEvent>& events, std::string& error);

// Plays one event as the editor's window would deliver it.
void RunEditEvent(CKrawlixEditorView& view, const EditEvent& event);

} // namespace kx
