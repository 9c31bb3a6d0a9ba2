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

// One entry a line; the trailing blanks of lines 5, 8 and 11 belong to the text.
constexpr const char* kControlsHelp = "/CAPTION/Hilfe zur Steuerung\n"
                                      "/TEXT/\n"
                                      "Der aktive Wurm wird mit den /KEY/Cursor-Tasten/TEXT/ "
                                      "gesteuert.\n"
                                      "\n"
                                      "Falls es mehrere Würmer gibt, so kann der aktive Wurm "
                                      "mit der \n"
                                      "/KEY/TAB-Taste/TEXT/ gewechselt werden.\n"
                                      "\n"
                                      "Mit der /KEY/ESC-Taste/TEXT/ kann jederzeit das Menü "
                                      "geöffnet oder wieder \n"
                                      "geschlossen werden.\n"
                                      "\n"
                                      "Mit der /KEY/F1-Taste/TEXT/ kann die Hilfe zur aktuellen "
                                      "Ebene angezeigt \n"
                                      "werden (wenn es zur aktuellen Ebene eine solche gibt).\n"
                                      "\n"
                                      "Einige Funktionen können auch mit der Maus bedient "
                                      "werden, z.B. die Menüs,\n"
                                      "die Tastatur reicht aber vollkommen aus.\n";

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
