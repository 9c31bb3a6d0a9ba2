// krawlix-tool level decompile: any level file back to a source that compiles to the same bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "field/LevelFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace fs = std::filesystem;

namespace {

class DecompileCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kx_decompile_cmd_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    kxtest::ToolResult Tool(const std::vector<std::string>& args) {
        return kxtest::RunTool(args, dir);
    }

    // Decompiles the level, compiles the source again and compares it with the level as the
    // tool writes it in version 4.
    void ExpectRoundTrip(const fs::path& level) {
        fs::path source = dir / "back.txt", again = dir / "again.kxlev", v4 = dir / "v4.kxlev";
        auto decompiled = Tool({"level", "decompile", level.string(), source.string()});
        ASSERT_EQ(decompiled.status, 0) << decompiled.err;
        auto compiled = Tool({"level", "compile", source.string(), again.string()});
        ASSERT_EQ(compiled.status, 0) << compiled.err << kxtest::ReadFileBytes(source);
        ASSERT_EQ(Tool({"level", "convert", level.string(), v4.string()}).status, 0);
        EXPECT_EQ(kxtest::ReadFileBytes(again), kxtest::ReadFileBytes(v4)) << level;
    }

    // Writes the field as a version-4 level file.
    fs::path WriteField(const kx::CGameFieldBase& field, const std::string& name) {
        kx::CMemBlock bytes;
        {
            kx::CMemSerializer out(bytes, true);
            EXPECT_TRUE(kx::WriteLevel(field, out));
        }
        fs::path path = dir / name;
        kxtest::WriteFileBytes(path,
                               std::string(reinterpret_cast<const char*>(bytes.data), bytes.size));
        return path;
    }

    fs::path dir;
};

TEST_F(DecompileCommand, EveryKindOfCellAndTheDescriptionComeBackByteForByte) {
    // Both layers, stacks with gaps, switch numbers, extra flags, redefined built-ins, a
    // description with umlauts, an empty line and leading blanks.
    fs::path source = dir / "all.txt", level = dir / "all.kxlev";
    kxtest::WriteFileBytes(source, "description /CAPTION/Grüße\n"
                                   "description\n"
                                   "description   eingerückt /corn/\n"
                                   "legend A ground=80 obj=255,5,6 item=7 flags=3 extra=9\n"
                                   "legend D base=@ swground=64 swflags=0 switch=4 swobj=1,2\n"
                                   "legend c base=c switem=1 switch=50\n"
                                   "legend Z ground=255 swground=0 creature=66\n"
                                   "map\n"
                                   "#########\n"
                                   "#Wb.A4DZ#\n"
                                   "#~=_cgkL#\n"
                                   "#########\n"
                                   "end\n");
    ASSERT_EQ(Tool({"level", "compile", source.string(), level.string()}).status, 0);
    ExpectRoundTrip(level);
}

TEST_F(DecompileCommand, OlderFormatsComeBackAsTheirVersionFourBytes) {
    for (const char* name : {"legacy_v0.kxlev", "legacy_v1.kxlev", "legacy_v2.kxlev",
                             "legacy_v3.kxlev", "small_v4.kxlev"})
        ExpectRoundTrip(fs::path(KX_TEST_DATA_DIR) / "levels" / name);
}

TEST_F(DecompileCommand, MatchingCellsUseTheBuiltInCharacters) {
    fs::path source = dir / "plain.txt", level = dir / "plain.kxlev", back = dir / "back.txt";
    std::string text = "description Hallo\nmap\n&&&&&\n&Wbc&\n&.0k&\n&&&&&\nend\n";
    kxtest::WriteFileBytes(source, text);
    ASSERT_EQ(Tool({"level", "compile", source.string(), level.string()}).status, 0);
    ASSERT_EQ(Tool({"level", "decompile", level.string(), back.string()}).status, 0);
    EXPECT_EQ(kxtest::ReadFileBytes(back), text);
}

TEST_F(DecompileCommand, MoreKindsOfCellThanCharactersFailWithoutWritingAFile) {
    kx::CGameFieldBase field;
    field.CreateField(12, 12);
    for (int i = 0; i < 100; ++i)
        field.CellAt(1 + i % 10, 1 + i / 10).item = static_cast<uint8_t>(10 + i);
    fs::path level = WriteField(field, "many.kxlev"), out = dir / "many.txt";
    auto run = Tool({"level", "decompile", level.string(), out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("more kinds of cell"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(DecompileCommand, ADescriptionLineEndingInACarriageReturnIsRefused) {
    kx::CGameFieldBase field;
    field.CreateField(5, 5);
    field.description = "erste Zeile\r\nzweite";
    fs::path level = WriteField(field, "cr.kxlev"), out = dir / "cr.txt";
    auto run = Tool({"level", "decompile", level.string(), out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("description line 1"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
