// The program's --help and --version.
#include "ProgramOptions.h"

#include <algorithm>

#include "game/GameTexts.h"

namespace kx {

ProgramRequest ClassifyArguments(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        return ProgramRequest::Help;
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        return ProgramRequest::Version;
    }
    return ProgramRequest::Play;
}

std::string UsageText() {
    return "Aufruf: Krawlix [/level:\"DATEI.kxlev\" [/tape:\"AUFNAHME.tape\"] ...]\n"
           "       Krawlix --help | --version\n"
           "\n"
           "Ohne Angaben beginnt das Spiel mit dem Titelbild und dem Hauptmenü.\n"
           "/level:DATEI spielt genau die genannten Ebenen-Dateien der Reihe nach;\n"
           "/tape:AUFNAHME spielt die Ebene davor mit den Tasten der Aufnahme vor.\n"
           "\n"
           "Tasten: Pfeiltasten steuern den Wurm, Tab wechselt den Wurm, Eingabe wählt,\n"
           "Esc öffnet und schließt das Menü, F1 zeigt die Hilfe zur Ebene,\n"
           "F11 schaltet Vollbild um, Strg+Plus und Strg+Minus zoomen, M schaltet den Ton\n"
           "aus und wieder an. Ein Gamepad steuert mit Steuerkreuz oder linkem Stick.\n"
           "\n"
           "  --help     diese Hilfe zeigen\n"
           "  --version  die Version zeigen\n";
}

std::string VersionText() {
    return "Krawlix " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "\n";
}

} // namespace kx
