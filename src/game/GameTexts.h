// The game's fixed texts: the six menu tables, the maker's addresses, the controls help and
// the licence.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "GameMenu.h"

namespace kx {

// Command identifiers of the menus.
enum MenuCommand : int32_t {
    CMD_QUIT = 1,
    CMD_NEW_GAME = 2,
    CMD_RESTART = 3,
    CMD_NEXT_LEVEL = 4,
    CMD_PREVIOUS_LEVEL = 5,
    CMD_CLOSE_MENU = 6,
    CMD_QUIT_MENU = 7,
    CMD_MAIN_MENU = 8,
    CMD_CONTINUE = 9,
    CMD_HELP_MENU = 10,
    CMD_CONTROLS_HELP = 11,
    CMD_WEB_SITE = 12,
    CMD_FORUM = 13,
    CMD_LEVEL_MENU = 14,
    CMD_LICENCE = 15,
    CMD_LEVEL_FIRST = 10000, // + index of the level list entry
    CMD_LEVEL_LAST = 19999,
};

inline constexpr int32_t kVersionMajor = 1;
inline constexpr int32_t kVersionMinor = 3;
inline constexpr const char* kMakerWebSite = "https://www.halvane.example/";
inline constexpr const char* kMakerForum = "https://forum.halvane.example/";

// Captions (UTF-8 in the source).
inline constexpr const char* kMainMenuCaption = "Krawlix";
inline constexpr const char* kQuitMenuCaption = "Krawlix wirklich beenden?";
inline constexpr const char* kWonMenuCaption = "Gratulation! Du hast es geschafft.";
inline constexpr const char* kLostMenuCaption = "Das ging daneben. Gib nur nicht auf!";
inline constexpr const char* kHelpMenuCaption = "Hilfe zu Krawlix V%d.%d";
inline constexpr const char* kLevelMenuCaption = "Ebene direkt auswählen";
inline constexpr const char* kContinueText = "Spiel fortsetzen (Level %d)";
inline constexpr const char* kMainMenuText = "Hauptmenü";

std::span<const MenuEntry> MainMenuEntries();
std::span<const MenuEntry> QuitMenuEntries();
std::span<const MenuEntry> WonMenuEntries();
std::span<const MenuEntry> LostMenuEntries();
std::span<const MenuEntry> HelpMenuEntries();

// The built-in controls help (Windows-1252), as the mark-up of the text panel.
const std::string& ControlsHelpText();
// What the game may be used, shared and changed under (Windows-1252 mark-up, as above;
// "//" is a slash).
const std::string& LicenceText();

} // namespace kx
