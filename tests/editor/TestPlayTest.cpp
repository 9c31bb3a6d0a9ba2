// Test play: numbered test files, their age-based deletion, the game's command line and the launch.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <fstream>

#include "EditorTestSupport.h"
#include "editor/EditorDoc.h"
#include "editor/TestPlay.h"
#include "field/LevelFile.h"
#include "storage/FileEx.h"
#include "storage/TempFolder.h"

using namespace kx;

namespace {

class CFakeLauncher : public IGameLauncher {
public:
    bool StartGame(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return canStart;
    }
    void MinimiseEditor() override { ++minimised; }

    bool canStart = true;
    int minimised = 0;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
};

void Touch(const std::filesystem::path& p, std::time_t when) {
    std::ofstream(p) << "x";
    utimbuf times{when, when};
    utime(p.c_str(), &times);
}

} // namespace

TEST(TestFiles, OnlyTestFilesOlderThanSevenDaysAreDeletedAndFoldersAreSpared) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    const std::time_t now = 2000000000;
    const std::time_t day = 86400;
    Touch(folder / "test_1.kxlev", now - 8 * day);
    Touch(folder / "TEST_2.KXLEV", now - 8 * day); // the pattern ignores letter case
    Touch(folder / "test_3.kxlev", now - 6 * day);
    Touch(folder / "other_4.kxlev", now - 30 * day);
    std::filesystem::create_directory(folder / "test_5.kxlev");
    utimbuf old{now - 30 * day, now - 30 * day};
    utime((folder / "test_5.kxlev").c_str(), &old);
    EXPECT_EQ(DeleteOldTestFiles(folder.string(), now), 2);
    EXPECT_FALSE(std::filesystem::exists(folder / "test_1.kxlev"));
    EXPECT_FALSE(std::filesystem::exists(folder / "TEST_2.KXLEV"));
    EXPECT_TRUE(std::filesystem::exists(folder / "test_3.kxlev"));
    EXPECT_TRUE(std::filesystem::exists(folder / "other_4.kxlev"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "test_5.kxlev"));
}

TEST(TestPlay, WritesANumberedFileWithTheCurrentLevelAndStartsTheGameOnIt) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    CKrawlixEditorDoc doc;
    doc.ApplyEntry(3, 3, kxtest::Entry(70), FieldLayer::Normal);
    doc.SetDescriptionFromEdit("Probe");
    doc.SetPathName("/somewhere/level.kxlev");
    CFakeLauncher launcher;
    TestPlaySettings settings{folder.string(), "/opt/krawlix/Krawlix", 0};
    Touch(folder / "test_4660.kxlev", std::time(nullptr)); // 0x11234 & 0xFFFF = 4660 is taken
    const TestPlayResult first = TestLevel(doc, 0x11234, launcher, settings);
    ASSERT_EQ(first.outcome, TestPlayResult::Outcome::Started);
    EXPECT_EQ(first.testFile, (folder / "test_4661.kxlev").string());
    const TestPlayResult second = TestLevel(doc, 0x11234, launcher, settings);
    EXPECT_EQ(second.testFile, (folder / "test_4662.kxlev").string()) << "the first one stays";
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0].first, "/opt/krawlix/Krawlix");
    EXPECT_EQ(launcher.started[0].second, std::vector<std::string>{"/level:" + first.testFile});
    EXPECT_EQ(first.commandLine, "\"/opt/krawlix/Krawlix\" /level:\"" + first.testFile + "\"");
    EXPECT_EQ(launcher.minimised, 2);

    CGameFieldBase played;
    CFileEx file(false);
    file.SetPath(first.testFile);
    ASSERT_TRUE(file.OpenRead());
    ASSERT_TRUE(ReadLevel(played, file));
    EXPECT_TRUE(kxtest::SameField(played, doc));
    EXPECT_TRUE(doc.IsModified()) << "the document is untouched";
    EXPECT_EQ(doc.GetPathName(), "/somewhere/level.kxlev");
}

TEST(TestPlay, ATestFolderWithAQuoteAndABlankReachesTheGameWhole) {
    const kxtest::TempFolder temp;
    const std::string folder = temp.Path("say \"hi\"\tthere");
    CKrawlixEditorDoc doc;
    CFakeLauncher launcher;
    const TestPlayResult r = TestLevel(doc, 7, launcher, {folder, "/opt/krawlix/Krawlix", 0});
    ASSERT_EQ(r.outcome, TestPlayResult::Outcome::Started) << r.error;
    // One argument, the path as it is; the game joins it with its quotes doubled.
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].second, std::vector<std::string>{"/level:" + r.testFile});
    std::string doubled = r.testFile;
    for (size_t at = doubled.find('"'); at != std::string::npos; at = doubled.find('"', at + 2))
        doubled.insert(at, 1, '"');
    EXPECT_EQ(r.commandLine, "\"/opt/krawlix/Krawlix\" /level:\"" + doubled + "\"");
    EXPECT_NE(r.commandLine.find("say \"\"hi\"\""), std::string::npos) << r.commandLine;
}

TEST(TestPlay, ADemonstrationHandsTheGameTheLevelAndTheTapeBesideIt) {
    const kxtest::TempFolder temp;
    const std::string folder = temp.Path("a \"b\"");
    CKrawlixEditorDoc doc;
    CFakeLauncher launcher;
    const std::string tape = "krawlix-tape 1\nseed 1\nkeys 10:right\n";
    const TestPlayResult r = DemonstrateLevel(doc, tape, 9, launcher, {folder, "/g/Krawlix", 0});
    ASSERT_EQ(r.outcome, TestPlayResult::Outcome::Started) << r.error;
    ASSERT_EQ(r.tapeFile, r.testFile.substr(0, r.testFile.size() - 6) + ".tape");
    EXPECT_EQ(kxtest::ReadBytes(r.tapeFile), tape);
    EXPECT_EQ(launcher.started.at(0).second,
              (std::vector<std::string>{"/level:" + r.testFile, "/tape:" + r.tapeFile}));
    EXPECT_NE(r.commandLine.find("\" /tape:\""), std::string::npos) << r.commandLine;
    EXPECT_NE(r.commandLine.find("a \"\"b\"\"/test_"), std::string::npos) << r.commandLine;
    EXPECT_EQ(launcher.minimised, 1);

    // A tape that cannot be written takes its level file with it, and nothing starts.
    const std::string blocked = r.testFile.substr(0, r.testFile.size() - 6);
    std::filesystem::remove(r.testFile);
    std::filesystem::remove(r.tapeFile);
    std::filesystem::create_directory(blocked + ".tape");
    const TestPlayResult failed =
        DemonstrateLevel(doc, tape, 9, launcher, {folder, "/g/Krawlix", 0});
    EXPECT_EQ(failed.outcome, TestPlayResult::Outcome::WriteFailed);
    EXPECT_FALSE(std::filesystem::exists(blocked + ".kxlev"));
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST(TestPlay, AGameThatDoesNotStartLeavesTheEditorWindowAndAnUnwritableFileStartsNothing) {
    const kxtest::TempFolder temp;
    const std::filesystem::path folder = temp.Path();
    CKrawlixEditorDoc doc;
    CFakeLauncher launcher;
    launcher.canStart = false;
    TestPlayResult r = TestLevel(doc, 1, launcher, {folder.string(), "/missing/Krawlix", 0});
    EXPECT_EQ(r.outcome, TestPlayResult::Outcome::StartFailed);
    EXPECT_EQ(r.error, "Krawlix konnte nicht gestartet werden.");
    EXPECT_EQ(launcher.minimised, 0);

    launcher.canStart = true;
    std::ofstream(folder / "plain-file") << "x";
    r = TestLevel(doc, 1, launcher, {(folder / "plain-file").string(), "/opt/Krawlix", 0});
    EXPECT_EQ(r.outcome, TestPlayResult::Outcome::WriteFailed);
    EXPECT_NE(r.error.find("konnte nicht angelegt werden"), std::string::npos) << r.error;
    EXPECT_EQ(launcher.started.size(), 1u) << "only the first attempt reached the launcher";
}

TEST(TestPlay, TheGameIsFoundBesideTheEditorElseInTheGamesFolderOfTheInstall) {
    const kxtest::TempFolder temp;
    const std::string bin = temp.Path("usr/bin");
    temp.MakeFolder("usr/bin");
    EXPECT_EQ(FindGameProgram(bin), bin + "/Krawlix") << "neither: the path beside the editor";
    temp.Write("usr/games/krawlix", "x");
    EXPECT_EQ(FindGameProgram(bin + "/"), bin + "/Krawlix") << "another letter case is not it";
    temp.Write("usr/games/Krawlix", "x");
    EXPECT_EQ(FindGameProgram(bin + "/"), temp.Path("usr/games/Krawlix"));
    temp.Write("usr/bin/Krawlix", "x");
    EXPECT_EQ(FindGameProgram(bin), bin + "/Krawlix") << "beside the editor wins";
}
