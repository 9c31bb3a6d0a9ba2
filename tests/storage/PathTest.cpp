// Path utilities, the case-insensitive lookup, the data-file search and the text helpers.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"

using namespace kx;
using kxtest::TempFolder;

TEST(PathJoin, EmptyPiecesAndTrailingSeparators) {
    EXPECT_EQ(JoinPath("", "name"), "name");
    EXPECT_EQ(JoinPath("dir", ""), "dir");
    EXPECT_EQ(JoinPath("dir/", "name"), "dir/name");
    EXPECT_EQ(JoinPath("dir", "name"), "dir/name");
    EXPECT_EQ(JoinPath("/", "Data"), "/Data");
    EXPECT_EQ(JoinPath("a", "", "c"), "a/c");
    EXPECT_EQ(JoinPath("a", "b", "c", "d"), "a/b/c/d");
    EXPECT_EQ(AppendBackslash("x"), "x/");
    EXPECT_EQ(AppendBackslash("x/"), "x/");
}

TEST(PathSplit, AtTheLastSeparator) {
    std::string dir;
    std::string name;
    EXPECT_TRUE(SplitPath("/a/b/c.txt", dir, name));
    EXPECT_EQ(dir, "/a/b");
    EXPECT_EQ(name, "c.txt");
    EXPECT_FALSE(SplitPath("plain", dir, name));
    EXPECT_EQ(dir, "");
    EXPECT_EQ(name, "plain");
    EXPECT_TRUE(SplitPath("a/", dir, name));
    EXPECT_EQ(dir, "a");
    EXPECT_EQ(name, "");
    std::string same = "x/y";
    EXPECT_TRUE(SplitPath(same, same, name));
    EXPECT_EQ(same, "x");
    EXPECT_EQ(name, "y");
}

TEST(PathNames, FileNameAndExtension) {
    EXPECT_EQ(GetFileName("/a/b/level.kxlev", false), "level.kxlev");
    EXPECT_EQ(GetFileName("/a/b/level.kxlev", true), "level");
    EXPECT_EQ(GetFileName("/a/b/README", true), "README");
    EXPECT_EQ(GetFileName("a.b.c", true), "a.b");
    EXPECT_EQ(StripExtension("/a/b.c/level.kxlev"), "/a/b.c/level");
    EXPECT_EQ(StripExtension("/a/b.c/README"), "/a/b.c/README");
    EXPECT_EQ(StripExtension("level.kxlev"), "level");
    EXPECT_EQ(StripExtension("/level.kxlev"), "/level");
}

TEST(PathFolders, ModuleTempAndDocumentsFolders) {
    const std::string module = GetModuleDirectory();
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.back(), '/');
    EXPECT_TRUE(FileExists(module + "storage_tests"));

    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(GetTempDirectory(), "/var/tmp/");
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
    if (oldTmp) {
        setenv("TMPDIR", savedTmp.c_str(), 1);
    }
}

TEST(PathFolders, DocumentsFolderComesFromUserDirsOrHome) {
    TempFolder folder;
    const char* oldHome = std::getenv("HOME");
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const std::string savedConfig = oldConfig ? oldConfig : "";
    setenv("HOME", "/home/tester", 1);
    setenv("XDG_CONFIG_HOME", folder.Path("cfg").c_str(), 1);
    EXPECT_EQ(GetDocumentsDirectory(), "/home/tester/Documents");
    folder.Write("cfg/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                       "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                       "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(GetDocumentsDirectory(), "/home/tester/Dokumente");
    folder.Write("cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
    EXPECT_EQ(GetDocumentsDirectory(), "/srv/docs");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
    oldConfig ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

TEST(PathExistence, FilesAndFoldersWithAnyLetterCase) {
    TempFolder folder;
    folder.Write("Data/Font/Small.dxfont", "f");
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FileExists(folder.Path("Data")));
    EXPECT_FALSE(IsExistingFile(folder.Path("Data")));
    EXPECT_TRUE(IsExistingFile(folder.Path("data/font/small.DXFONT")));
    EXPECT_EQ(ResolvePathNoCase(folder.Path("DATA/FONT/small.dxfont")),
              folder.Path("Data/Font/Small.dxfont"));
    EXPECT_FALSE(ResolvePathNoCase(folder.Path("Data/Fonts/Small.dxfont")).has_value());
}

TEST(PathExistence, TheExactNameWinsOverOtherCasings) {
    TempFolder folder;
    folder.Write("levels.lst", "lower");
    folder.Write("Levels.lst", "upper");
    folder.Write("LEVELS.LST", "caps");
    EXPECT_EQ(ResolvePathNoCase(folder.Path("Levels.lst")), folder.Path("Levels.lst"));
    EXPECT_EQ(ResolvePathNoCase(folder.Path("levels.lst")), folder.Path("levels.lst"));
    // Without an exact match the first by name decides, whatever the listing order.
    EXPECT_EQ(ResolvePathNoCase(folder.Path("LEVELS.lst")), folder.Path("LEVELS.LST"));
}

TEST(PathExistence, AFolderComponentMatchesOnlyAFolder) {
    TempFolder folder;
    folder.Write("a", "a file");
    folder.Write("A/x.txt", "in folder");
    EXPECT_EQ(ResolvePathNoCase(folder.Path("a/x.txt")), folder.Path("A/x.txt"));
}

class DataFileSearch : public testing::Test {
protected:
    // base is root/one/two/program; all candidates live somewhere under root.
    std::string Base() const { return folder.Path("one/two/program/"); }
    TempFolder folder;
    void SetUp() override { folder.MakeFolder("one/two/program"); }
};

TEST_F(DataFileSearch, FileBesideTheBaseWinsFirst) {
    folder.Write("one/two/program/Krawlix.bfres", "x");
    folder.Write("one/two/program/Resources/Krawlix.bfres", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "Krawlix.bfres"),
              Base() + "Krawlix.bfres");
}

TEST_F(DataFileSearch, SubFoldersAreTriedSecondThenFirstThenBoth) {
    folder.Write("one/two/program/Krawlix/Resources/f", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "f"), Base() + "Krawlix/Resources/f");
    folder.Write("one/two/program/Krawlix/f", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "f"), Base() + "Krawlix/f");
    folder.Write("one/two/program/Resources/f", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "f"), Base() + "Resources/f");
    // Sub-folders that are not given are not tried.
    EXPECT_EQ(FindDataFile(Base(), "", "", "f"), "");
}

TEST_F(DataFileSearch, DataFolderTwoLevelsAboveIsFound) {
    folder.Write("one/Data/Font/Small.dxfont", "x");
    EXPECT_EQ(FindDataFile(Base(), "", "Font", "Small.dxfont"),
              folder.Path("one/Data/Font/Small.dxfont"));
    folder.Write("one/Data/Small.dxfont", "x");
    EXPECT_EQ(FindDataFile(Base(), "", "", "Small.dxfont"), folder.Path("one/Data/Small.dxfont"));
}

TEST_F(DataFileSearch, NearerDataFolderWinsAndCaseIsIgnored) {
    folder.Write("one/Data/f.bin", "x");
    folder.Write("one/two/program/data/F.BIN", "x");
    EXPECT_EQ(FindDataFile(Base(), "", "", "f.bin"), Base() + "Data/f.bin");
}

TEST_F(DataFileSearch, InstalledDataBesideTheProgramFolderIsFoundBeforeDataFolders) {
    folder.Write("one/two/share/krawlix/Resources/Krawlix.bfres", "x");
    folder.Write("one/Data/Krawlix.bfres", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "Krawlix.bfres"),
              folder.Path("one/two/share/krawlix/Resources/Krawlix.bfres"));
    folder.Write("one/two/share/krawlix/Krawlix.bfres", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "Krawlix.bfres"),
              folder.Path("one/two/share/krawlix/Krawlix.bfres"));
    // Beside the program still wins.
    folder.Write("one/two/program/Krawlix.bfres", "x");
    EXPECT_EQ(FindDataFile(Base(), "Krawlix", "Resources", "Krawlix.bfres"),
              Base() + "Krawlix.bfres");
}

TEST_F(DataFileSearch, MissingFileGivesEmptyAfterReachingTheRoot) {
    EXPECT_EQ(FindDataFile(Base(), "sub", "Resources", "kx-no-such-file-anywhere.bin"), "");
    EXPECT_EQ(FindDataFile(std::string("relative/path"), "", "", "kx-no-such-file.bin"), "");
    EXPECT_EQ(FindDataFile(std::string("/"), "", "", "kx-no-such-file.bin"), "");
    EXPECT_EQ(FindDataFile(std::nullopt, "", "", "kx-no-such-file.bin"), "");
}

TEST_F(DataFileSearch, WithoutABaseTheProgramFolderIsSearched) {
    EXPECT_EQ(FindDataFile(std::nullopt, "", "", "storage_tests"),
              GetModuleDirectory() + "storage_tests");
}

TEST(PathCreate, MissingFoldersAreCreatedOnTheWay) {
    TempFolder folder;
    EXPECT_TRUE(CreatePathDirectories(folder.Path("x/y/z/file.txt")));
    struct stat info {};
    EXPECT_EQ(stat(folder.Path("x/y/z").c_str(), &info), 0);
    EXPECT_FALSE(CreatePathDirectories("file.txt"));
    EXPECT_FALSE(CreatePathDirectories("/file.txt"));
    EXPECT_FALSE(CreatePathDirectories(folder.Path("x//file.txt")));
}

TEST(PathCreate, UniqueNamesSkipExistingFiles) {
    TempFolder folder;
    folder.Write("test_1.kxlev", "x");
    folder.Write("TEST_2.kxlev", "x");
    int counter = 1;
    EXPECT_EQ(MakeUniqueFileName(folder.Path(), "test_%d.kxlev", counter),
              folder.Path("test_3.kxlev"));
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(MakeUniqueFileName(folder.Path() + "/", "test_%d.kxlev", counter),
              folder.Path("test_4.kxlev"));
    EXPECT_EQ(counter, 5);
}

TEST(TextSplit, AtTheFirstOccurrence) {
    std::string left;
    std::string right;
    SplitAt("key=value=more", '=', left, right);
    EXPECT_EQ(left, "key");
    EXPECT_EQ(right, "value=more");
    SplitAt("novalue", '=', left, right);
    EXPECT_EQ(left, "novalue");
    EXPECT_EQ(right, "");
    SplitAtTrimmed(" a \t| b\r\n", '|', left, right);
    EXPECT_EQ(left, "a");
    EXPECT_EQ(right, "b");
}

TEST(TextTrim, AllWhiteSpaceKindsAtBothEnds) {
    EXPECT_EQ(Trim(" \t\n\r\v\fx y\f\v\r\n\t "), "x y");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(TextCompare, CaseIsIgnoredForAsciiAndWesternLetters) {
    EXPECT_TRUE(EqualsNoCase("Level.LST", "level.lst"));
    EXPECT_FALSE(EqualsNoCase("level", "levels"));
    EXPECT_TRUE(EqualsNoCase(T("GRÜN"), T("grün")));
    EXPECT_TRUE(EqualsNoCase(T("ÀÞŠŸ"), T("àþšÿ")));
    EXPECT_FALSE(EqualsNoCase(T("×"), T("÷")));
    EXPECT_FALSE(EqualsNoCase("[", "{"));
}

TEST(TextList, IndexOfAndAddUniqueIgnoreCase) {
    std::vector<std::string> list;
    AddUnique(list, "One");
    AddUnique(list, "two");
    AddUnique(list, "ONE");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(IndexOfNoCase(list, "TWO"), 1);
    EXPECT_EQ(IndexOfNoCase(list, "three"), -1);
}
