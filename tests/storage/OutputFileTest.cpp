// COutputFile and WriteWholeFile: a file is replaced whole or left as it was.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "storage/Error.h"
#include "storage/OutputFile.h"

using namespace kx;
using kxtest::ReadAll;
using kxtest::TempFolder;

namespace {

size_t EntriesIn(const std::string& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

bool FullDeviceAvailable() {
    struct stat info {};
    return stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode);
}

} // namespace

TEST(OutputFileCommit, ReplacesTheFileWholeAndLeavesNothingBeside) {
    TempFolder folder;
    const std::string path = folder.Write("level.kxlev", "old contents");
    chmod(path.c_str(), 0640);
    const std::string big(200000, 'x');
    COutputFile file(false);
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.WriteBytes("head", 4));
    EXPECT_TRUE(file.WriteBytes(big.data(), big.size()));
    EXPECT_TRUE(file.Write("tail", 4));
    EXPECT_EQ(ReadAll(path), "old contents") << "the target changes only at Commit";
    ASSERT_TRUE(file.Commit()) << file.GetErrorText();
    EXPECT_EQ(ReadAll(path), "head" + big + "tail");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(OutputFileCommit, AFileAbandonedWithoutCommitLeavesTheOldOneAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder.Write("out.png", "previous");
    {
        COutputFile file(false);
        ASSERT_TRUE(file.Open(path));
        EXPECT_TRUE(file.WriteBytes("new", 3));
    }
    EXPECT_EQ(ReadAll(path), "previous");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(OutputFileCommit, MissingFoldersAreCreated) {
    TempFolder folder;
    const std::string path = folder.Path("a/b/c.wav");
    std::string error;
    ASSERT_TRUE(WriteWholeFile(path, "RIFF", 4, &error)) << error;
    EXPECT_EQ(ReadAll(path), "RIFF");
}

TEST(OutputFileFailure, AFileSizeLimitFailsWithTheReasonAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.Write("big.kxlev", "the old level");
    // The limit applies to the whole process, so the write runs in a child.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string bytes(100000, 'z');
        COutputFile file(false);
        const bool ok =
            file.Open(path) && file.WriteBytes(bytes.data(), bytes.size()) && file.Commit();
        const bool reasonGiven = file.GetErrorCode() == EFBIG &&
                                 file.GetErrorText().find("File too large") != std::string::npos &&
                                 file.GetErrorText().find(path) != std::string::npos;
        _exit(ok ? 1 : reasonGiven ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: no or wrong reason";
    EXPECT_EQ(ReadAll(path), "the old level");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(OutputFileFailure, AFullDeviceFailsAtTheFlushAndRaisesWhenAsked) {
    if (!FullDeviceAvailable()) {
        GTEST_SKIP() << "/dev/full is not a character device here";
    }
    std::string error;
    EXPECT_FALSE(WriteWholeFile("/dev/full", "abc", 3, &error));
    EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;

    COutputFile loud(true);
    ASSERT_TRUE(loud.Open("/dev/full"));
    EXPECT_TRUE(loud.WriteBytes("abc", 3)) << "small writes are buffered";
    try {
        loud.Commit();
        ADD_FAILURE() << "Commit on a full device did not raise";
    } catch (const CTBException& e) {
        EXPECT_EQ(e.kind, CTBException::kMessage);
        EXPECT_NE(e.text.find("/dev/full"), std::string::npos);
        EXPECT_NE(e.text.find("No space left on device"), std::string::npos);
    }
}

TEST(OutputFileFailure, AFolderInTheWayIsRefusedAndLeftAlone) {
    TempFolder folder;
    folder.MakeFolder("taken");
    std::string error;
    EXPECT_FALSE(WriteWholeFile(folder.Path("taken"), "x", 1, &error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("taken")));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(OutputFileFailure, AFolderThatTakesNoNewFilesGivesTheReasonOfTheOpen) {
    // /proc exists, so making it is no remedy, and its "File exists" would say nothing.
    std::string error;
    EXPECT_FALSE(WriteWholeFile("/proc/krawlix-test.conf", "x", 1, &error));
    EXPECT_NE(error.find("/proc/krawlix-test.conf"), std::string::npos) << error;
    EXPECT_EQ(error.find("File exists"), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
}
