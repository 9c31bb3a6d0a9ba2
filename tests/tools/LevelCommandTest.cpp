// krawlix-tool's level commands, run as a program on files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {

using ToolRun = kxtest::ToolResult;

// Runs the tool with the arguments; standard error goes to a file in errFolder.
ToolRun Tool(const std::vector<std::string>& args, const fs::path& errFolder) {
    return kxtest::RunTool(args, errFolder);
}

std::string ReadText(const fs::path& p) {
    return kxtest::ReadFileBytes(p);
}

void WriteText(const fs::path& p, const std::string& text) {
    kxtest::WriteFileBytes(p, text);
}

// The integers of the array "key" in a dump.
std::vector<int> Array(const std::string& json, const std::string& key) {
    std::vector<int> values;
    size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos)
        return values;
    at += key.size() + 4;
    while (at < json.size() && json[at] != ']') {
        size_t used = 0;
        values.push_back(std::stoi(json.substr(at, 12), &used));
        at += used;
        if (json[at] == ',')
            ++at;
    }
    return values;
}

// Everything of a dump but its version.
std::string WithoutVersion(const std::string& json) {
    size_t comma = json.find(',');
    return comma == std::string::npos ? json : json.substr(comma);
}

const char* const kCellFields[] = {
    "ground",    "object1",   "object2",   "object3",  "object4",   "object5",   "object6",
    "item",      "creature",  "flags",     "swGround", "swObject1", "swObject2", "swObject3",
    "swObject4", "swObject5", "swObject6", "swItem",   "swFlags",   "switchNo",  "extraFlags"};

class LevelCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kx_level_cmd_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* name : {"legacy_v0.kxlev", "legacy_v1.kxlev", "legacy_v2.kxlev",
                                 "legacy_v3.kxlev", "small_v4.kxlev"})
            fs::copy_file(fs::path(KX_TEST_DATA_DIR) / "levels" / name, dir / name);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun Level(std::vector<std::string> args) {
        args.insert(args.begin(), "level");
        return Tool(args, dir);
    }
    std::string Err() { return ReadText(dir / "tool-stderr.txt"); }
    std::string P(const std::string& name) { return (dir / name).string(); }

    fs::path dir;
};

} // namespace

TEST_F(LevelCommand, DumpShowsEveryVersionWithItsHeaderVersion) {
    for (int v = 0; v <= 4; ++v) {
        std::string name = v == 4 ? "small_v4.kxlev" : "legacy_v" + std::to_string(v) + ".kxlev";
        ToolRun r = Level({"dump", P(name)});
        ASSERT_EQ(r.status, 0) << name << ": " << Err();
        EXPECT_EQ(r.out.rfind("{\"version\":" + std::to_string(v) + ",", 0), 0u) << r.out;
        EXPECT_EQ(Err(), "");
        size_t cells = v == 4 ? 45 : 35;
        for (const char* field : kCellFields)
            EXPECT_EQ(Array(r.out, field).size(), cells) << name << " " << field;
    }
}

TEST_F(LevelCommand, DumpOfALegacyLevelMapsItsCodes) {
    ToolRun r = Level({"dump", P("legacy_v2.kxlev")});
    ASSERT_EQ(r.status, 0) << Err();
    EXPECT_NE(r.out.find("\"width\":7,\"height\":5,"), std::string::npos);
    // Row 1 is "#Wb.c.#", row 3 "#c.k.1#".
    std::vector<int> ground = Array(r.out, "ground");
    std::vector<int> creature = Array(r.out, "creature");
    std::vector<int> flags = Array(r.out, "flags");
    ASSERT_EQ(ground.size(), 35u);
    EXPECT_EQ(ground[0], 0);
    EXPECT_EQ(ground[8], 64);
    EXPECT_EQ(ground[2 * 7 + 2], 65);
    EXPECT_EQ(creature[8], 5);
    EXPECT_EQ(creature[9], 2);
    EXPECT_EQ(creature[2 * 7 + 4], 0);
    EXPECT_EQ(Array(r.out, "item")[7 + 4], 0);
    EXPECT_EQ(Array(r.out, "object1")[3 * 7 + 3], 6);
    EXPECT_EQ(Array(r.out, "object1")[2 * 7 + 3], 3);
    EXPECT_EQ(flags[0], 6);
    EXPECT_EQ(flags[8], 0);
    EXPECT_EQ(flags[3 * 7 + 5], 1);
    EXPECT_EQ(Array(r.out, "switchNo")[3 * 7 + 5], 0);
    EXPECT_EQ(Array(r.out, "swGround")[3 * 7 + 5], 66);
    EXPECT_EQ(Array(r.out, "swItem")[3 * 7 + 5], 0);
    EXPECT_NE(r.out.find("\"description\":\"Alte Ebene, Version 2.\\nFrüher war alles grün.\""),
              std::string::npos);
}

TEST_F(LevelCommand, UnreadableFileFailsWithOneLineAndNoOutput) {
    std::string text = ReadText(dir / "small_v4.kxlev");
    WriteText(dir / "cut.kxlev", text.substr(0, 7));
    WriteText(dir / "text.kxlev", "hello, world\n");
    std::string v5 = text;
    v5[4] = 5;
    WriteText(dir / "v5.kxlev", v5);
    for (const char* name : {"missing.kxlev", "cut.kxlev", "text.kxlev", "v5.kxlev"}) {
        ToolRun r = Level({"dump", P(name)});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out, "") << name;
        std::string err = Err();
        EXPECT_NE(err.find(P(name)), std::string::npos) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
    EXPECT_NE(Err().find("unknown level version 5"), std::string::npos) << Err();
}

TEST_F(LevelCommand, MissingMetaReportsTheContainerError) {
    // Header, root (type 0, no data, one child), 'gfld' with no data and no children.
    const unsigned char bytes[] = {0x3C, 0x31, 0x0A, 0xB3, 4, 0, 0, 0, 0, 0,    0,
                                   0,    0,    0,    0,    0, 1, 0, 0, 0, 0x64, 0x6C,
                                   0x66, 0x67, 0,    0,    0, 0, 0, 0, 0, 0};
    WriteText(dir / "nometa.kxlev",
              std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
    ToolRun r = Level({"dump", P("nometa.kxlev")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(Err().find("Missing record block of type 1835365473 (0x6D657461)"), std::string::npos)
        << Err();
}

TEST_F(LevelCommand, ConvertKeepsEveryCellAndTheDescription) {
    for (int v = 0; v <= 4; ++v) {
        std::string name = v == 4 ? "small_v4.kxlev" : "legacy_v" + std::to_string(v) + ".kxlev";
        ToolRun before = Level({"dump", P(name)});
        ASSERT_EQ(before.status, 0) << Err();
        ToolRun convert = Level({"convert", P(name), P("out.kxlev")});
        ASSERT_EQ(convert.status, 0) << Err();
        ToolRun after = Level({"dump", P("out.kxlev")});
        ASSERT_EQ(after.status, 0) << Err();
        EXPECT_EQ(after.out.rfind("{\"version\":4,", 0), 0u);
        EXPECT_EQ(WithoutVersion(after.out), WithoutVersion(before.out)) << name;
    }
}

TEST_F(LevelCommand, ConvertOfABadFileFailsAndWritesNothing) {
    WriteText(dir / "bad.kxlev", "not a level");
    ToolRun r = Level({"convert", P("bad.kxlev"), P("out.kxlev")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir / "out.kxlev"));
}

TEST_F(LevelCommand, CompileBuildsTheFieldFromTheSource) {
    WriteText(dir / "src.txt", "# comment\n"
                               "description Über die Brücke\n"
                               "legend D base=# swground=64 swflags=0 switch=4\r\n"
                               "map\n"
                               "#####\n"
                               "#Wc~#\n"
                               "#bkD#\n"
                               "#####\n"
                               "end\n");
    ToolRun c = Level({"compile", P("src.txt"), P("src.kxlev")});
    ASSERT_EQ(c.status, 0) << Err();
    ToolRun r = Level({"dump", P("src.kxlev")});
    ASSERT_EQ(r.status, 0) << Err();
    EXPECT_EQ(r.out.rfind("{\"version\":4,\"width\":5,\"height\":4,\"description\":\"Über die "
                          "Brücke\",",
                          0),
              0u)
        << r.out;
    std::vector<int> ground = Array(r.out, "ground");
    ASSERT_EQ(ground.size(), 20u);
    EXPECT_EQ(ground[0], 0);
    EXPECT_EQ(ground[6], 64);
    EXPECT_EQ(ground[8], 65);
    EXPECT_EQ(ground[13], 0);
    EXPECT_EQ(Array(r.out, "swGround")[13], 64);
    EXPECT_EQ(Array(r.out, "swFlags")[13], 0);
    EXPECT_EQ(Array(r.out, "switchNo")[13], 4);
    EXPECT_EQ(Array(r.out, "flags")[13], 6);
    EXPECT_EQ(Array(r.out, "creature")[6], 5);
    EXPECT_EQ(Array(r.out, "creature")[11], 2);
    EXPECT_EQ(Array(r.out, "item")[7], 0);
    EXPECT_EQ(Array(r.out, "object1")[12], 6);
    EXPECT_EQ(Array(r.out, "swGround")[6], 64);
}

TEST_F(LevelCommand, BadSourceFailsWithItsLineNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"map\n###\n#?#\n###\nend\n", "line 3: column 2: map character '?' has no legend"},
        {"map\n####\n#.#\n###\nend\n", "line 3:"},
        {"legend X ground=256\nmap\n###\n#X#\n###\nend\n", "line 1:"},
        {"\n\nlegend X obj=1,2,3,4,5,6,7\n", "line 3:"},
        {"map\n###\n#.#\n###\n", "line 5:"},
        {"map\n###\n###\nend\n", "the map needs at least 3 rows"},
        {"map\n##\n##\n##\nend\n", "at least 3 columns"},
        {"description x\n", "no \"map\""},
        {"map\n###\n#.#\n###\nend\nlegend x\n", "line 6:"},
        {"bogus\n", "line 1:"},
        {"legend X switch=51\n", "line 1:"},
        {"legend X base=?\n", "line 1:"},
        {"map\n###\n#\xC3\xA4#\n###\nend\n", "line 3: column 2: map character 0xC3"},
    };
    for (auto [source, expected] : cases) {
        WriteText(dir / "bad.txt", source);
        ToolRun r = Level({"compile", P("bad.txt"), P("bad.kxlev")});
        EXPECT_EQ(r.status, 1) << source;
        EXPECT_NE(Err().find(expected), std::string::npos) << source << " -> " << Err();
        EXPECT_FALSE(fs::exists(dir / "bad.kxlev")) << source;
    }
}

TEST_F(LevelCommand, InfoCountsWallsCornCreaturesAndSwitches) {
    ToolRun r = Level({"info", P("legacy_v3.kxlev")});
    ASSERT_EQ(r.status, 0) << Err();
    EXPECT_NE(r.out.find("version:     3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("size:        7 x 5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("walls:       20"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("corn:        2 (switch layer 1)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("worms:       1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("ghosts:      1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("switches:    1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Früher war alles grün."), std::string::npos) << r.out;
}
