// Tests of the level list: its sources and their order, uniqueness, entries and titles.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellWorld.h"
#include "game/LevelList.h"
#include "storage/Fifo.h"
#include "storage/Path.h"
#include "storage/ResourceArchive.h"

namespace {

using kx::LevelSources;
using List = std::vector<std::string>;

class LevelList : public ::testing::Test {
protected:
    LevelList() {
        sources.programFolder = program.Path();
        sources.documentsFolder = documents.Path();
        sources.archive = &archive;
    }

    // An archive whose built-in list names the levels; each built-in level is a field of
    // the given width, so tests can tell where a level came from.
    void BuiltIns(const std::string& listText, const std::vector<std::string>& levels) {
        std::vector<std::string> bytes;
        for (size_t i = 0; i < levels.size(); ++i) {
            std::string path = program.Path("tmp.kxlev");
            kxtest::WriteLevelFile(path, Rows(20 + static_cast<int>(i)));
            bytes.push_back(kxtest::ReadAll(path));
            std::filesystem::remove(path);
        }
        std::vector<kx::ArchiveSource> entries;
        entries.push_back({"list", "Levels", reinterpret_cast<const uint8_t*>(listText.data()),
                           static_cast<uint32_t>(listText.size())});
        for (size_t i = 0; i < levels.size(); ++i)
            entries.push_back({"level", levels[i],
                               reinterpret_cast<const uint8_t*>(bytes[i].data()),
                               static_cast<uint32_t>(bytes[i].size())});
        kx::CFileEx file(false);
        file.SetPath(archiveFolder.Path("a.bfres"));
        ASSERT_TRUE(file.OpenWrite());
        ASSERT_TRUE(kx::WriteArchive(file, entries));
        file.Close();
        archive.LoadArchiveFile(archiveFolder.Path("a.bfres"));
    }

    static std::vector<std::string> Rows(int width) {
        return {std::string(static_cast<size_t>(width), '#'),
                "#bW" + std::string(static_cast<size_t>(width - 4), '.') + "#",
                std::string(static_cast<size_t>(width), '#')};
    }

    void File(const std::string& path, int width) { kxtest::WriteLevelFile(path, Rows(width)); }

    // Sorted, as the platform's listing order is not fixed.
    static List Sorted(List l) {
        std::sort(l.begin(), l.end());
        return l;
    }

    kxtest::TempFolder program;
    kxtest::TempFolder documents;
    kxtest::TempFolder archiveFolder;
    kx::CResourceArchive archive;
    LevelSources sources;
};

TEST_F(LevelList, WithoutAListFileProgramFilesComeFirstThenBuiltInsThenDocuments) {
    BuiltIns("  one \r\n\r\ntwo\n", {"one", "two"});
    File(program.Path("x.kxlev"), 10);
    File(documents.Path("Krawlix/mine.kxlev"), 10);
    File(documents.Path("elsewhere.kxlev"), 10);
    List list = kx::BuildLevelList({}, sources);
    EXPECT_EQ(list, (List{"x", "*|one", "*|two", "#|" + documents.Path("Krawlix/mine.kxlev")}));
}

TEST_F(LevelList, AListFileDecidesItsOrderAndWhereTheBuiltInsGo) {
    BuiltIns("one\ntwo\n", {"one", "two"});
    File(program.Path("x.kxlev"), 10);
    File(program.Path("y.kxlev"), 10);
    program.Write("levels.lst", "  y  \r\n\r\n*default\nY\n*DEFAULT\n#|/some/where.kxlev\n");
    List list = kx::BuildLevelList({}, sources);
    EXPECT_EQ(list, (List{"y", "*|one", "*|two", "*DEFAULT", "#|/some/where.kxlev", "x"}));
}

TEST_F(LevelList, AFileAndABuiltInOfOneNameAreTwoEntries) {
    BuiltIns("level\n", {"level"});
    File(program.Path("level.kxlev"), 10);
    program.Write("levels.lst", "*default\n");
    EXPECT_EQ(kx::BuildLevelList({}, sources), (List{"*|level", "level"}));
}

TEST_F(LevelList, TheCommandLineAloneDecidesAndMayRepeatALevel) {
    BuiltIns("one\n", {"one"});
    File(program.Path("x.kxlev"), 10);
    EXPECT_EQ(kx::BuildLevelList({"a.kxlev", "A.kxlev", "a.kxlev"}, sources),
              (List{"#|a.kxlev", "#|A.kxlev", "#|a.kxlev"}));
}

TEST_F(LevelList, NamesDifferingOnlyInLetterCaseCountOnceInEverySource) {
    File(program.Path("Abc.kxlev"), 10);
    File(program.Path("aBC.kxlev"), 10);
    File(documents.Path("Krawlix/z.kxlev"), 10);
    File(documents.Path("Krawlix/Z.kxlev"), 10);
    List list = kx::BuildLevelList({}, sources);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(kx::EqualsNoCase(list[0], "abc"));
    EXPECT_TRUE(kx::EqualsNoCase(list[1], "#|" + documents.Path("Krawlix/z.kxlev")));
}

TEST_F(LevelList, AHostileListFileGivesItsReadableLinesAndNothingElse) {
    std::string text = std::string(100000, 'L') + "\n\x81\xfe\xff odd\nbefore";
    text += std::string("\0after\n", 7);
    program.Write("levels.lst", text);
    List list = kx::BuildLevelList({}, sources);
    EXPECT_EQ(list, (List{std::string(100000, 'L'), "\x81\xfe\xff odd", "before"}));
    EXPECT_TRUE(kx::BuildLevelList({}, {program.Path("none"), "", nullptr}).empty());
}

TEST_F(LevelList, NamedPipesAreNoLevelsAndAPipeForAListFileIsReadAsNothing) {
    BuiltIns("one\n", {"one"});
    File(program.Path("real.kxlev"), 10);
    std::filesystem::create_directories(documents.Path("Krawlix"));
    kxtest::Fifo list(program.Path("levels.lst"));
    kxtest::Fifo beside(program.Path("piped.kxlev"));
    kxtest::Fifo mine(documents.Path("Krawlix/mine.kxlev"));
    ASSERT_TRUE(list.Made() && beside.Made() && mine.Made());
    for (kxtest::Fifo* f : {&list, &beside, &mine})
        f->Watch(kxtest::kFifoPatience);

    testing::internal::CaptureStderr();
    // A list file that cannot be read counts as an empty one: no built-ins without "*default".
    EXPECT_EQ(kx::BuildLevelList({}, sources), (List{"real"}));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(program.Path("levels.lst") + "\" ist keine gewöhnliche Datei"),
              std::string::npos)
        << said;
    // Played anyway, by name or by path, they fall back like any file that does not read.
    kx::CGameFieldBase field;
    EXPECT_FALSE(kx::LoadLevel("piped", field, sources));
    EXPECT_FALSE(kx::LoadLevel("#|" + mine.Path(), field, sources));
    EXPECT_TRUE(kx::LoadLevel("one", field, sources)) << "the archive is not tried for a file";

    for (kxtest::Fifo* f : {&list, &beside, &mine}) {
        f->Stop();
        EXPECT_FALSE(f->Rescued()) << f->Path() << " was waited for";
    }
}

TEST_F(LevelList, AListFileBeyondTheSizeLimitIsNamedAsTheCauseOnStandardError) {
    const std::string path = program.Write("levels.lst", "fine\n");
    std::filesystem::resize_file(path, (64u << 20) + 1); // sparse: no disk is used
    testing::internal::CaptureStderr();
    EXPECT_TRUE(kx::BuildLevelList({}, sources).empty());
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(path + "\" ist größer als 64 MB"), std::string::npos) << said;
}

TEST_F(LevelList, MillionsOfShortLinesStopAtTheListsLimitAndOneLongLineStaysWhole) {
    std::string text;
    for (size_t i = 0; i < kx::kMaxLevelListEntries + 1000; ++i)
        text += std::to_string(i) + "\n";
    text += "*default\n";
    program.Write("levels.lst", text);
    File(program.Path("beside.kxlev"), 10);
    testing::internal::CaptureStderr();
    List list = kx::BuildLevelList({}, sources);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(list.size(), kx::kMaxLevelListEntries);
    EXPECT_EQ(list.front(), "0");
    EXPECT_EQ(list.back(), std::to_string(kx::kMaxLevelListEntries - 1));
    EXPECT_NE(said.find("1000000 Einträge"), std::string::npos) << said;
    EXPECT_EQ(said.find("Krawlix:"), said.rfind("Krawlix:")) << "said once: " << said;

    const std::string line(20u << 20, 'x');
    program.Write("levels.lst", "  " + line + "\t\r\n" + "X" + line.substr(1) + "\n");
    list = kx::BuildLevelList({}, sources);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], line) << "trimmed, and the same in capitals counts once";
    EXPECT_EQ(list[1], "beside");
}

TEST_F(LevelList, ABareNamePlaysTheFileFirstAndAStarredNameTheBuiltInFirst) {
    BuiltIns("both\n", {"both", "inside"});
    File(program.Path("both.kxlev"), 11);
    kx::CGameFieldBase field;
    ASSERT_TRUE(kx::LoadLevel("both", field, sources));
    EXPECT_EQ(field.width, 11);
    ASSERT_TRUE(kx::LoadLevel("*|both", field, sources));
    EXPECT_EQ(field.width, 20);
    ASSERT_TRUE(kx::LoadLevel("inside", field, sources)); // no file: the archive
    EXPECT_EQ(field.width, 21);
    File(program.Path("outside.kxlev"), 12);
    ASSERT_TRUE(kx::LoadLevel("*|outside", field, sources)); // not built in: the file
    EXPECT_EQ(field.width, 12);
    EXPECT_FALSE(kx::LoadLevel("*|nowhere", field, sources));
    EXPECT_FALSE(kx::LoadLevel("nowhere", field, sources));
}

TEST_F(LevelList, AFoundLevelThatCannotBeReadFailsWithoutTryingTheOtherSource) {
    BuiltIns("both\n", {"both"});
    program.Write("both.kxlev", "garbage, not a level");
    kx::CGameFieldBase field;
    EXPECT_FALSE(kx::LoadLevel("both", field, sources));
    EXPECT_TRUE(kx::LoadLevel("*|both", field, sources));
}

TEST_F(LevelList, APathEntryLoadsEvenWithABarInItsPathAndIsTitledAfterTheFirstBar) {
    std::string path = documents.Path("Krawlix/odd|name.kxlev");
    File(path, 13);
    kx::CGameFieldBase field;
    ASSERT_TRUE(kx::LoadLevel("#|" + path, field, sources));
    EXPECT_EQ(field.width, 13);
    EXPECT_FALSE(kx::LoadLevel("#|" + program.Path("missing.kxlev"), field, sources));
    EXPECT_EQ(kx::LevelTitle("#|/a/b|c.kxlev"), "b|c");
    EXPECT_EQ(kx::LevelTitle("*|Tutorial"), "Tutorial");
    EXPECT_EQ(kx::LevelTitle("plain"), "plain");
    EXPECT_EQ(kx::LevelTitle("#|/folder/name.with.dots.kxlev"), "name.with.dots");
}

TEST_F(LevelList, TheFallbackFieldIsTenByTenWithOneCornAndNoHelpText) {
    kx::CGameFieldBase field;
    field.description = "help of the level before";
    kx::MakeFallbackField(field);
    EXPECT_EQ(field.width, 10);
    EXPECT_EQ(field.height, 10);
    EXPECT_TRUE(field.description.empty());
    int corn = 0;
    for (const kx::FieldCell& cell : field.cells)
        corn += cell.item == kx::ITEM_CORN;
    EXPECT_EQ(corn, 1);
    EXPECT_EQ(field.CellAt(8, 8).item, kx::ITEM_CORN);
    EXPECT_EQ(field.CellAt(0, 0).ground, 0);
}

} // namespace
