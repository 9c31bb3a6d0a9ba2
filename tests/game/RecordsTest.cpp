// Records, the level choice, replays and the messages of a level or tape that does not load,
// through the headless host.
#include <filesystem>

#include "ShellWorld.h"
#include "game/GameTexts.h"
#include "levelsource/Tape.h"
#include "storage/TextCodec.h"

namespace {

using kxtest::ShellWorld;

// Won only when Down is pressed before the worm has passed the corn below it.
const std::vector<std::string> kTurnLevel = {"######", "#bW..#", "#.c..#", "######"};

class Records : public ShellWorld {
protected:
    // Steps until the won or lost menu opens (at most ten seconds).
    void PlayToEnd() {
        for (int i = 0; i < 1000 && !Game().endShown; ++i)
            Steps(1);
        ASSERT_TRUE(Game().endShown);
    }
    std::string Note() const { return kx::Utf8FromCp1252(shell->Menu().GetNote()); }
    // The panel's lines as read: joined by blanks, without their tags, "//" a slash.
    std::string PanelText() const {
        std::string text;
        for (const std::string& line : shell->Panel().GetLines())
            text += kx::Utf8FromCp1252(line) + " ";
        std::string plain;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 6, "/TEXT/") == 0)
                i += 5;
            else if (text.compare(i, 2, "//") == 0)
                plain += text[i++];
            else
                plain += text[i];
        }
        return plain;
    }
};

TEST_F(Records, AWinIsComparedWithTheProfilesBestWhichKeepsItsOtherLines) {
    Level("turn", kTurnLevel);
    program.Write("levels.lst", "turn\n");
    const std::string profile = program.Write(
        "Krawlix.conf", "[View]\nZoom=2\n\n[Records]\n; kept\nturn=kaputt\nother=1 2 3\n");
    host.UseProfileFile(profile);
    ASSERT_TRUE(Start());
    shell->SetLevel(1);
    // Three keys (TAB with one worm changes nothing); the damaged line counts as no record.
    for (kx::PlayKey key : {kx::PlayKey::Tab, kx::PlayKey::Tab, kx::PlayKey::Down})
        shell->OnKeyDown(key);
    PlayToEnd();
    EXPECT_EQ(shell->Menu().GetCaption(), kx::T(kx::kWonMenuCaption));
    const kx::Tape first = shell->AttemptTape();
    ASSERT_TRUE(first.untilMs);
    const uint64_t ms = *first.untilMs;
    EXPECT_EQ(Note(), "Geschafft mit 3 Tasten in 0," + std::to_string((ms + 50) / 100) +
                          " s – erster Bestwert");
    const std::string value = std::to_string(ms);
    EXPECT_EQ(kxtest::ReadAll(profile),
              "[View]\nZoom=2\n\n[Records]\n; kept\nturn=3 " + value + "\nother=1 2 3\n");
    EXPECT_EQ(shell->RecordOf(1)->keys, 3u);

    // Better: one key. Worse: two keys; the record and the replay stay the one-key play's.
    shell->ExecuteCommand(kx::CMD_RESTART);
    shell->OnKeyDown(kx::PlayKey::Down);
    PlayToEnd();
    EXPECT_EQ(Note(), "Geschafft mit 1 Taste in 0," + std::to_string((ms + 50) / 100) +
                          " s – neuer Bestwert (bisher 3 Tasten)");
    shell->ExecuteCommand(kx::CMD_RESTART);
    shell->OnKeyDown(kx::PlayKey::Tab);
    shell->OnKeyDown(kx::PlayKey::Down);
    PlayToEnd();
    EXPECT_EQ(Note(), "Geschafft mit 2 Tasten in 0," + std::to_string((ms + 50) / 100) +
                          " s – Bestwert 1 Taste");
    EXPECT_EQ(kxtest::ReadAll(profile),
              "[View]\nZoom=2\n\n[Records]\n; kept\nturn=1 " + value + "\nother=1 2 3\n");

    kx::Tape replay;
    std::string error;
    ASSERT_TRUE(kx::ReadTapeFile(data.Path("Krawlix/replays/turn.tape"), replay, error)) << error;
    EXPECT_EQ(replay.keys.size(), 1u);
    EXPECT_EQ(replay.expect, "won");

    // A damaged replay is replaced by the next win, even one that is no record.
    data.Write("Krawlix/replays/turn.tape", "krawlix-tape 1\nseed x\n");
    shell->ExecuteCommand(kx::CMD_RESTART);
    shell->OnKeyDown(kx::PlayKey::Tab);
    shell->OnKeyDown(kx::PlayKey::Down);
    PlayToEnd();
    ASSERT_TRUE(kx::ReadTapeFile(data.Path("Krawlix/replays/turn.tape"), replay, error)) << error;
    EXPECT_EQ(replay.keys.size(), 2u);
}

TEST_F(Records, TheLevelChoiceNumbersAndMarksItsLevelsOpensAtTheLastAndPagesThrough) {
    // Twenty levels with blanks and umlauts in their names; none needs to exist to be listed.
    std::string list;
    for (int i = 1; i <= 20; ++i)
        list += i == 12 ? kx::T("Glatteis am See Ü") + "\n" : "L" + std::to_string(i) + "\n";
    program.Write("levels.lst", list);
    host.Profile().LoadFromText("[LastGame]\nLevel=12\n[Records]\nGlatteis am See Ü=6 9800\n"
                                "l2=7 12345\nL3=zwei Tasten\n");
    ASSERT_TRUE(Start());
    shell->ExecuteCommand(kx::CMD_LEVEL_MENU);
    const auto& items = shell->Menu().GetItems();
    ASSERT_EQ(items.size(), 21u);
    EXPECT_EQ(kx::Utf8FromCp1252(items[11].text), "12 Glatteis am See Ü");
    EXPECT_TRUE(items[11].marked);
    EXPECT_EQ(kx::Utf8FromCp1252(items[11].detail), "6 Tasten, 9,8 s");
    EXPECT_EQ(items[1].text, "2 L2"); // the profile's names ignore letter case
    EXPECT_EQ(items[1].detail, "7 Tasten, 12,3 s");
    EXPECT_FALSE(items[2].marked); // a damaged record is none
    EXPECT_FALSE(items[0].marked);
    EXPECT_EQ(shell->Menu().GetSelection(), 11);
    EXPECT_EQ(shell->Menu().GetFirst(), 4);

    using Key = kx::CGameShell::MenuKey;
    shell->OnMenuKey(Key::PageDown);
    EXPECT_EQ(shell->Menu().GetSelection(), 20);
    shell->OnMenuKey(Key::PageUp);
    EXPECT_EQ(shell->Menu().GetSelection(), 5);
    EXPECT_EQ(shell->Menu().GetFirst(), 5);
    shell->OnMenuKey(Key::PageUp);
    EXPECT_EQ(shell->Menu().GetSelection(), 0);
    shell->OnMenuKey(Key::End);
    EXPECT_EQ(shell->Menu().GetSelection(), 20);
    EXPECT_EQ(shell->Menu().GetFirst(), 6);
    shell->OnMenuKey(Key::Home);
    EXPECT_EQ(shell->Menu().GetSelection(), 0);
    EXPECT_EQ(shell->Menu().GetFirst(), 0);

    // In a level the choice opens at that level.
    shell->SetLevel(3);
    shell->ExecuteCommand(kx::CMD_LEVEL_MENU);
    EXPECT_EQ(shell->Menu().GetSelection(), 2);
}

TEST_F(Records, ATapeOnTheCommandLinePlaysTheLevelAloneAndABadOneIsSaid) {
    const std::string level = Level("turn", kTurnLevel, "/TEXT/Hilfe zur Ebene");
    kx::Tape tape;
    tape.seed = 5;
    tape.keys = {{0, kx::PlayKey::Down}};
    const std::string tapePath = program.Write("turn.tape", kx::FormatTape(tape));
    ASSERT_TRUE(Start("/level:\"" + level + "\" /tape:\"" + tapePath + "\""));
    EXPECT_FALSE(shell->Panel().IsVisible()); // the help text would cover the replay
    shell->OnKeyDown(kx::PlayKey::Right);     // the player's keys do not reach a replay
    PlayToEnd();
    EXPECT_EQ(shell->Menu().GetCaption(), kx::T(kx::kWonMenuCaption));
    EXPECT_NE(Note().find("Geschafft mit 1 Taste"), std::string::npos) << Note();
    EXPECT_NE(Note().find("Aufnahme"), std::string::npos);
    EXPECT_EQ(host.profileWrites, 0); // a replay keeps no record
    EXPECT_EQ(shell->AttemptTape().seed, 5u);

    const std::string bad = program.Write("bad.tape", "krawlix-tape 1\nkeys 0:sideways\n");
    ASSERT_TRUE(Start("/tape:" + bad + " /level:" + level));
    ASSERT_TRUE(shell->Panel().IsVisible());
    const std::string lines = PanelText();
    EXPECT_NE(lines.find("Die Aufnahme »" + bad + "« konnte nicht gelesen werden"),
              std::string::npos)
        << lines;
    shell->OnOk();
    shell->OnKeyDown(kx::PlayKey::Down); // played without the tape, by the player
    PlayToEnd();
    EXPECT_EQ(shell->Menu().GetCaption(), kx::T(kx::kWonMenuCaption));
}

TEST_F(Records, ALevelThatDoesNotLoadSaysWhichAndWhyAndAMissingArchiveNamesItsSearch) {
    program.Write("broken.kxlev", "no level at all");
    program.Write("levels.lst", "broken\nnowhere\n");
    ASSERT_TRUE(Start());
    shell->SetLevel(1);
    EXPECT_EQ(Game().play.field.width, 10); // the fallback field
    EXPECT_NE(PanelText().find("Die Ebene »" + program.Path("broken.kxlev") +
                               "« konnte nicht geladen werden:"),
              std::string::npos)
        << PanelText();
    shell->SetLevel(2);
    EXPECT_NE(PanelText().find("Die Ebene »nowhere« konnte nicht geladen werden: weder im "
                               "Archiv Krawlix.bfres noch als Datei »" +
                               program.Path("nowhere.kxlev") + "« gefunden."),
              std::string::npos)
        << PanelText();

    std::filesystem::remove(program.Path("Krawlix.bfres"));
    ASSERT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string message = kx::Utf8FromCp1252(host.messages[0].text);
    EXPECT_EQ(message.find("Die Datei \"Krawlix.bfres\" wurde nicht gefunden. Gesucht in: " +
                           program.Path()),
              0u)
        << message;
    EXPECT_NE(message.find(program.Path("Data")), std::string::npos);
    // Each folder once, though the program's folder ends in a separator.
    EXPECT_EQ(message.find(program.Path("Data")), message.rfind(program.Path("Data"))) << message;
}

} // namespace
