// krawlix-tool play: headless play of compiled test levels, tapes recorded and replayed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {

using ToolRun = kxtest::ToolResult;

std::string ReadText(const fs::path& p) {
    return kxtest::ReadFileBytes(p);
}

void WriteText(const fs::path& p, const std::string& text) {
    kxtest::WriteFileBytes(p, text);
}

class PlayCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kx_play_cmd_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun Tool(const std::vector<std::string>& args) { return kxtest::RunTool(args, dir); }

    // Compiles tests/data/rules/NAME.txt and returns the level file's path.
    std::string Level(const std::string& name) {
        fs::path out = dir / (name + ".kxlev");
        ToolRun run =
            Tool({"level", "compile",
                  (fs::path(KX_TEST_DATA_DIR) / "rules" / (name + ".txt")).string(), out.string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return out.string();
    }

    fs::path dir;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(PlayCommand, ACorridorWithCornAtTheEndIsWonWithOneKey) {
    ToolRun run = Tool({"play", Level("corridor"), "--keys", "0:right"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "\"result\":\"won\"")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"sounds\":[\"WormEatCorn\",\"LevelWon\"]")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"cornLeft\":0"));
    EXPECT_TRUE(Has(run.out, "\"worms\":[]"));
    // Five steps of 200 ms reach the corn at 800 ms; three segments leave 80 ms apart.
    EXPECT_TRUE(Has(run.out, "\"timeMs\":1040")) << run.out;
}

TEST_F(PlayCommand, WithoutKeysTheLevelRunsUntilTheGivenTime) {
    ToolRun run = Tool({"play", Level("corridor"), "--until", "1000"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "\"result\":\"running\""));
    EXPECT_TRUE(Has(run.out, "\"timeMs\":1000"));
    EXPECT_TRUE(Has(run.out, "\"segments\":[[2,1],[1,1]]")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"state\":1,\"length\":2,\"direction\":0,\"speedIndex\":8"));
}

TEST_F(PlayCommand, AWormKilledByAWrongWayArrowLosesTheLevel) {
    ToolRun run = Tool({"play", Level("wrong-arrow"), "--keys", "0:right"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "\"result\":\"lost\"")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"cornLeft\":1"));
    EXPECT_TRUE(Has(run.out, "\"sounds\":[\"WormDead\"]"));
}

TEST_F(PlayCommand, TabHandsTheKeysToTheNextWorm) {
    ToolRun run = Tool({"play", Level("two-worms"), "--keys", "0:tab,0:right", "--until", "2000"});
    ASSERT_EQ(run.status, 0);
    // Only the second worm ate; the first still stands at its start.
    EXPECT_TRUE(Has(run.out, "\"cornLeft\":1")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"activeWorm\":1"));
    EXPECT_TRUE(Has(run.out, "[[2,1],[1,1]]"));
}

TEST_F(PlayCommand, OnTheTitleScreenTheKeysSteerNothing) {
    ToolRun run =
        Tool({"play", Level("corridor"), "--title", "--keys", "0:right", "--until", "3000"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "\"result\":\"running\""));
    EXPECT_TRUE(Has(run.out, "\"sounds\":[]"));
    EXPECT_TRUE(Has(run.out, "[[2,1],[1,1]]"));
}

TEST_F(PlayCommand, TheFieldOptionAddsTheLevelDumpOfTheFinalField) {
    std::string level = Level("corridor");
    ToolRun run = Tool({"play", level, "--field", "--until", "0"});
    ASSERT_EQ(run.status, 0);
    ToolRun dump = Tool({"level", "dump", level});
    ASSERT_EQ(dump.status, 0);
    std::string object = dump.out.substr(0, dump.out.find_last_not_of("\n") + 1);
    // Nothing moved and nothing was eaten, so the field is the file's field.
    EXPECT_TRUE(Has(run.out, "\"field\":" + object + "}")) << run.out;
}

TEST_F(PlayCommand, TheSameSeedPlaysTheSameGhostWalk) {
    std::string level = Level("ghost-pen");
    ToolRun a = Tool({"play", level, "--seed", "7", "--until", "5000"});
    ToolRun b = Tool({"play", level, "--seed", "7", "--until", "5000"});
    ToolRun c = Tool({"play", level, "--seed", "8", "--until", "5000"});
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
}

TEST_F(PlayCommand, ARecordedTapeReplaysToTheSameOutcome) {
    std::string level = Level("corridor");
    fs::path tape = dir / "corridor.tape";
    ToolRun recorded =
        Tool({"play", level, "--seed", "5", "--keys", "0:right", "--record", tape.string()});
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    std::string text = ReadText(tape);
    EXPECT_EQ(text, "krawlix-tape 1\nseed 5\nkeys 0:right\nexpect won\n");
    ToolRun replay = Tool({"play", level, "--tape", tape.string()});
    ASSERT_EQ(replay.status, 0) << replay.err;
    EXPECT_TRUE(Has(replay.out, "\"result\":\"won\",\"expected\":\"won\",\"asExpected\":true"))
        << replay.out;
}

TEST_F(PlayCommand, ATapeThatNoLongerWinsSaysSo) {
    fs::path tape = dir / "stale.tape";
    WriteText(tape, "# a stale tape\nkrawlix-tape 1\nseed 1\nkeys\nuntil 500\nexpect won\n");
    ToolRun run = Tool({"play", Level("corridor"), "--tape", tape.string()});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Has(run.out, "\"result\":\"running\",\"expected\":\"won\",\"asExpected\":false"))
        << run.out;
}

// Every NAME.tape beside a level source NAME.txt must still reach its stated result.
TEST_F(PlayCommand, EveryTestLevelTapeStillPlaysAsExpected) {
    int tapes = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(KX_TEST_DATA_DIR) / "rules")) {
        if (entry.path().extension() != ".tape")
            continue;
        ++tapes;
        std::string name = entry.path().stem().string();
        ToolRun run = Tool({"play", Level(name), "--tape", entry.path().string()});
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_TRUE(Has(run.out, "\"asExpected\":true")) << name << ": " << run.out;
    }
    EXPECT_GE(tapes, 2);
}

TEST_F(PlayCommand, BadInputEndsWithStatusOneAndAMessage) {
    std::string level = Level("corridor");
    WriteText(dir / "junk.kxlev", "not a level at all");
    WriteText(dir / "bad.tape", "krawlix-tape 1\nkeys 10:jump\n");
    WriteText(dir / "future.tape", "krawlix-tape 9\n");
    WriteText(dir / "long.tape", "krawlix-tape 1\nuntil 86400010\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"play", (dir / "missing.kxlev").string()}, "cannot open"},
        {{"play", (dir / "junk.kxlev").string()}, "junk.kxlev"},
        {{"play", level, "--keys", "right"}, "bad key"},
        {{"play", level, "--seed", "x"}, "--seed"},
        {{"play", level, "--tape", (dir / "bad.tape").string()}, "line 2"},
        {{"play", level, "--tape", (dir / "future.tape").string()}, "version"},
        {{"play", level, "--tape", (dir / "none.tape").string()}, "cannot read"},
        {{"play"}, "usage"},
        // Beyond a day of level time the clock could wrap and the play never end.
        {{"play", level, "--until", "18446744073709551615"}, "a day of level time"},
        {{"play", level, "--tape", (dir / "long.tape").string()}, "a day of level time"},
    };
    for (const Case& c : cases) {
        ToolRun run = Tool(c.args);
        EXPECT_EQ(run.status, 1) << c.args.back();
        EXPECT_TRUE(Has(run.err, c.message)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

} // namespace
