// krawlix-tool check: the warnings of the level checker on small sources, and its exit codes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {

const char* kHelp = "description /CAPTION/Test\ndescription /TEXT/Friss das Korn /corn/.\n";

class CheckCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kx_check_cmd_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Writes NAME.txt with the text and runs check on it.
    kxtest::ToolResult Check(const std::string& name, const std::string& text) {
        fs::path source = dir / (name + ".txt");
        kxtest::WriteFileBytes(source, text);
        return kxtest::RunTool({"check", source.string()}, dir);
    }

    // The warning lines without the file name in front.
    std::vector<std::string> Lines(const std::string& out) {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < out.size()) {
            size_t end = out.find('\n', start);
            std::string line = out.substr(start, end - start);
            size_t colon = line.find(": ");
            lines.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
            start = end == std::string::npos ? out.size() : end + 1;
        }
        return lines;
    }

    fs::path dir;
};

bool Has(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

TEST_F(CheckCommand, ACleanLevelPrintsNothingAndExitsZero) {
    auto run =
        Check("clean", std::string(kHelp) + "map\n#######\n#bW.c.#\n#.....#\n#######\nend\n");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "");
}

TEST_F(CheckCommand, CornBehindWallsOrInALayerNoSwitchTurnsIsReportedWithItsCell) {
    // (6, 2) is walled in; (5, 1) lies behind a gate that the switch opens, so it counts as
    // reachable; (1, 2) has corn in the switch layer of a cell without a switch number.
    auto run =
        Check("corn", std::string(kHelp) + "legend D base=@ swground=64 swflags=0 switch=0\n"
                                           "legend h switem=0\n"
                                           "map\n########\n#Wb0Dc##\n#h.###c#\n########\nend\n");
    EXPECT_EQ(run.status, 1);
    auto lines = Lines(run.out);
    EXPECT_TRUE(Has(lines, "(6, 2): corn that no worm can reach")) << run.out;
    EXPECT_TRUE(Has(lines, "(1, 2): corn in the switch layer of a cell that belongs to no switch"))
        << run.out;
    EXPECT_FALSE(Has(lines, "(5, 1)")) << run.out;
    EXPECT_EQ(lines.size(), 2u) << run.out;
}

TEST_F(CheckCommand, WormsOnTheBorderInWallsOrWithoutAHeadAreReported) {
    auto run =
        Check("worms", std::string(kHelp) + "legend Q base=# creature=2\n"
                                            "legend P base=B creature=3\n"
                                            "map\n#W######\n#.c.bWbQ\n#..b..P#\n########\nend\n");
    EXPECT_EQ(run.status, 1);
    auto lines = Lines(run.out);
    EXPECT_TRUE(Has(lines, "(1, 0): worm head on the border")) << run.out;
    EXPECT_TRUE(Has(lines, "(6, 2): worm head inside a wall")) << run.out;
    // Heads take their first body neighbour in the order left, right, up, down: (5, 1) takes
    // (4, 1), the head in the block takes (6, 1); (3, 2) and the border body stay unclaimed.
    EXPECT_FALSE(Has(lines, "(4, 1)")) << run.out;
    EXPECT_FALSE(Has(lines, "(6, 1)")) << run.out;
    EXPECT_TRUE(Has(lines, "(3, 2): worm body that no head claims")) << run.out;
    EXPECT_TRUE(Has(lines, "(7, 1): worm body on the border")) << run.out;
    EXPECT_EQ(lines.size(), 5u) << run.out;
}

TEST_F(CheckCommand, FlagsThatContradictWallsBlocksAndFencesAreReported) {
    auto run =
        Check("flags", std::string(kHelp) + "legend 1 ground=8 flags=0\n"
                                            "legend 2 obj=17 flags=2\n"
                                            "legend 3 obj=57 flags=0\n"
                                            "legend 4 flags=2\n"
                                            "legend 5 base=0 swground=0 swflags=2\n"
                                            "legend 6 base=. switch=0\n"
                                            "map\n########\n#Wb1234#\n#c..56.#\n########\nend\n");
    EXPECT_EQ(run.status, 1);
    auto lines = Lines(run.out);
    EXPECT_TRUE(Has(lines, "(3, 1): wall that lets worms or ghosts through")) << run.out;
    EXPECT_TRUE(Has(lines, "(4, 1): block that lets worms or ghosts through")) << run.out;
    EXPECT_TRUE(Has(lines, "(5, 1): ghost fence without the no-ghost flag")) << run.out;
    EXPECT_TRUE(Has(lines, "(6, 1): open floor that worms may not enter")) << run.out;
    EXPECT_TRUE(Has(lines, "(4, 2): wall in the switch layer that lets worms or ghosts through"))
        << run.out;
}

TEST_F(CheckCommand, SwitchesWithoutPartnersAndSwitchedCellsWithoutSwitchAreReported) {
    auto run =
        Check("switches", std::string(kHelp) + "legend s base=. flags=1\n"
                                               "legend D base=@ swground=64 swflags=0 switch=7\n"
                                               "map\n#######\n#Wb1cs#\n#...D.#\n#######\nend\n");
    EXPECT_EQ(run.status, 1);
    auto lines = Lines(run.out);
    EXPECT_TRUE(Has(lines, "(3, 1): switch 1: no other cell has this number")) << run.out;
    EXPECT_TRUE(Has(lines, "(5, 1): switch without a number")) << run.out;
    EXPECT_TRUE(Has(lines, "(4, 2): switched cell of number 7, but no switch has it")) << run.out;
}

TEST_F(CheckCommand, UnknownMarkupTagsAndAMissingDescriptionAreReported) {
    auto tags = Check("tags", "description /CAPTION/Hallo /caption/ a//b /#FF0000/rot /switch.3/\n"
                              "description /KEY/ESC/text/ und /korn/ und /ICE\n"
                              "map\n#####\n#Wbc#\n#####\nend\n");
    EXPECT_EQ(tags.status, 1);
    auto lines = Lines(tags.out);
    EXPECT_EQ(lines.size(), 1u) << tags.out;
    EXPECT_TRUE(Has(lines, "description line 2: unknown mark-up tag /korn/")) << tags.out;

    auto none = Check("none", "map\n#####\n#Wbc#\n#####\nend\n");
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(Has(Lines(none.out), "no description")) << none.out;
}

TEST_F(CheckCommand, ABigFieldUsedLikeASmallOneIsReported) {
    std::string wall(30, '#');
    std::string row = "#" + std::string(28, '.') + "#\n";
    std::string corner = "#Wb.c" + std::string(24, '.') + "#\n";
    std::string small = std::string(kHelp) + "map\n" + wall + "\n" + corner;
    for (int i = 0; i < 27; ++i)
        small += row;
    small += wall + "\nend\n";
    auto run = Check("big", small);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(Lines(run.out), "the field is 30 x 30 cells, larger than the window"))
        << run.out;

    std::string spread = std::string(kHelp) + "map\n" + wall + "\n" + corner;
    for (int i = 0; i < 26; ++i)
        spread += row;
    spread += "#" + std::string(27, '.') + "c#\n" + wall + "\nend\n";
    auto used = Check("spread", spread);
    EXPECT_EQ(used.status, 0) << used.out;
}

TEST_F(CheckCommand, SolveWarnsOnlyWhenNoScriptCanWinAndNamesTheSeedWhereGhostsCanAppear) {
    const fs::path data = KX_TEST_DATA_DIR;
    fs::path lost = dir / "lost.txt", room = dir / "room.txt", haunted = dir / "haunted.txt";
    kxtest::WriteFileBytes(lost, kHelp + kxtest::ReadFileBytes(data / "rules/wrong-arrow.txt"));
    kxtest::WriteFileBytes(room, kHelp + kxtest::ReadFileBytes(data / "solver/room.txt"));
    // The same lost corridor with a larva walled in below it: ghosts could hatch from it.
    kxtest::WriteFileBytes(haunted, std::string(kHelp) + "map\n#########\n#bW..<.c#\n"
                                                         "#########\n#...l...#\n#########\nend\n");

    auto plain = kxtest::RunTool({"check", lost.string(), room.string()}, dir);
    EXPECT_EQ(plain.status, 0) << plain.out;

    auto run =
        kxtest::RunTool({"check", "--solve", lost.string(), room.string(), haunted.string()}, dir);
    EXPECT_EQ(run.status, 1);
    auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(run.out.rfind(lost.string() + ": the level cannot be won: no key script wins", 0), 0u)
        << run.out;
    EXPECT_EQ(
        lines[1].rfind("the level cannot be won with generator seed 1 (ghosts move by chance", 0),
        0u)
        << run.out;

    // A search stopped by its limit proves nothing, so it warns about nothing.
    auto limited = kxtest::RunTool({"check", "--solve", "--max-states", "3", lost.string()}, dir);
    EXPECT_EQ(limited.status, 0) << limited.out;
    EXPECT_EQ(limited.out, "");
}

TEST_F(CheckCommand, AFileThatDoesNotReadGivesExitTwoEvenBesideWarnings) {
    fs::path bad = dir / "bad.kxlev";
    kxtest::WriteFileBytes(bad, "not a level");
    fs::path warned = dir / "warned.txt";
    kxtest::WriteFileBytes(warned, "map\n#####\n#Wbc#\n#####\nend\n");
    auto run = kxtest::RunTool({"check", warned.string(), bad.string()}, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Has(Lines(run.out), "no description")) << run.out;
    EXPECT_NE(run.err.find("bad.kxlev"), std::string::npos) << run.err;
}

} // namespace
