// Tests of the shell's screens on the headless host: titles, the menus each screen offers,
// their commands, the level choice, the end of a level and saving progress.
#include "ShellWorld.h"

#include "game/GameTexts.h"
#include "storage/TextCodec.h"

namespace {

using kxtest::ShellWorld;
using Ids = std::vector<int32_t>;

class Screens : public ShellWorld {
protected:
    void ThreeLevels() {
        Level("alpha", kxtest::kCalmLevel);
        program.Write("levels.lst", "alpha\nbeta\ngamma\n");
        Level("beta", kxtest::kCalmLevel);
        Level("gamma", kxtest::kCalmLevel);
    }
    std::string Utf8Title() const { return kx::Utf8FromCp1252(shell->WindowTitle()); }
};

TEST_F(Screens, EachScreenHasItsWindowTitle) {
    ThreeLevels();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Utf8Title(), "Krawlix - Menü - www.halvane.example");
    shell->ExecuteCommand(kx::CMD_NEW_GAME);
    EXPECT_EQ(Utf8Title(), "Krawlix - Ebene 1 - alpha - www.halvane.example");
    shell->SetLevel(4);
    EXPECT_EQ(Utf8Title(), "Krawlix - Ende - www.halvane.example");
    EXPECT_EQ(host.titles.size(), 3u);
    EXPECT_EQ(host.titles.back(), shell->WindowTitle());
}

TEST_F(Screens, TheTitleMenuOffersContinueOnlyForAStoredLevelThatExists) {
    ThreeLevels();
    ASSERT_TRUE(Start());
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
    EXPECT_TRUE(Game().play.notInLevel);

    host.Profile().SetInt("LastGame", "Level", 2);
    ASSERT_TRUE(Start());
    EXPECT_EQ(MenuIds(), (Ids{2, 9, 14, 10, 7}));
    EXPECT_EQ(shell->Menu().GetItems()[1].text, "Spiel fortsetzen (Level 2)");
    shell->OnKeyDown(kx::PlayKey::Down);
    shell->OnOk();
    EXPECT_EQ(Game().currentLevel, 2);

    host.Profile().SetInt("LastGame", "Level", 4);
    ASSERT_TRUE(Start());
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
}

TEST_F(Screens, TheMainMenuInALevelOffersPreviousFromTheSecondLevelOn) {
    ThreeLevels();
    ASSERT_TRUE(Start());
    shell->SetLevel(1);
    shell->ShowMainMenu();
    EXPECT_EQ(MenuIds(), (Ids{3, 2, 4, 14, 10, 7}));
    shell->SetLevel(2);
    shell->ShowMainMenu();
    EXPECT_EQ(MenuIds(), (Ids{3, 2, 5, 4, 14, 10, 7}));
    shell->ExecuteCommand(kx::CMD_PREVIOUS_LEVEL);
    EXPECT_EQ(Game().currentLevel, 1);
    EXPECT_FALSE(shell->Menu().IsOpen());
}

TEST_F(Screens, WithOneLevelNextLeadsToTheEndScreenWhereOnlyNewGameAndTheRestRemain) {
    Level("only", kxtest::kCalmLevel);
    ASSERT_TRUE(Start("/level:" + program.Path("only.kxlev")));
    EXPECT_EQ(Game().currentLevel, 1);
    EXPECT_FALSE(shell->Menu().IsOpen());
    shell->ShowMainMenu();
    EXPECT_EQ(MenuIds(), (Ids{3, 2, 4, 14, 10, 7}));
    shell->ExecuteCommand(kx::CMD_NEXT_LEVEL);
    EXPECT_EQ(Game().currentLevel, 2);
    EXPECT_TRUE(Game().play.notInLevel);
    shell->ShowMainMenu();
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
    shell->ExecuteCommand(kx::CMD_RESTART);
    EXPECT_EQ(Game().currentLevel, 2);
    EXPECT_EQ(kx::Utf8FromCp1252(shell->WindowTitle()), "Krawlix - Ende - www.halvane.example");
}

TEST_F(Screens, EveryCommandPlaysTheConfirmSoundOnceAndDoesItsPart) {
    ThreeLevels();
    ASSERT_TRUE(Start());
    sounds.names.clear();
    shell->ExecuteCommand(kx::CMD_RESTART); // no level: nothing more
    EXPECT_EQ(Game().currentLevel, 0);
    shell->ExecuteCommand(kx::CMD_QUIT_MENU);
    EXPECT_EQ(MenuIds(), (Ids{1, 6}));
    EXPECT_EQ(kx::Utf8FromCp1252(shell->Menu().GetCaption()), "Krawlix wirklich beenden?");
    shell->ExecuteCommand(kx::CMD_CLOSE_MENU);
    EXPECT_FALSE(shell->Menu().IsOpen());
    shell->ExecuteCommand(kx::CMD_HELP_MENU);
    EXPECT_EQ(MenuIds(), (Ids{11, 12, 13, 15, 8}));
    EXPECT_EQ(shell->Menu().GetCaption(), "Hilfe zu Krawlix V1.3");
    shell->ExecuteCommand(kx::CMD_LICENCE);
    EXPECT_FALSE(shell->Menu().IsOpen());
    ASSERT_TRUE(shell->Panel().IsVisible());
    EXPECT_EQ(shell->Panel().GetLines()[0], "/CAPTION/Lizenz");
    EXPECT_EQ(shell->Panel().GetLines()[3],
              "GNU General Public License, Version 3 oder (nach Deiner Wahl)");
    shell->ExecuteCommand(kx::CMD_WEB_SITE);
    shell->ExecuteCommand(kx::CMD_FORUM);
    EXPECT_EQ(host.opened, (std::vector<std::string>{"https://www.halvane.example/",
                                                     "https://forum.halvane.example/"}));
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
    shell->ExecuteCommand(kx::CMD_CONTROLS_HELP);
    EXPECT_FALSE(shell->Menu().IsOpen());
    EXPECT_TRUE(shell->Panel().IsVisible());
    EXPECT_EQ(shell->Panel().GetLines()[0], "/CAPTION/Hilfe zur Steuerung");
    shell->ExecuteCommand(99);
    EXPECT_FALSE(host.quitPosted);
    shell->ExecuteCommand(kx::CMD_QUIT);
    EXPECT_TRUE(host.quitPosted);
    EXPECT_EQ(sounds.names, std::vector<std::string>(10, "confirm"));
}

TEST_F(Screens, TheLevelChoiceScrollsPastFifteenRowsAndWrapsAround) {
    std::string list;
    for (int i = 0; i < 20; ++i) {
        std::string name = "level" + std::to_string(100 + i);
        Level(name, kxtest::kCalmLevel);
        list += name + "\n";
    }
    program.Write("levels.lst", list);
    ASSERT_TRUE(Start());
    shell->ExecuteCommand(kx::CMD_LEVEL_MENU);
    ASSERT_EQ(shell->Menu().GetItems().size(), 21u);
    EXPECT_EQ(shell->Menu().GetItems()[0].id, 10000);
    EXPECT_EQ(shell->Menu().GetItems()[0].text, "1 level100"); // number and name
    EXPECT_EQ(shell->Menu().GetItems()[20].id, kx::CMD_MAIN_MENU);
    Steps(1); // the paint lays the menu out
    EXPECT_EQ(shell->Menu().GetRows(), 15);
    EXPECT_EQ(shell->Menu().GetHeight(), 17 * 32);

    for (int i = 0; i < 15; ++i)
        shell->OnKeyDown(kx::PlayKey::Down);
    EXPECT_EQ(shell->Menu().GetSelection(), 15);
    EXPECT_EQ(shell->Menu().GetFirst(), 1);
    for (int i = 0; i < 5; ++i)
        shell->OnKeyDown(kx::PlayKey::Down);
    EXPECT_EQ(shell->Menu().GetFirst(), 6);
    shell->OnKeyDown(kx::PlayKey::Down);
    EXPECT_EQ(shell->Menu().GetSelection(), 0);
    EXPECT_EQ(shell->Menu().GetFirst(), 0);
    shell->OnKeyDown(kx::PlayKey::Up);
    EXPECT_EQ(shell->Menu().GetSelection(), 20);
    EXPECT_EQ(shell->Menu().GetFirst(), 6);
    shell->OnKeyDown(kx::PlayKey::Up);
    shell->OnOk();
    EXPECT_EQ(Game().currentLevel, 20);
    EXPECT_EQ(kx::Utf8FromCp1252(shell->WindowTitle()),
              "Krawlix - Ebene 20 - level119 - www.halvane.example");
}

TEST_F(Screens, AnAbsurdlyLongLevelNameIsListedAndDrawnWithoutHarm) {
    Level("alpha", kxtest::kCalmLevel);
    program.Write("levels.lst", "alpha\n" + std::string(1000000, 'W') + "\n");
    ASSERT_TRUE(Start());
    shell->ExecuteCommand(kx::CMD_LEVEL_MENU);
    shell->OnKeyDown(kx::PlayKey::Down);
    Steps(1);
    EXPECT_EQ(shell->Menu().GetItems()[1].text.size(), 1000002u); // "2 " and the name
    EXPECT_EQ(shell->Menu().GetWidth(), (1 << 24) + 64);
    shell->OnOk();
    EXPECT_EQ(Game().currentLevel, 2);
    EXPECT_EQ(Game().play.field.width, 10); // nothing loads: the fallback field
}

TEST_F(Screens, TheLostMenuOpensOnceAndEscClosesItForGood) {
    Level("lost", kxtest::kLostLevel);
    ASSERT_TRUE(Start("/level:" + program.Path("lost.kxlev")));
    shell->OnKeyDown(kx::PlayKey::Right);
    Steps(150);
    ASSERT_TRUE(Game().play.worms.empty());
    EXPECT_EQ(MenuIds(), (Ids{3, 4, 8}));
    EXPECT_EQ(kx::Utf8FromCp1252(shell->Menu().GetCaption()),
              "Das ging daneben. Gib nur nicht auf!");
    shell->OnCancel();
    Steps(20);
    EXPECT_FALSE(shell->Menu().IsOpen());
    shell->OnCancel();
    EXPECT_EQ(MenuIds(), (Ids{3, 2, 4, 14, 10, 7}));
    shell->ExecuteCommand(kx::CMD_RESTART);
    EXPECT_FALSE(Game().play.worms.empty());
    EXPECT_FALSE(Game().endShown);
}

TEST_F(Screens, TheWonMenuWaitsForAnOpenMenuToClose) {
    Level("won", kxtest::kWonLevel);
    ASSERT_TRUE(Start("/level:" + program.Path("won.kxlev")));
    shell->OnKeyDown(kx::PlayKey::Right);
    shell->ShowQuitMenu();
    Steps(300);
    ASSERT_TRUE(Game().play.worms.empty());
    EXPECT_EQ(MenuIds(), (Ids{1, 6}));
    shell->OnCancel();
    Steps(1);
    EXPECT_EQ(MenuIds(), (Ids{4, 3, 8}));
    EXPECT_EQ(kx::Utf8FromCp1252(shell->Menu().GetCaption()), "Gratulation! Du hast es geschafft.");
    shell->OnOk();
    EXPECT_EQ(Game().currentLevel, 2);
}

TEST_F(Screens, ProgressIsStoredFromALevelButNeverFromTheTitleOrEndScreen) {
    ThreeLevels();
    ASSERT_TRUE(Start());
    shell->SaveProgress();
    EXPECT_EQ(host.profileWrites, 0);
    shell->SetLevel(4);
    shell->SaveProgress();
    EXPECT_EQ(host.profileWrites, 0);
    shell->SetLevel(2);
    shell->SaveProgress();
    EXPECT_EQ(host.profileWrites, 1);
    EXPECT_EQ(host.GetProfileInt("LastGame", "Level", 0), 2);
}

TEST_F(Screens, AListEntryThatLoadsNothingIsPlayedOnTheFallbackFieldUnderItsOwnTitle) {
    ASSERT_TRUE(Start("/level:\"" + program.Path("not here.kxlev") + "\""));
    EXPECT_EQ(shell->Levels().size(), 1u);
    EXPECT_EQ(Game().currentLevel, 1);
    EXPECT_EQ(Game().play.field.width, 10);
    EXPECT_EQ(Game().play.cornLeft, 1);
    EXPECT_EQ(shell->WindowTitle(), "Krawlix - Ebene 1 - not here - www.halvane.example");
}

} // namespace
