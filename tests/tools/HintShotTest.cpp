// krawlix-tool shot with r, backspace, h and space: the state JSON against shot's own earlier
// states and against solve --after for the same state.
#include <gtest/gtest.h>

#include <string>

#include "ToolRun.h"
#include "game/ShellWorld.h"
#include "levelsource/Tape.h"

using kxtest::RunTool;

namespace {

// The text of a JSON value after "key": up to the matching bracket or quote, or up to the
// next comma.
std::string ValueOf(const std::string& json, const std::string& key) {
    const std::string name = "\"" + key + "\":";
    size_t at = json.find(name);
    if (at == std::string::npos)
        return "(missing)";
    at += name.size();
    if (json[at] == '{' || json[at] == '[') {
        int depth = 0;
        for (size_t i = at; i < json.size(); ++i) {
            depth += json[i] == '{' || json[i] == '['   ? 1
                     : json[i] == '}' || json[i] == ']' ? -1
                                                        : 0;
            if (depth == 0)
                return json.substr(at, i - at + 1);
        }
    }
    if (json[at] == '"')
        return json.substr(at, json.find('"', at + 1) - at + 1);
    return json.substr(at, json.find_first_of(",}", at) - at);
}

// A ghost walks from the generator while the worm is steered towards the corn.
const std::vector<std::string> kGhostLevel = {"###########", "#.........#", "#bW.......#",
                                              "#.........#", "#.....g...#", "#...c.....#",
                                              "###########"};

class HintShot : public testing::Test {
protected:
    HintShot() {
        std::filesystem::create_symlink(kxtest::kArchivePath, program.Path("Krawlix.bfres"));
        kxtest::WriteLevelFile(level, kGhostLevel);
    }
    kxtest::ToolResult Shot(const std::string& keys, uint64_t at,
                            std::vector<std::string> more = {}) const {
        std::vector<std::string> args = {"shot", "--program-dir", program.Path(),     "--keys",
                                         keys,   "--at",          std::to_string(at), "--state"};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back("--");
        args.push_back("/level:" + level);
        return RunTool(args, output.Path());
    }
    kxtest::TempFolder program;
    kxtest::TempFolder output;
    std::string level = program.Path("ghost.kxlev");
};

TEST_F(HintShot, BackspaceAndRGiveBackEarlierStatesAndSpaceGoesOn) {
    const auto before = Shot("100:right,300:down", 290);
    const auto rewound = Shot("100:right,300:down,500:left,800:backspace", 900);
    ASSERT_EQ(rewound.status, 0) << rewound.err;
    EXPECT_EQ(ValueOf(rewound.out, "paused"), "true");
    // Back before "left" at 500: the time stands there, the worm and its ghost as they were.
    EXPECT_EQ(ValueOf(rewound.out, "levelTime"), "500");
    const auto at500 = Shot("100:right,300:down", 490);
    EXPECT_EQ(ValueOf(rewound.out, "worms"), ValueOf(at500.out, "worms"));
    const auto twice = Shot("100:right,300:down,500:left,800:backspace,810:backspace", 900);
    EXPECT_EQ(ValueOf(twice.out, "levelTime"), "300");
    EXPECT_EQ(ValueOf(twice.out, "worms"), ValueOf(before.out, "worms"));
    const auto resumed = Shot("100:right,300:down,500:left,800:backspace,810:space", 1000);
    EXPECT_EQ(ValueOf(resumed.out, "paused"), "false");
    EXPECT_EQ(ValueOf(resumed.out, "levelTime"), "700");
    EXPECT_EQ(ValueOf(resumed.out, "worms"), ValueOf(Shot("100:right,300:down", 690).out, "worms"));

    const auto restarted = Shot("100:right,300:down,500:r", 500);
    EXPECT_EQ(ValueOf(restarted.out, "levelTime"), "10");
    EXPECT_EQ(ValueOf(restarted.out, "worms"), ValueOf(Shot("", 0).out, "worms"));
}

TEST_F(HintShot, TheHintIsTheFirstKeyThatSolveAfterFindsForTheSameState) {
    const std::string tapePath = output.Path("attempt.tape");
    const auto r = Shot("200:right,330:down,420:h", 2000, {"--record", tapePath});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ValueOf(r.out, "paused"), "true");
    const std::string hint = ValueOf(r.out, "hint");
    ASSERT_EQ(hint.front(), '{') << r.out;
    // The state stands before the step at levelTime: the tape up to there is the same state.
    kx::Tape tape;
    std::string error;
    ASSERT_TRUE(kx::ParseTape(kxtest::ReadFileBytes(tapePath), tape, error)) << error;
    uint64_t levelTime = 0;
    ASSERT_TRUE(kx::ParseUInt64(ValueOf(r.out, "levelTime"), levelTime));
    EXPECT_EQ(levelTime, 420u);
    tape.untilMs = levelTime;
    tape.expect.reset();
    kxtest::WriteFileBytes(tapePath, kx::FormatTape(tape));
    const auto solved = RunTool({"solve", level, "--after", tapePath, "--json"}, output.Path());
    ASSERT_EQ(solved.status, 0) << solved.out << solved.err;
    std::vector<kx::KeyPress> keys;
    std::string keyScript = ValueOf(solved.out, "keys");
    ASSERT_TRUE(kx::ParseKeyScript(keyScript.substr(1, keyScript.size() - 2), keys, &error));
    ASSERT_GT(keys.size(), tape.keys.size());
    const kx::KeyPress next = keys[tape.keys.size()];
    EXPECT_EQ(ValueOf(hint, "key"), "\"" + std::string(kx::PlayKeyName(next.key)) + "\"");
    EXPECT_EQ(ValueOf(hint, "time"), std::to_string(next.timeMs));
    EXPECT_EQ(ValueOf(hint, "worm"), "0");

    // Following it: at its time the worm's head stands on the hint's cell.
    const auto due = Shot("200:right,330:down", next.timeMs - 10);
    const std::string head = ValueOf(ValueOf(due.out, "worms"), "head");
    EXPECT_EQ(head, ValueOf(hint, "cell"));
}

} // namespace
