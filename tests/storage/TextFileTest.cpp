// CTextFile's loading and line cursor, and CFileFinder's wildcard listing.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "storage/FileFinder.h"
#include "storage/InputFile.h"
#include "storage/TextFile.h"

using namespace kx;
using kxtest::TempFolder;

TEST(TextFileLines, LinesWithoutLineFeedsAndTheLastLineWithoutOne) {
    CTextFile text;
    const std::string content = "first\n\nthird\r\nlast";
    text.LoadFromMemory(content.data(), content.size());
    std::vector<std::string> lines;
    while (text.HasMoreLines()) {
        lines.push_back(text.ReadLine());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "", "third\r", "last"}));
    EXPECT_EQ(text.GetLineNumber(), 4);
    EXPECT_EQ(text.ReadLine(), "");
    EXPECT_EQ(text.GetLineNumber(), 4);
    text.Rewind();
    EXPECT_EQ(text.GetLineNumber(), 0);
    EXPECT_EQ(text.ReadLine(), "first");
}

TEST(TextFileLines, EmptyAndZeroByteTextHasNoLines) {
    CTextFile text;
    EXPECT_FALSE(text.HasMoreLines());
    EXPECT_EQ(text.ReadLine(), "");
    text.LoadFromMemory("", 0);
    EXPECT_FALSE(text.HasMoreLines());
    text.LoadFromMemory("ab\0cd", 5);
    EXPECT_EQ(text.ReadLine(), "ab");
    EXPECT_FALSE(text.HasMoreLines());
}

TEST(TextFileLoad, WindowsLineEndsLoadAsLineFeeds) {
    TempFolder folder;
    const std::string path = folder.Write("Levels.lst", "#|a.kxlev\r\n*|Intro\r\n");
    CTextFile text;
    ASSERT_TRUE(text.Load(folder.Path("levels.LST")));
    EXPECT_EQ(text.ReadLine(), "#|a.kxlev");
    EXPECT_EQ(text.ReadLine(), "*|Intro");
    EXPECT_FALSE(text.HasMoreLines());
}

TEST(TextFileLoad, HalfTheSizeReadIsStillASuccess) {
    TempFolder folder;
    // Collapsing the line ends leaves exactly half of the 6 bytes.
    const std::string path = folder.Write("crlf.txt", "\r\n\r\n\r\n");
    CTextFile text;
    ASSERT_TRUE(text.Load(path));
    int lines = 0;
    while (text.HasMoreLines()) {
        EXPECT_EQ(text.ReadLine(), "");
        ++lines;
    }
    EXPECT_EQ(lines, 3);
}

TEST(TextFileLoad, MissingFileGivesFalseAndAnEmptyReader) {
    TempFolder folder;
    CTextFile text;
    text.LoadFromMemory("old\n", 4);
    EXPECT_FALSE(text.Load(folder.Path("missing.lst")));
    EXPECT_FALSE(text.HasMoreLines());
    folder.Write("empty.lst", "");
    EXPECT_TRUE(text.Load(folder.Path("empty.lst")));
    EXPECT_FALSE(text.HasMoreLines());
}

namespace {

std::vector<std::string> List(CFileFinder& finder) {
    std::vector<std::string> names;
    for (; finder.IsValid(); finder.Next()) {
        names.push_back(finder.Current().fileName);
    }
    return names;
}

} // namespace

TEST(FileFinderListing, WildcardsMatchFilesWithoutRegardToCase) {
    TempFolder folder;
    folder.Write("b.kxlev", "");
    folder.Write("A.KXLEV", "");
    folder.Write("c.kxlev.bak", "");
    folder.Write("notes.txt", "");
    folder.MakeFolder("dir.kxlev");
    CFileFinder finder;
    finder.Start(folder.Path("*.kxlev"));
    EXPECT_EQ(List(finder), (std::vector<std::string>{"A.KXLEV", "b.kxlev"}));
    EXPECT_FALSE(finder.IsValid());
    finder.Start(folder.Path("?.KxLeV"));
    EXPECT_EQ(List(finder), (std::vector<std::string>{"A.KXLEV", "b.kxlev"}));
    finder.Start(folder.Path("*.x"));
    EXPECT_FALSE(finder.IsValid());
}

TEST(FileFinderListing, DirectoriesOnlyWhenAskedAndNeverTheDotEntries) {
    TempFolder folder;
    folder.Write("file.txt", "");
    folder.MakeFolder("Sub");
    CFileFinder finder;
    finder.Start(folder.Path("*"), false, true);
    ASSERT_TRUE(finder.IsValid());
    EXPECT_TRUE(finder.Current().isDirectory);
    EXPECT_EQ(List(finder), (std::vector<std::string>{"Sub"}));
    finder.Start(folder.Path("*"), true, true);
    EXPECT_EQ(List(finder), (std::vector<std::string>{"Sub", "file.txt"}));
    finder.Start(folder.Path("*"));
    finder.Close();
    EXPECT_FALSE(finder.IsValid());
}

TEST(FileFinderListing, FolderOfThePatternIsFoundWithAnyCase) {
    TempFolder folder;
    folder.Write("Levels/one.kxlev", "");
    CFileFinder finder;
    finder.Start(folder.Path("LEVELS/*.kxlev"));
    EXPECT_EQ(List(finder), (std::vector<std::string>{"one.kxlev"}));
    finder.Start(folder.Path("missing/*.kxlev"));
    EXPECT_FALSE(finder.IsValid());
}

TEST(FileFinderWildcard, StarQuestionMarkAndDotStar) {
    EXPECT_TRUE(CFileFinder::MatchWildcard("*", ""));
    EXPECT_TRUE(CFileFinder::MatchWildcard("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(CFileFinder::MatchWildcard("a*b*c", "aXXbYY"));
    EXPECT_TRUE(CFileFinder::MatchWildcard("*.*", "README"));
    EXPECT_TRUE(CFileFinder::MatchWildcard("test_?.kxlev", "TEST_7.KXLEV"));
    EXPECT_FALSE(CFileFinder::MatchWildcard("test_?.kxlev", "test_17.kxlev"));
    EXPECT_TRUE(CFileFinder::MatchWildcard("?", "\xC3\xBC")); // one UTF-8 character
    EXPECT_FALSE(CFileFinder::MatchWildcard("", "a"));
}

TEST(TextFileLoad, AFileBeyondTheSizeLimitIsRefusedWithoutBeingRead) {
    kxtest::TempFolder folder;
    const std::string path = folder.Write("Levels.txt", "");
    // Sparse: the size without the disk space.
    std::filesystem::resize_file(path, kx::kMaxWholeFileBytes + 1);
    kx::CTextFile text;
    EXPECT_FALSE(text.Load(path));
    EXPECT_FALSE(text.HasMoreLines());
}
