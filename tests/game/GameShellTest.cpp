// Tests of the shell's start-up, input handlers, timer step and paint on the headless host.
#include "ShellWorld.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "fielddraw/DrawCells.h"
#include "game/GameTexts.h"
#include "storage/ResourceArchive.h"

namespace {

using kxtest::ShellWorld;
using Ids = std::vector<int32_t>;

class Shell : public ShellWorld {};

// Corn to eat and ghosts to meet: a level in which something changes most steps.
const std::vector<std::string> kBusyLevel = {"############", "#bW..c...c.#", "#.........g#",
                                             "#..c....c..#", "#....g.....#", "#.c......c.#",
                                             "#..........#", "############"};

TEST_F(Shell, TwoLevelsOnTheCommandLineStartInTheFirstWithoutTitleOrMenu) {
    Level("a", kxtest::kCalmLevel);
    Level("b", kxtest::kWonLevel);
    ASSERT_TRUE(Start("/level:" + program.Path("a.kxlev") + " /level:" + program.Path("b.kxlev")));
    EXPECT_EQ(shell->Levels(), (std::vector<std::string>{"#|" + program.Path("a.kxlev"),
                                                         "#|" + program.Path("b.kxlev")}));
    EXPECT_EQ(Game().currentLevel, 1);
    EXPECT_FALSE(Game().play.notInLevel);
    EXPECT_FALSE(shell->Menu().IsOpen());
    shell->ExecuteCommand(kx::CMD_NEXT_LEVEL);
    EXPECT_EQ(Game().play.cornLeft, 1);
}

TEST_F(Shell, EscClosesTheTitleMenuAndOpensItAgainButNeverEndsTheProgram) {
    Level("a", kxtest::kCalmLevel);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(shell->Menu().IsOpen());
    shell->OnCancel();
    EXPECT_FALSE(shell->Menu().IsOpen());
    shell->OnCancel();
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
    EXPECT_FALSE(host.quitPosted);
}

TEST_F(Shell, APanelSwallowsEnterEscAndClicksAndBlocksTheCursorKeys) {
    Level("a", kxtest::kCalmLevel, "/CAPTION/Hilfe\nZeile zwei");
    ASSERT_TRUE(Start("/level:" + program.Path("a.kxlev")));
    ASSERT_TRUE(shell->Panel().IsVisible());
    EXPECT_EQ(shell->Panel().GetLines(),
              (std::vector<std::string>{"/CAPTION/Hilfe", "Zeile zwei"}));
    int32_t before = Game().play.worms[0].queued1;
    shell->OnKeyDown(kx::PlayKey::Up);
    EXPECT_EQ(Game().play.worms[0].queued1, before);
    shell->OnOk();
    EXPECT_FALSE(shell->Panel().IsVisible());
    EXPECT_FALSE(shell->Menu().IsOpen());

    shell->ShowLevelHelp();
    ASSERT_TRUE(shell->Panel().IsVisible());
    shell->OnCancel();
    EXPECT_FALSE(shell->Panel().IsVisible());
    EXPECT_FALSE(shell->Menu().IsOpen());

    shell->ShowLevelHelp();
    shell->OnClick(1, 1);
    EXPECT_FALSE(shell->Panel().IsVisible());

    shell->ShowLevelHelp();
    shell->ShowMainMenu(); // opening a menu hides the panel
    EXPECT_FALSE(shell->Panel().IsVisible());
    shell->ExecuteCommand(kx::CMD_CONTROLS_HELP); // showing a text closes the menu
    EXPECT_FALSE(shell->Menu().IsOpen());
}

TEST_F(Shell, TabSwitchesTheWormWhileAMenuOrThePanelIsShown) {
    Level("two", {"#######", "#bW...#", "#.....#", "#bw...#", "#######"}, "Hilfe");
    ASSERT_TRUE(Start("/level:" + program.Path("two.kxlev")));
    ASSERT_TRUE(shell->Panel().IsVisible());
    ASSERT_EQ(Game().play.worms.size(), 2u);
    EXPECT_EQ(Game().play.activeWorm, 0);
    shell->OnKeyDown(kx::PlayKey::Tab);
    EXPECT_EQ(Game().play.activeWorm, 1);
    shell->OnCancel();
    shell->OnCancel();
    ASSERT_TRUE(shell->Menu().IsOpen());
    shell->OnKeyDown(kx::PlayKey::Tab);
    EXPECT_EQ(Game().play.activeWorm, 0);
    EXPECT_EQ(Game().play.field.CellAt(2, 1).creature, kx::CREATURE_WORM_CURRENT);
    EXPECT_EQ(Game().play.field.CellAt(2, 3).creature, kx::CREATURE_WORM_HEAD);
}

TEST_F(Shell, CursorKeysMoveTheSelectionOfAnOpenMenuAndSteerOtherwise) {
    Level("a", {"#######", "#.....#", "#bW...#", "#.....#", "#######"});
    ASSERT_TRUE(Start("/level:" + program.Path("a.kxlev")));
    shell->OnCancel();
    shell->OnKeyDown(kx::PlayKey::Down);
    shell->OnKeyDown(kx::PlayKey::Down);
    shell->OnKeyDown(kx::PlayKey::Left);
    EXPECT_EQ(shell->Menu().GetSelection(), 2);
    shell->OnCancel();
    shell->OnKeyDown(kx::PlayKey::Up);
    EXPECT_EQ(Game().play.worms[0].queued1, kx::DIR_UP);
}

TEST_F(Shell, AClickExecutesTheItemDrawnThereAndNothingElse) {
    Level("a", kxtest::kCalmLevel);
    ASSERT_TRUE(Start());
    Steps(1);
    const auto& items = shell->Menu().GetItems();
    ASSERT_EQ(items.size(), 4u);
    kx::SurfaceRect help = items[2].hit;
    ASSERT_TRUE(items[2].hasHit);
    // Inside the box, left of every item.
    shell->OnClick(kx::kClientSize / 2 - shell->Menu().GetWidth() / 2 + 2,
                   (help.top + help.bottom) / 2);
    EXPECT_EQ(MenuIds(), (Ids{2, 14, 10, 7}));
    shell->OnClick(help.right, help.bottom);
    EXPECT_EQ(MenuIds(), (Ids{11, 12, 13, 15, 8}));
    // The help menu has not been painted yet: its items cannot be hit.
    shell->OnClick(help.left, help.top);
    EXPECT_EQ(MenuIds(), (Ids{11, 12, 13, 15, 8}));
}

TEST_F(Shell, ATimerStepInWhichNothingMovesDoesNotRepaint) {
    Level("a", kxtest::kCalmLevel);
    ASSERT_TRUE(Start("/level:" + program.Path("a.kxlev")));
    Steps(300);
    int before = host.repaints;
    Steps(10);
    EXPECT_EQ(host.repaints, before);
    shell->OnCancel();
    Steps(1);
    EXPECT_EQ(host.repaints, before + 1);
}

// The window's loop sleeps through the steps the look ahead names: none of them may repaint or
// sound, on the title screen, in a level played with keys, a rewind, a notice and its end.
TEST_F(Shell, TheLookAheadNeverSleepsThroughAStepThatChangesAnything) {
    ASSERT_TRUE(Start());
    int steps = 0;
    int wakes = 0;
    const int repaintsAtStart = host.repaints;
    const auto run = [&](int count, const std::function<void(int)>& input) {
        for (const int end = steps + count; steps < end;) {
            input(steps);
            const uint64_t ahead = shell->StepsUntilPictureChanges(20);
            ASSERT_GE(ahead, 1u);
            ASSERT_LE(ahead, 20u);
            for (uint64_t i = 1; i < ahead; ++i, ++steps) {
                const int repaints = host.repaints;
                const size_t soundsBefore = sounds.names.size();
                const bool menuOpen = shell->Menu().IsOpen();
                Steps(1);
                ASSERT_EQ(host.repaints, repaints) << "step " << steps << " of " << ahead;
                ASSERT_EQ(sounds.names.size(), soundsBefore) << "step " << steps;
                ASSERT_EQ(shell->Menu().IsOpen(), menuOpen) << "step " << steps;
            }
            Steps(1);
            ++steps;
            ++wakes;
        }
    };
    run(1500, [](int) {});
    const int titleRepaints = host.repaints - repaintsAtStart;
    // Most steps of the title screen are slept through: a wake for each picture, and one
    // every 20 steps at the most.
    EXPECT_GT(titleRepaints, 50);
    EXPECT_LE(wakes, titleRepaints + 1500 / 20 + 5);

    // Corn to eat, ghosts to meet, and the won or lost menu to leave again.
    ASSERT_TRUE(Start("/level:" + Level("busy", kBusyLevel)));
    const kx::PlayKey keys[] = {kx::PlayKey::Right, kx::PlayKey::Down, kx::PlayKey::Left,
                                kx::PlayKey::Up};
    run(3000, [&](int step) {
        if (step % 97 == 0)
            shell->OnKeyDown(keys[(step / 97) % 4]);
        if (step % 701 == 0)
            shell->OnRewind();
        if (step % 401 == 0)
            shell->ShowNotice("Ton aus");
        if (step % 350 == 0 && shell->Menu().IsOpen())
            shell->OnOk();
    });
    EXPECT_GT(sounds.names.size(), 0u);
}

// A paint draws again only the cells that changed and the overlays over them: its picture must
// be that of a whole paint, and its areas must hold every pixel that differs from the last.
TEST_F(Shell, APaintOfWhatChangedIsTheWholePaintAndItsAreasHoldEveryChangedPixel) {
    constexpr int32_t kSize = kx::kClientSize;
    kx::CDrawDevice24 last;
    int paints = 0;
    int partPaints = 0;
    const auto row = [](const kx::CDrawDevice24& s, int32_t y) {
        return s.GetPixels() + static_cast<size_t>(s.GetStride()) * (kSize - 1 - y);
    };
    const auto check = [&] {
        const kx::CDrawDevice24& now = shell->Paint(kSize, kSize);
        const std::vector<kx::SurfaceRect> areas = shell->PaintedAreas();
        ++paints;
        if (areas != std::vector<kx::SurfaceRect>{{0, 0, kSize, kSize}})
            ++partPaints;
        if (last.HasPixels()) {
            for (int32_t y = 0; y < kSize; ++y) {
                if (std::memcmp(row(now, y), row(last, y), 3 * kSize) == 0)
                    continue;
                for (int32_t x = 0; x < kSize; ++x) {
                    if (now.GetPixel(x, y) == last.GetPixel(x, y))
                        continue;
                    const bool held = std::any_of(areas.begin(), areas.end(), [&](auto& r) {
                        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                    });
                    ASSERT_TRUE(held) << "pixel " << x << "," << y << " of paint " << paints;
                }
            }
        }
        last.Create(kSize, kSize);
        last.CopyArea(now, {0, 0, kSize, kSize});
        // Another size first: the next paint is a whole one.
        shell->Paint(kSize + kx::kCellPixels, kSize);
        const kx::CDrawDevice24& whole = shell->Paint(kSize, kSize);
        for (int32_t y = 0; y < kSize; ++y)
            ASSERT_EQ(std::memcmp(row(whole, y), row(last, y), 3 * kSize), 0)
                << "row " << y << " of paint " << paints;
    };
    const auto steps = [&](int count, const std::function<void(int)>& input) {
        for (int step = 0; step < count && !HasFatalFailure(); ++step) {
            input(step);
            Steps(1);
        }
    };
    ASSERT_TRUE(Start());
    host.SetRepaintHandler(check);
    // The title screen's play under its menu, the selection moved, a text shown and closed.
    steps(600, [&](int step) {
        if (step % 150 == 0)
            shell->OnKeyDown(kx::PlayKey::Down);
        if (step == 300)
            shell->ExecuteCommand(kx::CMD_CONTROLS_HELP);
        if (step == 450)
            shell->OnOk();
    });
    ASSERT_TRUE(Start("/level:" + Level("busy", kBusyLevel)));
    host.SetRepaintHandler(check);
    // Corn eaten under its counter, keys, rewinds, notices, the hint and the pause, the end's
    // menu left again.
    const kx::PlayKey keys[] = {kx::PlayKey::Right, kx::PlayKey::Down, kx::PlayKey::Left,
                                kx::PlayKey::Up};
    steps(2000, [&](int step) {
        if (step % 97 == 0)
            shell->OnKeyDown(keys[(step / 97) % 4]);
        if (step % 501 == 0)
            shell->OnRewind();
        if (step % 301 == 0)
            shell->ShowNotice("Ton aus");
        if (step % 700 == 350)
            shell->OnHint();
        if (step % 700 == 420)
            shell->OnSpace();
        if (step % 350 == 0 && shell->Menu().IsOpen())
            shell->OnOk();
    });
    EXPECT_GT(paints, 100);
    // Most paints of these screens are of parts only.
    EXPECT_GT(partPaints, paints / 2);
}

TEST_F(Shell, WithoutAnyLevelStartUpFailsWithItsMessage) {
    program.Write("levels.lst", "\n"); // and so without the built-in levels
    ASSERT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Keine Level gefunden");
    EXPECT_EQ(host.messages[0].icon, kx::MessageIcon::None);
}

TEST_F(Shell, WithoutACounterStartUpFails) {
    Level("a", kxtest::kCalmLevel);
    host.SetCounterFrequency(0);
    ASSERT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "System Timer not found.");
    EXPECT_EQ(host.messages[0].icon, kx::MessageIcon::Error);
}

TEST_F(Shell, AnArchiveWithoutSpriteSheetsEndsStartUpWithTheSheetsMessage) {
    // Every font of the real archive, no image.
    kx::CResourceArchive real;
    real.LoadArchiveFile(kxtest::kArchivePath);
    std::vector<kx::ArchiveSource> sources;
    for (size_t i = 0; i < real.GetCount(); ++i) {
        const kx::CResource& r = real.ResourceAt(i);
        if (r.kind != "image")
            sources.push_back({r.kind, r.name, r.data.data, r.data.size});
    }
    std::filesystem::remove(program.Path("Krawlix.bfres"));
    {
        kx::CFileEx file(false);
        file.SetPath(program.Path("Krawlix.bfres"));
        ASSERT_TRUE(file.OpenWrite());
        ASSERT_TRUE(kx::WriteArchive(file, sources));
    }
    Level("a", kxtest::kCalmLevel);
    ASSERT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Failed to load imgfull.bmp.");
}

TEST_F(Shell, AnArchiveThatCannotBeReadEndsStartUpWithTheErrorsText) {
    std::filesystem::remove(program.Path("Krawlix.bfres"));
    program.Write("Krawlix.bfres", "not an archive");
    Level("a", kxtest::kCalmLevel);
    ASSERT_FALSE(Start());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, kx::MessageIcon::Error);
    EXPECT_FALSE(host.messages[0].text.empty());
}

TEST_F(Shell, AFrameWhollyCoveredByGroundIsExactlyTheCells) {
    std::vector<std::string> rows(40, "#" + std::string(38, '.') + "#");
    rows.front() = rows.back() = std::string(40, '#');
    rows[20] = "#" + std::string(18, '.') + "bW" + std::string(18, '.') + "#";
    rows[30][5] = '~';
    rows[12][25] = 'k';
    Level("big", rows);
    ASSERT_TRUE(Start("/level:" + program.Path("big.kxlev")));
    shell->Paint(650, 650); // whatever the surface held before
    const kx::CDrawDevice24& frame = shell->Paint(650, 650);
    kx::CDrawDevice24 cells;
    ASSERT_TRUE(cells.Create(650, 650));
    cells.Clear(0x123456);
    int32_t offsetX = static_cast<int32_t>(Game().viewX / 10 + 0.5) - 325;
    int32_t offsetY = static_cast<int32_t>(Game().viewY / 10 + 0.5) - 325;
    kx::DrawCells(Game().play.field, cells, shell->Resources().GetOpaqueSprites(),
                  shell->Resources().GetTransparentSprites(), offsetX, offsetY);
    int differing = 0;
    for (int32_t y = 0; y < 650; ++y)
        for (int32_t x = 0; x < 650; ++x)
            differing += frame.GetPixel(x, y) != cells.GetPixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(Shell, TheCornCounterShowsHundredsTensAndUnits) {
    std::vector<std::string> rows = {std::string(40, '#')};
    for (int y = 0; y < 7; ++y)
        rows.push_back("#" + std::string(38, 'c') + "#");
    rows.push_back("#bW" + std::string(36, '.') + "#");
    rows.push_back(std::string(40, '#'));
    rows[1][1] = '.'; // 7 * 38 - 1 = 265 corn; 28 more go below
    for (int i = 0; i < 28; ++i)
        rows[2 + i % 6][1 + i / 6] = '.';
    Level("many", rows);
    ASSERT_TRUE(Start("/level:" + program.Path("many.kxlev")));
    ASSERT_EQ(Game().play.cornLeft, 237);
    const kx::CDrawDevice24& frame = shell->Paint(650, 650);
    const kx::CImageList24& sprites = shell->Resources().GetTransparentSprites();
    // The counter's row, painted again from the sprites alone, agrees pixel for pixel.
    kx::CDrawDevice24 expected;
    ASSERT_TRUE(expected.Create(650, 650));
    for (int32_t y = 616; y < 650; ++y)
        for (int32_t x = 0; x < 650; ++x)
            expected.SetPixel(x, y, 0x000001);
    const std::vector<std::pair<int32_t, int32_t>> icons = {
        {4, 252},   {29, 252},  {54, 253},  {73, 253},  {92, 253},  {111, 254},
        {122, 254}, {133, 254}, {144, 254}, {155, 254}, {166, 254}, {177, 254}};
    for (auto [x, sprite] : icons)
        sprites.DrawCell(expected, x, 616, sprite);
    for (int32_t y = 616; y < 648; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            if (expected.GetPixel(x, y) != 0x000001) {
                ASSERT_EQ(frame.GetPixel(x, y), expected.GetPixel(x, y)) << x << "," << y;
            }
        }
    }
}

} // namespace
