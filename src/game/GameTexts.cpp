// The menu tables, the controls help text and the licence text.
#include "GameTexts.h"

#include "storage/TextCodec.h"

namespace kx {

namespace {

constexpr MenuEntry kMainMenu[] = {
    {CMD_RESTART, "Ebene neu starten"},
    {CMD_NEW_GAME, "Neues Spiel starten"},
    {CMD_CONTINUE, "Letztes Spiel fortsetzen"},
    {CMD_PREVIOUS_LEVEL, "Vorige Ebene"},
    {CMD_NEXT_LEVEL, "Nächste Ebene"},
    {CMD_LEVEL_MENU, "Ebene direkt auswählen"},
    {CMD_HELP_MENU, "Hilfe"},
    {CMD_QUIT_MENU, "Spiel beenden"},
};

constexpr MenuEntry kQuitMenu[] = {
    {CMD_QUIT, "Ja, jetzt beenden"},
    {CMD_CLOSE_MENU, "Nein, weiterspielen"},
};

constexpr MenuEntry kWonMenu[] = {
    {CMD_NEXT_LEVEL, "Nächste Ebene"},
    {CMD_RESTART, "Nochmal"},
    {CMD_MAIN_MENU, kMainMenuText},
};

constexpr MenuEntry kLostMenu[] = {
    {CMD_RESTART, "Nochmal"},
    {CMD_NEXT_LEVEL, "Ich gebe auf, nächste Ebene"},
    {CMD_MAIN_MENU, kMainMenuText},
};

constexpr MenuEntry kHelpMenu[] = {
    {CMD_CONTROLS_HELP, "Hilfe zur Steuerung"},
    {CMD_WEB_SITE, "Halvane im Internet"},
    {CMD_FORUM, "Forum im Internet"},
    {CMD_LICENCE, "Lizenz"},
    {CMD_MAIN_MENU, kMainMenuText},
};

// One entry a line: every key of the game window and what it does.
constexpr const char* kControlsHelp =
    "/CAPTION/Hilfe zur Steuerung\n"
    "/TEXT/\n"
    "/KEY/Cursor-Tasten/TEXT/ steuern den aktiven Wurm, /KEY/TAB/TEXT/ wählt den nächsten.\n"
    "/KEY/R/TEXT/ startet die Ebene sofort neu.\n"
    "/KEY/Rücktaste/TEXT/ nimmt den letzten Tastendruck zurück, wieder gedrückt\n"
    "den davor, bis zum Anfang der Ebene.\n"
    "/KEY/H/TEXT/ zeigt einen Hinweis: die nächste Taste und wo sie fällig ist.\n"
    "Nach einer Pause geht es mit einer /KEY/Cursor-Taste/TEXT/, /KEY/Enter/TEXT/ oder der\n"
    "/KEY/Leertaste/TEXT/ weiter; /KEY/H/TEXT/ beendet auch den Hinweis.\n"
    "\n"
    "/KEY/ESC/TEXT/ öffnet oder schließt das Menü, /KEY/Enter/TEXT/ wählt darin;\n"
    "/KEY/Bild auf/TEXT/, /KEY/Bild ab/TEXT/, /KEY/Pos1/TEXT/ und /KEY/Ende/TEXT/ blättern.\n"
    "/KEY/F1/TEXT/ zeigt die Hilfe zur aktuellen Ebene (wenn es eine gibt).\n"
    "\n"
    "/KEY/M/TEXT/ schaltet den Ton aus und wieder an, /KEY/F11/TEXT/ das Vollbild.\n"
    "/KEY/Strg+Plus/TEXT/ und /KEY/Strg+Minus/TEXT/ vergrößern und verkleinern das Fenster.\n"
    "\n"
    "Die Menüs lassen sich auch mit der Maus bedienen.\n";

constexpr const char* kLicence =
    "/CAPTION/Lizenz\n"
    "/TEXT/\n"
    "Krawlix ist freie Software: Du darfst es unter den Bedingungen der\n"
    "GNU General Public License, Version 3 oder (nach Deiner Wahl)\n"
    "jeder späteren Version, weitergeben und verändern.\n"
    "\n"
    "Die Bilder, Töne und Level stehen unter der Lizenz Creative Commons\n"
    "Namensnennung - Weitergabe unter gleichen Bedingungen 4.0 (CC BY-SA 4.0).\n"
    "\n"
    "Die Schriften sind von Liberation (SIL Open Font License 1.1) und\n"
    "DejaVu (Bitstream-Vera-Lizenz) abgeleitet und stehen unter deren Lizenzen.\n"
    "\n"
    "Krawlix wird OHNE JEDE GEWÄHRLEISTUNG weitergegeben. Die Lizenztexte\n"
    "liegen bei: share//doc//krawlix//copyright im Installationsordner.\n";

} // namespace

std::span<const MenuEntry> MainMenuEntries() {
    return kMainMenu;
}
std::span<const MenuEntry> QuitMenuEntries() {
    return kQuitMenu;
}
std::span<const MenuEntry> WonMenuEntries() {
    return kWonMenu;
}
std::span<const MenuEntry> LostMenuEntries() {
    return kLostMenu;
}
std::span<const MenuEntry> HelpMenuEntries() {
    return kHelpMenu;
}

const std::string& ControlsHelpText() {
    static const std::string text = T(kControlsHelp);
    return text;
}

const std::string& LicenceText() {
    static const std::string text = T(kLicence);
    return text;
}

} // namespace kx
