// Test play: the level written to a numbered test file and the game started on it through
// IGameLauncher.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "field/GameField.h"

namespace kx {

inline constexpr const char* kTestFilePattern = "test_*.kxlev";
inline constexpr const char* kTestFileFormat = "test_%d.kxlev";
// A demonstration's tape beside its test file: the same name, this extension.
inline constexpr const char* kTestTapePattern = "test_*.tape";
inline constexpr const char* kTestTapeExtension = ".tape";
inline constexpr std::time_t kTestFileMaxAge = 604800; // seven days, in seconds
inline constexpr const char* kGameProgramName = "Krawlix";

// What the front end does for a test play. Implemented by the Qt layer (start the game
// detached, minimise the main window) and by tests.
class IGameLauncher {
public:
    // Starts program with the arguments, not waiting for it; false when it cannot start.
    virtual bool StartGame(const std::string& program,
                           const std::vector<std::string>& arguments) = 0;
    // Called only after the game started.
    virtual void MinimiseEditor() = 0;

protected:
    ~IGameLauncher() = default;
};

// Deletes the files (not folders) matching "test_*.kxlev" or "test_*.tape" in folder whose last
// write is more than seven days before now; failures are ignored. Returns how many went.
int DeleteOldTestFiles(const std::string& folder, std::time_t now);

// The game for a test play: beside the editor in programFolder (a build, or an install into
// one bin/), else in the games/ folder beside it (/usr/games for /usr/bin); the path beside
// the editor when neither exists.
std::string FindGameProgram(const std::string& programFolder);

// The game's arguments for a test file: the switch "/level:" and the path, then "/tape:" and
// the tape's path when there is one.
std::vector<std::string> TestGameArguments(const std::string& testFile,
                                           const std::string& tapeFile = {});
// The same as one command line: the game's path and the switches' paths, each in quotes, the
// quotes inside the switches' paths doubled.
std::string TestGameCommandLine(const std::string& program, const std::string& testFile,
                                const std::string& tapeFile = {});

struct TestPlayResult {
    enum class Outcome { Started, WriteFailed, StartFailed };
    Outcome outcome = Outcome::WriteFailed;
    std::string testFile;    // the file written (empty when none)
    std::string tapeFile;    // the demonstration's tape written (empty when none)
    std::string program;     // the game started
    std::string commandLine; // as TestGameCommandLine gives it
    std::string error;       // UTF-8: the file layer's message, or why the start failed
};

struct TestPlaySettings {
    std::string folder;  // the temporary folder; empty: GetTempDirectory()
    std::string program; // the game; empty: FindGameProgram(the program folder)
    std::time_t now = 0; // for the age of old test files; 0: the present time
};

// The test-play command: deletes old test files, writes the field (in its present state,
// the document untouched) to MakeUniqueFileName(folder, "test_%d.kxlev", random & 0xFFFF),
// then starts the game on it and, once it started, minimises the editor. A file that
// cannot be written starts nothing.
TestPlayResult TestLevel(const CGameFieldBase& field, uint32_t randomValue, IGameLauncher& launcher,
                         const TestPlaySettings& settings = {});
// The same with a tape (its text as the game reads it) written beside the test file, so the
// game plays the tape's keys on the level: a demonstration of a solution. Neither file is
// left when one of them cannot be written.
TestPlayResult DemonstrateLevel(const CGameFieldBase& field, const std::string& tapeText,
                                uint32_t randomValue, IGameLauncher& launcher,
                                const TestPlaySettings& settings = {});

} // namespace kx
