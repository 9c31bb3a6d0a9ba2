// CFileEx: opening, reading and writing with and without raising, text mode and sizes.
#include <string>

#include <gtest/gtest.h>

#include "Fifo.h"
#include "TempFolder.h"
#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/FileEx.h"
#include "storage/FileFinder.h"
#include "storage/InputFile.h"
#include "storage/TextCodec.h"
#include "storage/TextFile.h"

using namespace kx;
using kxtest::TempFolder;

namespace {

std::string RaisedText(const std::function<void()>& action) {
    try {
        action();
    } catch (const CTBException& e) {
        EXPECT_EQ(e.kind, CTBException::kMessage);
        return e.text;
    }
    return "<nothing raised>";
}

} // namespace

TEST(FileExPath, BackslashesBecomeSlashesAndTheFileOpens) {
    TempFolder folder;
    folder.Write("sub/data.bin", "xyz");
    std::string windowsPath = folder.Path("sub\\data.bin");
    CFileEx file(true);
    file.SetPath(windowsPath);
    EXPECT_EQ(file.GetPath(), folder.Path("sub/data.bin"));
    ASSERT_TRUE(file.OpenRead());
    char buffer[3];
    EXPECT_TRUE(file.Read(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "xyz");
}

TEST(FileExOpen, MissingFileRaisesTheGermanMessageOnlyWhenAsked) {
    TempFolder folder;
    const std::string missing = folder.Path("nope.kxlev");
    CFileEx quiet(false);
    quiet.SetPath(missing);
    EXPECT_FALSE(quiet.OpenRead());
    EXPECT_FALSE(quiet.IsOpen());

    CFileEx loud(true);
    loud.SetPath(missing);
    EXPECT_EQ(RaisedText([&] { loud.OpenRead(); }),
              T("Datei \"") + missing + T("\" konnte nicht zum Lesen geöffnet werden."));
    EXPECT_NE(RaisedText([&] { loud.OpenRead(); }).find('\xF6'), std::string::npos);
}

TEST(FileExOpen, AFolderDoesNotOpenAsAFile) {
    TempFolder folder;
    folder.MakeFolder("Levels");
    CFileEx file(false);
    file.SetPath(folder.Path("Levels"));
    EXPECT_FALSE(file.OpenRead());
    EXPECT_EQ(file.GetSize(), 0u);
}

TEST(FileExOpen, EmptyPathStaysClosedWithoutRaising) {
    CFileEx file(true);
    EXPECT_FALSE(file.OpenRead());
    EXPECT_FALSE(file.IsOpen());
}

TEST(FileExRead, ShortBinaryReadRaisesWithCountAndPath) {
    TempFolder folder;
    const std::string path = folder.Write("short.bin", "abc");
    CFileEx file(true);
    file.SetPath(path);
    ASSERT_TRUE(file.OpenRead());
    char buffer[10];
    EXPECT_EQ(RaisedText([&] { file.ReadBytes(buffer, 10); }),
              "Fehler beim Lesen von 10 Bytes aus Datei \"" + path + "\".");
    // The stream stays open after the error.
    EXPECT_TRUE(file.IsOpen());

    CFileEx quiet(false);
    quiet.SetPath(path);
    ASSERT_TRUE(quiet.OpenRead());
    EXPECT_EQ(quiet.ReadBytes(buffer, 10), 3u);
    EXPECT_FALSE(quiet.Read(buffer, 1));
}

TEST(FileExRead, ZeroBytesAndClosedFilesReadNothingAndNeverRaise) {
    CFileEx file(true);
    char buffer[4];
    EXPECT_EQ(file.ReadBytes(buffer, 4), 0u);
    EXPECT_EQ(file.WriteBytes(buffer, 4), 0u);
    TempFolder folder;
    file.SetPath(folder.Write("a.bin", "abcd"));
    ASSERT_TRUE(file.OpenRead());
    EXPECT_EQ(file.ReadBytes(buffer, 0), 0u);
    EXPECT_TRUE(file.Read(buffer, 4));
    EXPECT_EQ(file.ReadBytes(buffer, 0), 0u);
}

TEST(FileExRead, TextModeShortReadIsNoErrorAndCollapsesLineEnds) {
    TempFolder folder;
    const std::string path = folder.Write("list.txt", "one\r\ntwo\r\nthree\rx");
    CFileEx file(true);
    file.SetPath(path, false);
    EXPECT_EQ(file.GetSize(), 17u);
    ASSERT_TRUE(file.OpenRead());
    char buffer[32];
    const uint32_t got = file.ReadBytes(buffer, 17);
    EXPECT_EQ(std::string(buffer, got), "one\ntwo\nthree\rx");
}

TEST(FileExWrite, WrittenBytesAndTextReadBack) {
    TempFolder folder;
    const std::string path = folder.Path("deep/er/out.bin");
    CFileEx file(true);
    file.SetPath(path);
    ASSERT_TRUE(file.OpenWrite()); // creates the missing folders
    EXPECT_TRUE(file.Write("ab", 2));
    file.WriteText("Zeile", true);
    file.WriteText("", false);
    file.Close();
    EXPECT_EQ(kxtest::ReadAll(path), "abZeile\n");
}

TEST(FileExWrite, UncreatableFileRaisesOnlyWhenAsked) {
    TempFolder folder;
    folder.Write("blocker", "a file, not a folder");
    const std::string path = folder.Path("blocker/out.bin");
    CFileEx quiet(false);
    quiet.SetPath(path);
    EXPECT_FALSE(quiet.OpenWrite());
    CFileEx loud(true);
    loud.SetPath(path);
    EXPECT_EQ(RaisedText([&] { loud.OpenWrite(); }),
              "Datei \"" + path + "\" konnte nicht angelegt werden.");
}

TEST(FileExWrite, ShortWriteRaisesWithCountAndPath) {
    CFileEx file(true);
    file.SetPath("/dev/full");
    ASSERT_TRUE(file.OpenWrite());
    std::string big(1 << 16, 'x');
    EXPECT_EQ(RaisedText([&] {
                  file.WriteBytes(big.data(), static_cast<uint32_t>(big.size()));
                  file.WriteBytes(big.data(), static_cast<uint32_t>(big.size()));
              }),
              "Fehler beim Schreiben von 65536 Bytes in Datei \"/dev/full\".");
}

TEST(FileExSize, MissingFileHasSizeZeroAndSizeIsCachedUntilClose) {
    TempFolder folder;
    CFileEx missing(true);
    missing.SetPath(folder.Path("missing.bin"));
    EXPECT_EQ(missing.GetSize(), 0u);

    const std::string path = folder.Write("grow.bin", "12345");
    CFileEx file(false);
    file.SetPath(path);
    EXPECT_EQ(file.GetSize(), 5u);
    folder.Write("grow.bin", "1234567890");
    EXPECT_EQ(file.GetSize(), 5u);
    file.Close();
    EXPECT_EQ(file.GetSize(), 10u);
}

TEST(FileExStore, SkipSeeksAndBytesLeftCountsTheRest) {
    TempFolder folder;
    const std::string path = folder.Write("skip.bin", "0123456789");
    CFileEx file(false);
    file.SetPath(path);
    EXPECT_EQ(file.BytesLeft(), 0u);
    ASSERT_TRUE(file.OpenRead());
    EXPECT_EQ(file.BytesLeft(), 10u);
    file.Skip(7);
    EXPECT_EQ(file.BytesLeft(), 3u);
    char c = 0;
    ASSERT_TRUE(file.Read(&c, 1));
    EXPECT_EQ(c, '7');
    file.SetPath(path, false);
    ASSERT_TRUE(file.OpenRead());
    EXPECT_EQ(file.BytesLeft(), IStore::kUnknownLength);
}

TEST(FileExStore, RecordTreeThroughAFileRoundTripsAndRefusesAHugeLength) {
    TempFolder folder;
    const std::string path = folder.Path("tree.bin");
    {
        CBlockFile root;
        root.type = TypeCode("test");
        root.AddChild().data.CopyFrom("hello", 5);
        CFileEx out(true);
        out.SetPath(path);
        ASSERT_TRUE(out.OpenWrite());
        ASSERT_TRUE(root.Save(out));
    }
    CFileEx in(false);
    in.SetPath(path);
    ASSERT_TRUE(in.OpenRead());
    CBlockFile loaded;
    ASSERT_TRUE(loaded.Load(in));
    ASSERT_EQ(loaded.ChildCount(), 1u);
    EXPECT_EQ(loaded.ChildAt(0).data.size, 5u);

    // Stated data length 0xFFFFFFF0 in a 20-byte file: a short read, no allocation.
    const std::string damaged = folder.Write(
        "damaged.bin", std::string("\x01\0\0\0\xF0\xFF\xFF\xFF", 8) + std::string(12, '\0'));
    CFileEx bad(true);
    bad.SetPath(damaged);
    ASSERT_TRUE(bad.OpenRead());
    CBlockFile refused;
    EXPECT_FALSE(refused.Load(bad));
    EXPECT_EQ(refused.data.size, 0u);
}

TEST(FileExCase, PathsThatDifferInLetterCaseAreFound) {
    TempFolder folder;
    folder.Write("Levels/Intro.KXLEV", "data");
    CFileEx file(true);
    file.SetPath(folder.Path("levels/intro.kxlev"));
    EXPECT_EQ(file.GetSize(), 4u);
    ASSERT_TRUE(file.OpenRead());
    char buffer[4];
    EXPECT_TRUE(file.Read(buffer, 4));

    // Writing to a differently cased name replaces the existing file.
    CFileEx out(true);
    out.SetPath(folder.Path("LEVELS/intro.kxlev"));
    ASSERT_TRUE(out.OpenWrite());
    out.WriteText("new", false);
    out.Close();
    EXPECT_EQ(kxtest::ReadAll(folder.Path("Levels/Intro.KXLEV")), "new");
}

namespace {

TEST(NamedPipes, EveryReaderOpensAPipeThatNobodyWritesToAtOnceAndReadsItEmpty) {
    TempFolder folder;
    kxtest::Fifo fifo(folder.Path("pipe.kxlev"));
    ASSERT_TRUE(fifo.Made());
    fifo.Watch(kxtest::kFifoPatience);

    CFileEx file(false);
    file.SetPath(fifo.Path());
    ASSERT_TRUE(file.OpenRead());
    char byte = 0;
    EXPECT_EQ(file.ReadBytes(&byte, 1), 0u);
    file.Close();
    std::string bytes = "stale";
    std::string error;
    EXPECT_TRUE(ReadWholeFile(fifo.Path(), bytes, &error)) << error;
    EXPECT_TRUE(bytes.empty());

    // What is read from folders is read from regular files only.
    EXPECT_FALSE(file.OpenRead(kRegularFileOnly));
    CFileEx raising(true);
    raising.SetPath(fifo.Path());
    EXPECT_NE(RaisedText([&] { raising.OpenRead(kRegularFileOnly); }).find("pipe.kxlev"),
              std::string::npos);
    CTextFile text;
    EXPECT_FALSE(text.Load(fifo.Path()));
    EXPECT_FALSE(text.HasMoreLines());
    EXPECT_FALSE(IsRegularFile(fifo.Path()));
    EXPECT_TRUE(IsRegularFile(folder.Write("plain.txt", "x")));
    EXPECT_FALSE(IsRegularFile(folder.Path()));

    CFileFinder finder;
    finder.Start(folder.Path("*"), true, false);
    int regular = 0, others = 0;
    for (; finder.IsValid(); finder.Next())
        (finder.Current().isRegularFile ? regular : others) += 1;
    EXPECT_EQ(regular, 1);
    EXPECT_EQ(others, 1) << "the pipe is listed as a file, but not as a regular one";

    fifo.Stop();
    EXPECT_FALSE(fifo.Rescued()) << "a reader waited for a writer";
}

} // namespace
