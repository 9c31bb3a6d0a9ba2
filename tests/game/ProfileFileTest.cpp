// Tests of the INI profile: values, what it keeps of the file, atomic writes, bad files.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "game/HeadlessHost.h"
#include "game/ProfileFile.h"
#include "storage/Fifo.h"
#include "storage/TempFolder.h"

namespace {

using kx::CProfileFile;

TEST(ProfileFile, ChangingOneValueKeepsEveryOtherLineAsItWas) {
    const std::string before = "; written by hand\n"
                               "[View]\r\n"
                               "Bar Icon Width=32\n"
                               "\n"
                               "[lastgame]\n"
                               "level = 4\n"
                               "Other=x=y\n"
                               "\n"
                               "[Tail]\n"
                               "garbage line without equals\n";
    CProfileFile p;
    p.LoadFromText(before);
    EXPECT_EQ(p.GetInt("LastGame", "Level", 0), 4);
    EXPECT_EQ(p.GetString("LASTGAME", "other"), "x=y");
    p.SetInt("LastGame", "Level", 7);
    std::string expected = before;
    expected.replace(expected.find("level = 4"), 9, "level = 7");
    EXPECT_EQ(p.ToText(), expected);
}

TEST(ProfileFile, AValueIsRewrittenInItsPlaceWithTheLinesCommentAndTheFilesLineEnds) {
    CProfileFile p;
    p.LoadFromText("[LastGame]\r\nLevel = 3 ; the level of the last game\r\nEmpty=;none\r\n"
                   "Hash=2 # note\r\nWord=a;b\r\n");
    EXPECT_EQ(p.GetInt("LastGame", "Level", 0), 3);
    EXPECT_EQ(p.GetString("LastGame", "Empty"), "");
    EXPECT_EQ(p.GetInt("LastGame", "Hash", 0), 2);
    EXPECT_EQ(p.GetString("LastGame", "Word"), "a;b") << "a ';' inside a word is no comment";
    p.SetInt("LastGame", "Level", 12);
    p.SetInt("LastGame", "Empty", 5);
    p.SetInt("LastGame", "Added", 1);
    p.SetInt("View", "Zoom", 2);
    EXPECT_EQ(p.ToText(), "[LastGame]\r\nLevel = 12 ; the level of the last game\r\n"
                          "Empty=5 ;none\r\nHash=2 # note\r\nWord=a;b\r\nAdded=1\r\n"
                          "\r\n[View]\r\nZoom=2\r\n");
    EXPECT_EQ(p.GetInt("LastGame", "Empty", 0), 5);
    EXPECT_EQ(p.GetInt("LastGame", "Level", 0), 12);
}

TEST(ProfileFile, NewKeysGoAtTheEndOfTheirSectionAndNewSectionsAtTheEnd) {
    CProfileFile p;
    p.LoadFromText("[A]\nx=1\n\n[B]\ny=2\n");
    p.SetInt("A", "z", 3);
    p.SetInt("C", "w", -4);
    EXPECT_EQ(p.ToText(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=-4\n");
    EXPECT_EQ(p.GetInt("C", "w", 0), -4);
}

TEST(ProfileFile, ValuesThatAreNotWholeNumbersInRangeGiveTheDefault) {
    CProfileFile p;
    p.LoadFromText("[S]\na=12x\nb=\nc=99999999999\nd=+5\ne=-2147483648\n");
    EXPECT_EQ(p.GetInt("S", "a", -1), -1);
    EXPECT_EQ(p.GetInt("S", "b", -1), -1);
    EXPECT_EQ(p.GetInt("S", "c", -1), -1);
    EXPECT_EQ(p.GetInt("S", "d", -1), 5);
    EXPECT_EQ(p.GetInt("S", "e", -1), INT32_MIN);
    EXPECT_EQ(p.GetInt("S", "missing", 9), 9);
    EXPECT_EQ(p.GetInt("Nowhere", "a", 9), 9);
}

TEST(ProfileFile, GarbageBytesAreKeptAndDoNotDisturbReading) {
    std::string garbage = "\x01\xff[\n]=\n[[x]]\n=\n";
    garbage += std::string("\0\0abc", 5);
    garbage += "\n[LastGame]\nLevel=3\n";
    CProfileFile p;
    p.LoadFromText(garbage);
    EXPECT_EQ(p.GetInt("LastGame", "Level", 0), 3);
    EXPECT_EQ(p.ToText(), garbage);
}

TEST(ProfileFile, SaveWritesTheWholeFileAndCreatesItsFolders) {
    kxtest::TempFolder folder;
    std::string path = folder.Path("Halvane/Krawlix.conf");
    CProfileFile p;
    p.SetInt("LastGame", "Level", 2);
    ASSERT_TRUE(p.Save(path));
    EXPECT_EQ(kxtest::ReadAll(path), "[LastGame]\nLevel=2\n");
    CProfileFile q;
    EXPECT_EQ(q.Load(path), CProfileFile::LoadResult::Loaded);
    EXPECT_EQ(q.GetInt("LastGame", "Level", 0), 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("Halvane")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProfileFile, AFailedSaveLeavesNoFileBehind) {
    kxtest::TempFolder folder;
    folder.MakeFolder("taken");
    CProfileFile p;
    p.SetInt("A", "b", 1);
    EXPECT_FALSE(p.Save(folder.Path("taken")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("taken")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProfileFile, AHugeFileIsNeitherReadNorOverwrittenByTheHost) {
    kxtest::TempFolder folder;
    std::string huge = "[LastGame]\nLevel=5\n" + std::string(kx::kMaxProfileBytes, 'x');
    std::string path = folder.Write("big.conf", huge);
    CProfileFile p;
    testing::internal::CaptureStderr();
    EXPECT_EQ(p.Load(path), CProfileFile::LoadResult::Unreadable);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Krawlix: Das Profil \"" + path +
                        "\" ist größer als 1 MB; es wird weder gelesen noch geschrieben.\n");
    EXPECT_EQ(p.GetInt("LastGame", "Level", 0), 0);

    kx::CHeadlessHost host;
    testing::internal::CaptureStderr();
    host.UseProfileFile(path);
    host.WriteProfileInt("LastGame", "Level", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), said);
    EXPECT_EQ(kxtest::ReadAll(path).size(), huge.size());
}

TEST(ProfileFile, APipeIsNoProfileAndIsNotWaitedFor) {
    kxtest::TempFolder folder;
    kxtest::Fifo fifo(folder.Path("p.conf"));
    ASSERT_TRUE(fifo.Made());
    fifo.Watch(kxtest::kFifoPatience);
    CProfileFile p;
    testing::internal::CaptureStderr();
    EXPECT_EQ(p.Load(fifo.Path()), CProfileFile::LoadResult::Unreadable);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("keine gewöhnliche Datei"),
              std::string::npos);
    fifo.Stop();
    EXPECT_FALSE(fifo.Rescued());
}

TEST(HeadlessHost, AFailedProfileWriteIsKeptWithTheSystemsReason) {
    kxtest::TempFolder folder;
    const std::string notAFolder = folder.Write("file", "x");
    kx::CHeadlessHost host;
    host.UseProfileFile(notAFolder + "/p.conf");
    EXPECT_FALSE(host.profileSaveFailed);
    host.WriteProfileInt("LastGame", "Level", 2);
    EXPECT_TRUE(host.profileSaveFailed);
    EXPECT_NE(host.profileSaveError.find("Not a directory"), std::string::npos)
        << host.profileSaveError;
    EXPECT_EQ(kxtest::ReadAll(notAFolder), "x");
}

TEST(HeadlessHost, ProfileValuesGoToTheFileAtOnceOrStayInMemory) {
    kxtest::TempFolder folder;
    std::string path = folder.Write("p.conf", "[Other]\nk=v\n");
    kx::CHeadlessHost host;
    host.UseProfileFile(path);
    host.WriteProfileInt("LastGame", "Level", 3);
    EXPECT_EQ(kxtest::ReadAll(path), "[Other]\nk=v\n\n[LastGame]\nLevel=3\n");
    EXPECT_EQ(host.GetProfileInt("LastGame", "Level", 0), 3);

    kx::CHeadlessHost memoryOnly;
    memoryOnly.WriteProfileInt("LastGame", "Level", 4);
    EXPECT_EQ(memoryOnly.GetProfileInt("LastGame", "Level", 0), 4);
    EXPECT_EQ(memoryOnly.profileWrites, 1);
}

TEST(HeadlessHost, TheVirtualCounterRunsAtTheGivenFrequency) {
    kx::CHeadlessHost host;
    host.SetTimeMs(10010);
    EXPECT_EQ(host.QueryCounter(), 10010000u);
    EXPECT_EQ(host.QueryCounterFrequency(), kx::CHeadlessHost::kFrequency);
    int painted = 0;
    host.SetRepaintHandler([&] { ++painted; });
    host.RepaintNow();
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(host.repaints, 1);
}

} // namespace
