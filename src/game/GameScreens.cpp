// CGameShell's screens: SetLevel and the window title, the menus, the commands, the level end.
#include <cstdio>
#include <span>

#include "Background.h"
#include "GameShell.h"
#include "GameTexts.h"
#include "storage/Error.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

std::vector<MenuItem> ItemsOf(std::span<const MenuEntry> entries) {
    std::vector<MenuItem> items;
    items.reserve(64);
    for (const MenuEntry& entry : entries)
        items.push_back({.id = entry.id, .text = T(entry.text)});
    return items;
}

// A message for the text panel: slashes doubled (the mark-up's tags), lines broken at blanks
// so that they fit the window.
std::string ProblemMarkup(const std::string& text) {
    constexpr size_t kLineLength = 64;
    std::string out = "/TEXT/";
    size_t lineStart = out.size();
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\n') {
            out += "\n/TEXT/";
            lineStart = out.size();
            ++i;
            continue;
        }
        size_t end = text.find_first_of(" \n", i);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(i, end - i);
        size_t slashes = 0;
        for (char& c : word)
            slashes += c == '/' ? 1 : 0;
        if (out.size() > lineStart &&
            out.size() - lineStart + word.size() - slashes > kLineLength) {
            out += "\n/TEXT/";
            lineStart = out.size();
        } else if (out.size() > lineStart) {
            out += ' ';
        }
        for (char c : word)
            out += c == '/' ? std::string("//") : std::string(1, c);
        i = end < text.size() && text[end] == ' ' ? end + 1 : end;
    }
    return out;
}

} // namespace

void CGameShell::SetLevel(int32_t n, bool showHelp) {
    int32_t count = LevelCount();
    game.currentLevel = n;
    game.play.notInLevel = n < 1 || n > count;
    game.endShown = false;

    std::string entry = n < 1       ? "BackScreen"
                        : n > count ? "BackScreenEnd"
                                    : levelList[static_cast<size_t>(n - 1)];
    std::string problem;
    if (!LoadLevel(entry, game.play.field, Sources(), &problem)) {
        game.play.ghosts.clear();
        MakeFallbackField(game.play.field);
        // The title and end screens are the installation's; a list's level is the player's.
        problem = n >= 1 && n <= count ? T("Die Ebene ") + problem : std::string();
        if (!problem.empty())
            std::fprintf(stderr, "Krawlix: %s\n", Utf8FromCp1252(problem).c_str());
    } else {
        problem.clear();
    }
    GenerateBackground(background, game.Random());
    scene.Invalidate();
    replay.reset();
    replayNext = 0;
    const auto index = static_cast<size_t>(n - 1);
    if (n >= 1 && index < levelTapes.size()) {
        if (levelTapes[index]) {
            replay = levelTapes[index];
            game.Random().Seed(replay->seed);
        }
        if (!tapeProblems[index].empty())
            problem += (problem.empty() ? "" : "\n\n") + tapeProblems[index];
    }
    attemptSeed = game.Random().SeedOfState();

    attemptKeys.clear();
    attemptSteps = 0;
    attemptEnd.reset();
    game.PrepareLevel();
    pause = PauseKind::None;
    hintSearch.Cancel();
    hint.reset();
    rewindPoints.clear();
    rewindPoints.push_back({game.play, 0, 0});
    rewindBytes = 0;
    Checkpoint();

    menu.Close();
    game.RequestRedraw();
    if (!problem.empty())
        ShowText(ProblemMarkup(problem) + (game.play.field.description.empty()
                                               ? std::string()
                                               : "\n\n" + game.play.field.description));
    else if (!game.play.field.description.empty())
        ShowText(game.play.field.description);

    // A replay is watched, not read: its help text would cover the field it plays on.
    if (!showHelp || (replay && problem.empty()))
        panel.Hide();

    if (n < 1)
        windowTitle = T("Krawlix - Menü - ");
    else if (n > count)
        windowTitle = "Krawlix - Ende - ";
    else
        windowTitle = FormatString("Krawlix - Ebene %d - %s - ", n, LevelTitle(entry).c_str());
    windowTitle += kMakerHostName;
    host.SetWindowTitle(windowTitle);
    game.RequestRedraw();
}

void CGameShell::ShowText(const std::string& text) {
    menu.Close();
    game.RequestRedraw();
    panel.SetText(text);
    panel.Show();
    game.RequestRedraw();
}

void CGameShell::OpenMenu(const std::string& caption, std::vector<MenuItem> items) {
    menu.Open(caption, std::move(items));
    AdaptMenu();
}

void CGameShell::AdaptMenu() {
    HidePanel();
    if (IsPlayingLevel()) {
        menu.RemoveItems(CMD_CONTINUE);
    } else {
        menu.RemoveItems(CMD_RESTART);
        menu.RemoveItems(CMD_NEXT_LEVEL);
        menu.RemoveItems(CMD_PREVIOUS_LEVEL);
        if (game.lastGame >= 1 && game.lastGame <= LevelCount() &&
            game.currentLevel <= LevelCount())
            menu.SetItemText(CMD_CONTINUE, FormatString(kContinueText, game.lastGame));
        else
            menu.RemoveItems(CMD_CONTINUE);
    }
    if (game.currentLevel < 2)
        menu.RemoveItems(CMD_PREVIOUS_LEVEL);
    game.RequestRedraw();
}

void CGameShell::ShowMainMenu() {
    OpenMenu(kMainMenuCaption, ItemsOf(MainMenuEntries()));
}

void CGameShell::ShowQuitMenu() {
    OpenMenu(kQuitMenuCaption, ItemsOf(QuitMenuEntries()));
}

void CGameShell::ShowHelpMenu() {
    OpenMenu(FormatString(kHelpMenuCaption, kVersionMajor, kVersionMinor),
             ItemsOf(HelpMenuEntries()));
}

void CGameShell::ShowLevelMenu() {
    std::vector<MenuItem> items;
    items.reserve(64);
    for (size_t i = 0; i < levelList.size() && CMD_LEVEL_FIRST + i <= CMD_LEVEL_LAST; ++i) {
        const auto n = static_cast<int32_t>(i + 1);
        MenuItem item{.id = CMD_LEVEL_FIRST + static_cast<int32_t>(i),
                      .text = std::to_string(n) + " " + LevelTitle(levelList[i])};
        if (auto record = RecordOf(n)) {
            item.marked = true;
            item.detail = RecordText(*record);
        }
        items.push_back(std::move(item));
    }
    items.push_back({.id = CMD_MAIN_MENU, .text = T(kMainMenuText)});
    OpenMenu(T(kLevelMenuCaption), std::move(items));
    // At the level played last: the one on screen, else the stored one.
    const int32_t last = IsPlayingLevel() ? game.currentLevel : game.lastGame;
    if (last >= 1 && last <= LevelCount() && last - 1 <= CMD_LEVEL_LAST - CMD_LEVEL_FIRST)
        menu.Select(last - 1);
}

void CGameShell::ExecuteCommand(int32_t id) {
    game.PlaySound("confirm");
    int32_t current = game.currentLevel;
    switch (id) {
    case CMD_QUIT:
        host.PostQuit();
        break;
    case CMD_NEW_GAME:
        SetLevel(1);
        break;
    case CMD_RESTART:
        if (current >= 1)
            SetLevel(current);
        break;
    case CMD_NEXT_LEVEL:
        if (current >= 1)
            SetLevel(current + 1);
        break;
    case CMD_PREVIOUS_LEVEL:
        if (current > 1)
            SetLevel(current - 1);
        break;
    case CMD_CLOSE_MENU:
        menu.Close();
        game.RequestRedraw();
        break;
    case CMD_QUIT_MENU:
        ShowQuitMenu();
        break;
    case CMD_MAIN_MENU:
        ShowMainMenu();
        break;
    case CMD_CONTINUE:
        if (game.lastGame >= 1 && game.lastGame <= LevelCount())
            SetLevel(game.lastGame);
        break;
    case CMD_HELP_MENU:
        ShowHelpMenu();
        break;
    case CMD_CONTROLS_HELP:
        ShowText(ControlsHelpText());
        break;
    case CMD_LICENCE:
        ShowText(LicenceText());
        break;
    case CMD_WEB_SITE:
        host.OpenWebAddress(kMakerWebSite);
        ShowMainMenu();
        break;
    case CMD_FORUM:
        host.OpenWebAddress(kMakerForum);
        ShowMainMenu();
        break;
    case CMD_LEVEL_MENU:
        ShowLevelMenu();
        break;
    default:
        if (id >= CMD_LEVEL_FIRST && id <= CMD_LEVEL_LAST)
            SetLevel(id - (CMD_LEVEL_FIRST - 1));
        break;
    }
}

void CGameShell::CheckLevelEnd() {
    if (menu.IsOpen() || !game.play.worms.empty() || game.endShown)
        return;
    game.endShown = true;
    if (game.play.cornLeft >= 1)
        OpenMenu(T(kLostMenuCaption), ItemsOf(LostMenuEntries()));
    else {
        OpenMenu(T(kWonMenuCaption), ItemsOf(WonMenuEntries()));
        RecordWin();
    }
}

} // namespace kx
