// R, Backspace and H in the shell on the headless host: restart, rewind and the solver's hint.
#include "ShellWorld.h"

#include "game/GameTexts.h"
#include "solver/Solver.h"
#include "storage/TextCodec.h"

namespace {

using kxtest::ShellWorld;
using Pause = kx::CGameShell::PauseKind;

// Open ground with one corn below and to the right: the worm, running right, must turn down.
// Water above it is fatal.
const std::vector<std::string> kTurnLevel = {"#########", "#~~~~~~~#", "#bW.....#",
                                             "#.......#", "#....c..#", "#########"};
// A ghost walks (from the shell's generator) while the worm is steered around.
const std::vector<std::string> kGhostLevel = {"###########", "#.........#", "#bW.......#",
                                              "#.........#", "#.....g...#", "#...c.....#",
                                              "###########"};

class PauseHint : public ShellWorld {
protected:
    void Play(const std::vector<std::string>& rows, const std::string& help = "") {
        ASSERT_TRUE(Start("/level:" + Level("level", rows, help)));
        shell->OnOk(); // the help text, if any
    }
    // Asks for a hint and waits for it, as krawlix-tool shot does.
    kx::Hint AskHint() {
        shell->OnHint();
        shell->WaitForHint();
        Steps(1);
        EXPECT_TRUE(shell->ShownHint().has_value());
        return shell->ShownHint().value_or(kx::Hint{});
    }
};

TEST_F(PauseHint, RRestartsAtOnceWithoutTheHelpTextInALevelAndInTheEndMenusOnly) {
    Play(kTurnLevel, "Hilfe zur Ebene");
    shell->OnKeyDown(kx::PlayKey::Down);
    Steps(30);
    sounds.names.clear();
    shell->OnRestart();
    EXPECT_FALSE(shell->Panel().IsVisible());
    EXPECT_TRUE(shell->AttemptTape().keys.empty());
    EXPECT_EQ(Game().play.worms[0].Head(), (kx::SegmentPos{2, 2}));
    EXPECT_EQ(sounds.names, std::vector<std::string>{"confirm"});

    shell->ShowMainMenu(); // another menu: R does nothing
    Steps(5);
    shell->OnRestart();
    EXPECT_TRUE(shell->Menu().IsOpen());
    EXPECT_EQ(shell->LevelTimeMs(), 50u);

    // Up into the water, then R from the lost menu: the level runs again from its start.
    shell->OnCancel();
    shell->OnKeyDown(kx::PlayKey::Up);
    Steps(500);
    ASSERT_TRUE(shell->Menu().IsOpen());
    ASSERT_EQ(shell->Menu().GetCaption(), kx::T(kx::kLostMenuCaption));
    shell->OnRestart();
    EXPECT_FALSE(shell->Menu().IsOpen());
    EXPECT_EQ(Game().play.worms.size(), 1u);
    EXPECT_EQ(Game().currentLevel, 1);
}

TEST_F(PauseHint, BackspaceRestoresTheWholeStateBeforeEachKeyAndTheSameKeysGiveTheSameFuture) {
    Play(kGhostLevel);
    Steps(37);
    const kx::PlayState beforeFirst = Game().play;
    shell->OnKeyDown(kx::PlayKey::Down);
    Steps(41);
    const kx::PlayState beforeSecond = Game().play;
    shell->OnKeyDown(kx::PlayKey::Left);
    Steps(60);
    const kx::PlayState later = Game().play;
    ASSERT_FALSE(Game().play.ghosts.empty());

    shell->OnRewind();
    EXPECT_EQ(shell->Pause(), Pause::Rewound);
    EXPECT_EQ(Game().play, beforeSecond);
    Steps(50); // it waits
    EXPECT_EQ(Game().play, beforeSecond);
    // The same key gives the same future, ghosts and generator included.
    shell->OnKeyDown(kx::PlayKey::Left);
    EXPECT_EQ(shell->Pause(), Pause::None);
    Steps(60);
    EXPECT_EQ(Game().play, later);

    shell->OnRewind();
    shell->OnRewind();
    EXPECT_EQ(Game().play, beforeFirst);
    shell->OnRewind();
    shell->OnRewind(); // the level's start, and no further
    EXPECT_EQ(shell->LevelTimeMs(), 0u);
    EXPECT_TRUE(shell->AttemptTape().keys.empty());
    EXPECT_EQ(Game().play.worms[0].Head(), (kx::SegmentPos{2, 2}));
    // Enter goes on without a key.
    shell->OnOk();
    EXPECT_EQ(shell->Pause(), Pause::None);
    Steps(3);
    EXPECT_EQ(shell->LevelTimeMs(), 30u);
}

TEST_F(PauseHint, AFatalMoveIsTakenBackFromTheLostMenuAndTheTapeOfTheWinReplaysToWon) {
    Play(kTurnLevel);
    Steps(40);
    shell->OnKeyDown(kx::PlayKey::Up); // into the water: fatal
    Steps(20);
    shell->OnKeyDown(kx::PlayKey::Left);
    Steps(600);
    ASSERT_TRUE(shell->Menu().IsOpen());
    ASSERT_EQ(shell->Menu().GetCaption(), kx::T(kx::kLostMenuCaption));
    shell->OnRewind();
    EXPECT_FALSE(shell->Menu().IsOpen());
    EXPECT_EQ(shell->Pause(), Pause::Rewound);
    shell->OnRewind();
    shell->OnRewind();
    EXPECT_EQ(shell->LevelTimeMs(), 0u);
    // Played right from the start: the hint's keys, each at its time.
    for (int guard = 0; guard < 10 && !shell->Menu().IsOpen(); ++guard) {
        const kx::Hint hint = AskHint();
        if (hint.kind != kx::Hint::Kind::Key)
            break;
        shell->OnSpace();
        while (shell->LevelTimeMs() < hint.timeMs)
            Steps(1);
        // The head stands where the arrow was drawn when the key is due.
        EXPECT_EQ(Game().play.worms[0].Head(), (kx::SegmentPos{static_cast<uint16_t>(hint.cellX),
                                                               static_cast<uint16_t>(hint.cellY)}));
        shell->OnKeyDown(hint.key);
        Steps(1);
    }
    shell->OnSpace(); // the last hint: no key needed any more
    Steps(600);
    ASSERT_TRUE(shell->Menu().IsOpen());
    ASSERT_EQ(shell->Menu().GetCaption(), kx::T(kx::kWonMenuCaption));
    const kx::Tape tape = shell->AttemptTape();
    EXPECT_EQ(tape.expect, std::optional<std::string>("won"));
    kx::CGame replay;
    replay.Random().Seed(tape.seed);
    kx::CGameFieldBase field;
    kxtest::DrawField(field, kTurnLevel);
    replay.play.field = field;
    kx::PlayOptions options;
    options.keys = tape.keys;
    options.untilMs = *tape.untilMs;
    const kx::PlayOutcome outcome = kx::PlayHeadless(replay, options);
    EXPECT_EQ(outcome.result, kx::PlayResult::Won);
    EXPECT_EQ(outcome.timeMs, *tape.untilMs);
}

TEST_F(PauseHint, TheHintIsTheSolversFirstKeyAndSaysSoWhenNothingWinsOrNothingIsFound) {
    Play(kGhostLevel);
    Steps(23);
    shell->OnKeyDown(kx::PlayKey::Down);
    Steps(9);
    const kx::PlayState state = Game().play;
    const kx::Hint hint = AskHint();
    EXPECT_EQ(shell->Pause(), Pause::Hint);
    EXPECT_EQ(Game().play, state); // the level stood still
    kx::SolveResult answer = kx::SolveFrom(state, shell->LevelTimeMs(), {});
    ASSERT_EQ(answer.status, kx::SolveStatus::Solved);
    ASSERT_EQ(hint.kind, kx::Hint::Kind::Key);
    EXPECT_EQ(hint.key, answer.keys.front().key);
    EXPECT_EQ(hint.timeMs, answer.keys.front().timeMs);
    // H again goes on.
    shell->OnHint();
    EXPECT_EQ(shell->Pause(), Pause::None);
    EXPECT_FALSE(shell->ShownHint());

    // Running into the arrow is certain: proven, and said so.
    shell->ExecuteCommand(kx::CMD_MAIN_MENU);
    ASSERT_TRUE(Start("/level:" + Level("lost", kxtest::kLostLevel)));
    EXPECT_EQ(AskHint().kind, kx::Hint::Kind::Unwinnable);
    // A key goes on and cancels; a search given up leaves nothing behind.
    shell->OnKeyDown(kx::PlayKey::Tab);
    EXPECT_EQ(shell->Pause(), Pause::None);
    shell->OnHint();
    shell->OnKeyDown(kx::PlayKey::Up);
    EXPECT_EQ(shell->Pause(), Pause::None);
    EXPECT_FALSE(shell->ShownHint());
}

} // namespace
