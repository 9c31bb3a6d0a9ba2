// krawlix-tool solve: answers, exit statuses, recorded tapes that play replays to "won".
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {

using ToolRun = kxtest::ToolResult;

class SolveCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kx_solve_cmd_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun Tool(const std::vector<std::string>& args) { return kxtest::RunTool(args, dir); }

    // Compiles tests/data/PATH.txt and returns the level file's path.
    std::string Level(const std::string& path) {
        fs::path out = dir / (fs::path(path).filename().string() + ".kxlev");
        ToolRun run = Tool({"level", "compile",
                            (fs::path(KX_TEST_DATA_DIR) / (path + ".txt")).string(), out.string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return out.string();
    }

    fs::path dir;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(SolveCommand, EverySolvableTestLevelIsSolvedAndItsRecordedTapeReplaysToWon) {
    for (const char* path : {"rules/corridor", "rules/two-worms", "rules/ghost-pen", "solver/room",
                             "solver/arena", "solver/mixed"}) {
        const std::string level = Level(path);
        const std::string tape = (dir / "solution.tape").string();
        ToolRun run = Tool({"solve", level, "--record", tape});
        ASSERT_EQ(run.status, 0) << path << ": " << run.err << run.out;
        EXPECT_TRUE(Has(run.out, "result: solved")) << run.out;
        ToolRun replay = Tool({"play", level, "--tape", tape});
        ASSERT_EQ(replay.status, 0) << replay.err;
        EXPECT_TRUE(Has(replay.out, "\"result\":\"won\"")) << path << ": " << replay.out;
        EXPECT_TRUE(Has(replay.out, "\"asExpected\":true")) << path << ": " << replay.out;
    }
}

TEST_F(SolveCommand, TwoWormsNeedTabAndThreeKeysAndTheGhostLevelNamesItsSeed) {
    ToolRun two = Tool({"solve", Level("rules/two-worms")});
    ASSERT_EQ(two.status, 0) << two.err;
    EXPECT_TRUE(Has(two.out, "key count: 3")) << two.out;
    EXPECT_TRUE(Has(two.out, "tab")) << two.out;
    ToolRun ghosts = Tool({"solve", Level("rules/ghost-pen"), "--seed", "7"});
    ASSERT_EQ(ghosts.status, 0) << ghosts.err;
    EXPECT_TRUE(Has(ghosts.out, "this holds for seed 7")) << ghosts.out;
}

TEST_F(SolveCommand, AnUnwinnableLevelExitsWithFourAndJsonSaysSoInOneObject) {
    ToolRun run = Tool({"solve", Level("rules/wrong-arrow"), "--json"});
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(run.out.rfind("{\"result\":\"unwinnable\",\"states\":", 0), 0u) << run.out;
    EXPECT_EQ(run.out.back(), '\n');
    ToolRun solved = Tool({"solve", Level("rules/corridor"), "--json"});
    EXPECT_EQ(solved.status, 0);
    EXPECT_TRUE(Has(solved.out, "\"keys\":\"0:right\",\"keyCount\":1,\"winMs\":1040"))
        << solved.out;
}

TEST_F(SolveCommand, ReachingALimitExitsWithThreeAndNamesTheLimitWritingNoTape) {
    const std::string level = Level("solver/arena");
    const std::string tape = (dir / "none.tape").string();
    ToolRun states = Tool({"solve", level, "--max-states", "50", "--record", tape});
    EXPECT_EQ(states.status, 3) << states.err;
    EXPECT_TRUE(Has(states.out, "result: state limit reached")) << states.out;
    ToolRun seconds = Tool({"solve", level, "--max-seconds", "0"});
    EXPECT_EQ(seconds.status, 3) << seconds.err;
    EXPECT_TRUE(Has(seconds.out, "result: time limit reached")) << seconds.out;
    ToolRun memory = Tool({"solve", level, "--max-megabytes", "1", "--record", tape});
    EXPECT_EQ(memory.status, 3) << memory.err;
    EXPECT_TRUE(Has(memory.out, "result: memory limit reached")) << memory.out;
    EXPECT_FALSE(fs::exists(tape));
}

TEST_F(SolveCommand, AFileThatIsNoLevelOrABadOptionExitsWithOne) {
    kxtest::WriteFileBytes(dir / "bad.kxlev", "not a level");
    EXPECT_EQ(Tool({"solve", (dir / "bad.kxlev").string()}).status, 1);
    EXPECT_EQ(Tool({"solve", (dir / "missing.kxlev").string()}).status, 1);
    EXPECT_EQ(Tool({"solve", Level("rules/corridor"), "--max-states", "many"}).status, 1);
    EXPECT_EQ(Tool({"solve", Level("rules/corridor"), "--seed"}).status, 1);
}

} // namespace
