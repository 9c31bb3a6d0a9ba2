// Test play: stale test files removed, the level written to a fresh test file, the game started on
// it.
#include "editor/TestPlay.h"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

#include "field/LevelFile.h"
#include "storage/Error.h"
#include "storage/FileFinder.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"

namespace kx {

int DeleteOldTestFiles(const std::string& folder, std::time_t now) {
    const std::time_t limit = now - kTestFileMaxAge;
    const std::string base = AppendBackslash(folder);
    std::vector<std::string> stale;
    for (const char* pattern : {kTestFilePattern, kTestTapePattern}) {
        CFileFinder finder;
        for (finder.Start(base + pattern, true, false); finder.IsValid(); finder.Next()) {
            const std::string path = base + finder.Current().fileName;
            struct stat info {};
            // Only regular files: a folder or anything else named like a test file stays.
            if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_mtime < limit) {
                stale.push_back(path);
            }
        }
        finder.Close();
    }
    int deleted = 0;
    for (const std::string& path : stale) {
        if (std::remove(path.c_str()) == 0) {
            ++deleted;
        }
    }
    return deleted;
}

namespace {
// Exactly this name: the game is started by the path, so a name that differs in case is
// not it.
bool IsProgramFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
} // namespace

std::string FindGameProgram(const std::string& programFolder) {
    const std::string beside = programFolder.empty()
                                   ? std::string(kGameProgramName)
                                   : AppendBackslash(programFolder) + kGameProgramName;
    if (IsProgramFile(beside)) {
        return beside;
    }
    std::string folder = programFolder;
    while (folder.size() > 1 && folder.back() == kPathSeparator) {
        folder.pop_back();
    }
    std::string parent;
    std::string name;
    if (SplitPath(folder, parent, name)) {
        const std::string installed = JoinPath(
            parent.empty() ? std::string(1, kPathSeparator) : parent, "games", kGameProgramName);
        if (IsProgramFile(installed)) {
            return installed;
        }
    }
    return beside;
}

std::vector<std::string> TestGameArguments(const std::string& testFile,
                                           const std::string& tapeFile) {
    std::vector<std::string> arguments{"/level:" + testFile};
    if (!tapeFile.empty()) {
        arguments.push_back("/tape:" + tapeFile);
    }
    return arguments;
}

namespace {
// A quote inside the value is doubled, as the game's command-line parser reads it back.
std::string QuotedSwitch(const char* name, const std::string& path) {
    std::string value;
    for (char c : path) {
        value += c;
        if (c == '"') {
            value += '"';
        }
    }
    return std::string(" ") + name + "\"" + value + "\"";
}

// Writes bytes to path whole or not at all; raises CTBException.
void WriteTestFile(const std::string& path, const void* data, size_t size) {
    COutputFile file(true);
    file.Open(path);
    file.WriteBytes(data, size);
    file.Commit();
}
} // namespace

std::string TestGameCommandLine(const std::string& program, const std::string& testFile,
                                const std::string& tapeFile) {
    std::string line = "\"" + program + "\"" + QuotedSwitch("/level:", testFile);
    if (!tapeFile.empty()) {
        line += QuotedSwitch("/tape:", tapeFile);
    }
    return line;
}

namespace {
TestPlayResult StartTestPlay(const CGameFieldBase& field, const std::string* tapeText,
                             uint32_t randomValue, IGameLauncher& launcher,
                             const TestPlaySettings& settings) {
    TestPlayResult result;
    const std::string folder =
        settings.folder.empty() ? GetTempDirectory() : AppendBackslash(settings.folder);
    DeleteOldTestFiles(folder, settings.now != 0 ? settings.now : std::time(nullptr));
    int n = static_cast<int>(randomValue & 0xFFFF);
    const std::string path = MakeUniqueFileName(folder, kTestFileFormat, n);
    try {
        CMemBlock bytes;
        {
            CMemSerializer out(bytes, true);
            if (!WriteLevel(field, out)) {
                RaiseError(T("Fehler beim Schreiben von %u Bytes in Datei \"%s\".").c_str(),
                           bytes.size, path.c_str());
            }
        }
        WriteTestFile(path, bytes.data, bytes.size);
    } catch (const CTBException& e) {
        result.outcome = TestPlayResult::Outcome::WriteFailed;
        result.error = Utf8FromCp1252(e.GetErrorText());
        return result;
    }
    if (tapeText != nullptr) {
        const std::string tape = path.substr(0, path.size() - 6) + kTestTapeExtension;
        try {
            WriteTestFile(tape, tapeText->data(), tapeText->size());
        } catch (const CTBException& e) {
            std::remove(path.c_str());
            result.outcome = TestPlayResult::Outcome::WriteFailed;
            result.error = Utf8FromCp1252(e.GetErrorText());
            return result;
        }
        result.tapeFile = tape;
    }
    result.testFile = path;
    result.program =
        settings.program.empty() ? FindGameProgram(GetModuleDirectory()) : settings.program;
    result.commandLine = TestGameCommandLine(result.program, path, result.tapeFile);
    if (!launcher.StartGame(result.program, TestGameArguments(path, result.tapeFile))) {
        result.outcome = TestPlayResult::Outcome::StartFailed;
        result.error = "Krawlix konnte nicht gestartet werden.";
        return result;
    }
    launcher.MinimiseEditor();
    result.outcome = TestPlayResult::Outcome::Started;
    return result;
}
} // namespace

TestPlayResult TestLevel(const CGameFieldBase& field, uint32_t randomValue, IGameLauncher& launcher,
                         const TestPlaySettings& settings) {
    return StartTestPlay(field, nullptr, randomValue, launcher, settings);
}

TestPlayResult DemonstrateLevel(const CGameFieldBase& field, const std::string& tapeText,
                                uint32_t randomValue, IGameLauncher& launcher,
                                const TestPlaySettings& settings) {
    return StartTestPlay(field, &tapeText, randomValue, launcher, settings);
}

} // namespace kx
