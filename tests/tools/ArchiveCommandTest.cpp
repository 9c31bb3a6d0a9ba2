// krawlix-tool archive pack, list and extract round-trip files byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ToolRun.h"
#include "storage/TempFolder.h"

namespace fs = std::filesystem;
using kxtest::ReadFileBytes;
using kxtest::RunTool;
using kxtest::WriteFileBytes;

namespace {

std::string BinaryBytes(size_t n, unsigned seed) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(seed >> 16);
    }
    return bytes;
}

class ArchiveCommand : public testing::Test {
protected:
    fs::path Path(const std::string& relative) const { return fs::path(folder.Path(relative)); }
    kxtest::ToolResult Run(const std::vector<std::string>& args) const {
        return RunTool(args, folder.Path());
    }
    kxtest::TempFolder folder;
};

} // namespace

TEST_F(ArchiveCommand, PackListAndExtractRoundTripEveryFile) {
    const std::string picture = BinaryBytes(100000, 1);
    const std::string sound = BinaryBytes(777, 2);
    const std::string list = "a.kxlev\r\nb.kxlev\r\n";
    WriteFileBytes(Path("src/imgtrans.bmp"), picture);
    WriteFileBytes(Path("src/sub dir/confirm.wav"), sound);
    WriteFileBytes(Path("abs/Levels.lst"), list);
    WriteFileBytes(Path("src/empty.bin"), "");
    WriteFileBytes(Path("src/manifest.txt"), "# resources\n"
                                             "image imgtrans imgtrans.bmp\n"
                                             "\n"
                                             "sound confirm sub dir/confirm.wav\n"
                                             "list Levels " +
                                                 Path("abs/Levels.lst").string() +
                                                 "\n"
                                                 "level Empty empty.bin\n");
    const std::string archive = Path("out/Krawlix.bfres").string();
    auto packed = Run({"archive", "pack", archive, Path("src/manifest.txt").string()});
    ASSERT_EQ(packed.status, 0) << packed.err;

    auto listed = Run({"archive", "list", archive});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "image imgtrans 00000001 100000\n"
                          "sound confirm 00000002 777\n"
                          "list Levels 00000003 18\n"
                          "level Empty 00000004 0\n");

    struct Expected {
        const char* kind;
        const char* name;
        const std::string* bytes;
    };
    const std::string nothing;
    for (const Expected& e :
         {Expected{"image", "imgtrans", &picture}, Expected{"sound", "confirm", &sound},
          Expected{"list", "Levels", &list}, Expected{"level", "Empty", &nothing}}) {
        const fs::path out = Path(std::string("x/") + e.name);
        auto extracted = Run({"archive", "extract", archive, e.kind, e.name, out.string()});
        ASSERT_EQ(extracted.status, 0) << extracted.err;
        EXPECT_TRUE(fs::exists(out));
        EXPECT_TRUE(ReadFileBytes(out) == *e.bytes) << e.name;
    }
}

TEST_F(ArchiveCommand, EmptyManifestMakesAnArchiveWithoutResources) {
    WriteFileBytes(Path("manifest"), "\n");
    const std::string archive = Path("Krawlix.bfres").string();
    auto packed = Run({"archive", "pack", archive, Path("manifest").string()});
    ASSERT_EQ(packed.status, 0) << packed.err;
    auto listed = Run({"archive", "list", archive});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "");
}

TEST_F(ArchiveCommand, MissingFileFailsWithoutLeavingAnArchive) {
    WriteFileBytes(Path("manifest"), "image a missing.bmp\n");
    const std::string archive = Path("Krawlix.bfres").string();
    auto packed = Run({"archive", "pack", archive, Path("manifest").string()});
    EXPECT_NE(packed.status, 0);
    EXPECT_NE(packed.err.find("missing.bmp"), std::string::npos);
    EXPECT_FALSE(fs::exists(archive));
}

TEST_F(ArchiveCommand, MalformedManifestLineIsReportedWithItsNumber) {
    WriteFileBytes(Path("manifest"), "image a a.bmp\nimage b\n");
    WriteFileBytes(Path("a.bmp"), "x");
    auto packed = Run({"archive", "pack", Path("K.bfres").string(), Path("manifest").string()});
    EXPECT_NE(packed.status, 0);
    EXPECT_NE(packed.err.find(":2:"), std::string::npos) << packed.err;
}

TEST_F(ArchiveCommand, ExtractOfAnUnknownResourceFails) {
    WriteFileBytes(Path("a.bmp"), "x");
    WriteFileBytes(Path("manifest"), "image imgfull a.bmp\n");
    const std::string archive = Path("K.bfres").string();
    ASSERT_EQ(Run({"archive", "pack", archive, Path("manifest").string()}).status, 0);
    auto extracted = Run({"archive", "extract", archive, "image", "ImgFull", Path("out").string()});
    EXPECT_NE(extracted.status, 0);
    EXPECT_FALSE(fs::exists(Path("out")));
}

TEST_F(ArchiveCommand, ListOfADamagedArchiveFails) {
    WriteFileBytes(Path("a.bmp"), std::string(50, 'x'));
    WriteFileBytes(Path("manifest"), "image imgfull a.bmp\n");
    const std::string archive = Path("K.bfres").string();
    ASSERT_EQ(Run({"archive", "pack", archive, Path("manifest").string()}).status, 0);
    std::string bytes = ReadFileBytes(archive);
    WriteFileBytes(archive, bytes.substr(0, bytes.size() - 20));
    auto listed = Run({"archive", "list", archive});
    EXPECT_NE(listed.status, 0);
    EXPECT_EQ(listed.out, "");
    EXPECT_NE(Run({"archive", "list", Path("none.bfres").string()}).status, 0);
}

// Names the player reads: quoted, with blanks, umlauts and a doubled quote, stored in
// Windows-1252; archive text writes a UTF-8 list in Windows-1252. What Windows-1252 cannot
// hold, and a quote left open, fail with the line's number and leave no archive.
TEST_F(ArchiveCommand, QuotedNamesAndTextsAreStoredInWindows1252) {
    WriteFileBytes(Path("a.bin"), "a");
    WriteFileBytes(Path("list.utf8"), "Lang und l\xC3\xA4nger\nEinbahnstra\xC3\x9F"
                                      "e\n");
    ASSERT_EQ(Run({"archive", "text", Path("list.utf8").string(), Path("list").string()}).status,
              0);
    EXPECT_EQ(ReadFileBytes(Path("list")), "Lang und l\xE4nger\nEinbahnstra\xDF"
                                           "e\n");
    WriteFileBytes(Path("manifest"), "level \"Lang und l\xC3\xA4nger\" a.bin\n"
                                     "level \"Ein \"\"Zitat\"\"\"  a.bin\n"
                                     "list Levels list\n");
    const std::string archive = Path("K.bfres").string();
    auto packed = Run({"archive", "pack", archive, Path("manifest").string()});
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_EQ(Run({"archive", "list", archive}).out, "level Lang und l\xE4nger 00000001 1\n"
                                                     "level Ein \"Zitat\" 00000002 1\n"
                                                     "list Levels 00000003 30\n");

    for (const char* bad : {"level \"\xCE\xA9mega\" a.bin\n", "level \"offen a.bin\n",
                            "level \"\" a.bin\n", "level \"x\"y a.bin\n"}) {
        WriteFileBytes(Path("bad"), std::string("image ok a.bin\n") + bad);
        auto failed = Run({"archive", "pack", Path("bad.bfres").string(), Path("bad").string()});
        EXPECT_NE(failed.status, 0) << bad;
        EXPECT_NE(failed.err.find(":2:"), std::string::npos) << failed.err;
        EXPECT_FALSE(fs::exists(Path("bad.bfres")));
    }
    WriteFileBytes(Path("omega.utf8"), "\xCE\xA9\n");
    EXPECT_NE(Run({"archive", "text", Path("omega.utf8").string(), Path("o").string()}).status, 0);
    EXPECT_FALSE(fs::exists(Path("o")));
}
