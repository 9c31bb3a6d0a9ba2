// krawlix-tool shot with records and replays: a win kept in the profile and the replays
// folder, the replay played back by play --tape, the level choice's records and its keys.
#include <gtest/gtest.h>

#include <string>

#include "ToolRun.h"
#include "game/ShellWorld.h"

namespace {

TEST(RecordsShot, AWinIsKeptItsReplayPlaysToWonAndTheLevelChoiceShowsIt) {
    kxtest::TempFolder program;
    kxtest::TempFolder output;
    std::filesystem::create_symlink(kxtest::kArchivePath, program.Path("Krawlix.bfres"));
    const std::string level = program.Path("turn.kxlev");
    kxtest::WriteLevelFile(level, {"######", "#bW..#", "#.c..#", "######"});
    kxtest::WriteLevelFile(program.Path("calm.kxlev"), kxtest::kCalmLevel);
    program.Write("levels.lst", "calm\nturn\n");
    const std::string profile = output.Write("Krawlix.conf", "[View]\nZoom=2\n");
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "shot");
        return kxtest::RunTool(args, output.Path());
    };
    // Level choice, "2 turn", then Down at level time 0.
    auto r = run({"--program-dir", program.Path(), "--profile", profile, "--data-dir",
                  output.Path("data"), "--keys", "0:down,0:enter,0:down,0:enter,0:down", "--at",
                  "2000", "--state"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"note\":\"Geschafft mit 1 Taste in 0,2 s – erster Bestwert\""),
              std::string::npos)
        << r.out;
    EXPECT_EQ(kxtest::ReadAll(profile), "[View]\nZoom=2\n\n[Records]\nturn=1 240\n");

    const std::string replay = output.Path("data/Krawlix/replays/turn.tape");
    auto played = kxtest::RunTool({"play", level, "--tape", replay}, output.Path());
    ASSERT_EQ(played.status, 0) << played.err;
    EXPECT_NE(played.out.find("\"result\":\"won\",\"expected\":\"won\",\"asExpected\":true"),
              std::string::npos)
        << played.out;

    // The choice marks the won level; End, Page Up, Home and Page Down move through it.
    r = run({"--program-dir", program.Path(), "--profile", profile, "--keys", "0:down,0:enter",
             "--state", output.Path("choice.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"items\":[[10000,\"1 calm\",{\"solved\":false,\"bestKeys\":null,"
                         "\"bestMs\":null}],[10001,\"2 turn\",{\"solved\":true,\"bestKeys\":1,"
                         "\"bestMs\":240}],[8,\"Hauptmenü\"]]"),
              std::string::npos)
        << r.out;
    for (const auto& [keys, selection] :
         std::vector<std::pair<std::string, std::string>>{{"", "0"},
                                                          {",0:end", "2"},
                                                          {",0:end,0:pageup", "0"},
                                                          {",0:pagedown", "2"},
                                                          {",0:end,0:home", "0"}}) {
        r = run({"--program-dir", program.Path(), "--profile", profile, "--keys",
                 "0:down,0:enter" + keys, "--state"});
        EXPECT_NE(r.out.find("\"selection\":" + selection + ","), std::string::npos)
            << keys << r.out;
    }
}

} // namespace
