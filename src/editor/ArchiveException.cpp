// The German messages of a failed open or save.
#include "editor/ArchiveException.h"

namespace kx {

std::string CArchiveException::GetMessage() const {
    const std::string name = fileName.empty() ? std::string("(unbenannt)") : fileName;
    std::string text;
    switch (cause) {
    case badSchema:
        text = "Die Datei \"" + name + "\" hat ein unerwartetes Format.";
        break;
    case endOfFile:
        text = "Die Datei ist beschädigt oder unvollständig und wurde nicht geöffnet:\n\"" + name +
               "\"";
        break;
    case genericException:
    case none:
        text = "Beim Zugriff auf \"" + name + "\" ist ein unerwarteter Fehler aufgetreten.";
        break;
    }
    if (!detail.empty()) {
        text += "\n" + detail;
    }
    return text;
}

} // namespace kx
