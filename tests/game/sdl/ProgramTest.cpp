// The Krawlix program without a display: --help, --version, the command line's name of a
// level with blanks, and a start-up that fails before any window opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/sdl/ProgramOptions.h"
#include "tools/ToolRun.h"

namespace kx {
namespace {

namespace fs = std::filesystem;

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a Krawlix binary with no display and no sound, with a profile folder of its own.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const fs::path& folder) {
    fs::create_directories(folder);
    // A program that opened an invisible window would never end: the time limit ends it.
    std::string command =
        "timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy HOME=" +
        kxtest::ShellQuote(folder.string()) +
        " XDG_CONFIG_HOME=" + kxtest::ShellQuote((folder / "config").string()) + " " +
        kxtest::ShellQuote(program);
    for (const std::string& a : args) {
        command += " " + kxtest::ShellQuote(a);
    }
    command += " >" + kxtest::ShellQuote((folder / "out.txt").string()) + " 2>" +
               kxtest::ShellQuote((folder / "err.txt").string());
    const int status = std::system(command.c_str());
    ProgramResult r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = kxtest::ReadFileBytes(folder / "out.txt");
    r.err = kxtest::ReadFileBytes(folder / "err.txt");
    return r;
}

fs::path TestFolder(const std::string& name) {
    const fs::path p = fs::temp_directory_path() / ("krawlix-program-" + name);
    fs::remove_all(p);
    return p;
}

TEST(ProgramOptions, HelpWinsOverVersionAndEverythingElseIsTheGamesOwn) {
    EXPECT_EQ(ClassifyArguments({}), ProgramRequest::Play);
    EXPECT_EQ(ClassifyArguments({"/level:a.kxlev"}), ProgramRequest::Play);
    EXPECT_EQ(ClassifyArguments({"--version", "--help"}), ProgramRequest::Help);
    EXPECT_EQ(ClassifyArguments({"/level:a.kxlev", "--version"}), ProgramRequest::Version);
    EXPECT_EQ(ClassifyArguments({"-help"}), ProgramRequest::Play);
    EXPECT_EQ(ClassifyArguments({"/level:--help"}), ProgramRequest::Play);
}

TEST(Program, HelpAndVersionPrintAndEndWithoutADisplay) {
    const fs::path folder = TestFolder("help");
    const ProgramResult help = RunProgram(KX_OUTPUT_DIR "/Krawlix", {"--help"}, folder);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out, UsageText());
    EXPECT_NE(help.out.find("Aufruf: Krawlix"), std::string::npos);
    const ProgramResult version = RunProgram(KX_OUTPUT_DIR "/Krawlix", {"--version"}, folder);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, "Krawlix 1.3\n");
    // Nothing was started, so nothing was stored.
    EXPECT_FALSE(fs::exists(folder / "config"));
}

TEST(Program, AFailedStartUpShowsItsMessageAndEndsWithStatusOne) {
    // A copy of the program in a folder without the archive finds no pictures and no levels.
    const fs::path folder = TestFolder("no-archive");
    fs::create_directories(folder / "bin");
    fs::copy_file(KX_OUTPUT_DIR "/Krawlix", folder / "bin" / "Krawlix");
    const ProgramResult r = RunProgram((folder / "bin" / "Krawlix").string(), {}, folder);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Krawlix: "), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(folder / "config" / "Halvane" / "Krawlix.conf"));
}

TEST(Program, WithoutADisplayAGoodStartUpEndsWithTheWindowsMessage) {
    const fs::path folder = TestFolder("no-display");
    const ProgramResult r = RunProgram(
        KX_OUTPUT_DIR "/Krawlix", {"/level:" KX_TEST_DATA_DIR "/levels/small_v4.kxlev"}, folder);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Das Spielfenster lässt sich nicht öffnen"), std::string::npos) << r.err;
}

} // namespace
} // namespace kx
