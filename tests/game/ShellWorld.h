// Test support for the game shell: temporary program and documents folders, the real archive,
// levels drawn as ASCII pictures, the headless host and a stepping virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "field/LevelFile.h"
#include "game/GameShell.h"
#include "game/HeadlessHost.h"
#include "rules/HeadlessPlay.h"
#include "rules/RulesFixture.h"
#include "storage/FileEx.h"
#include "storage/TempFolder.h"

namespace kxtest {

inline const std::string kArchivePath = std::string(KX_OUTPUT_DIR) + "/Krawlix.bfres";

// Writes a level drawn with DrawField's legend to path.
inline void WriteLevelFile(const std::string& path, const std::vector<std::string>& rows,
                           const std::string& description = "") {
    kx::CGameFieldBase field;
    DrawField(field, rows);
    field.description = description;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    kx::CFileEx file(false);
    file.SetPath(path);
    ASSERT_TRUE(file.OpenWrite());
    ASSERT_TRUE(kx::WriteLevel(field, file));
}

// A calm level: the worm runs into the wall at once and stays there.
inline const std::vector<std::string> kCalmLevel = {"#####", "#bW.#", "#####"};
// Won in the first steps: the only corn is eaten, then the worm leaves.
inline const std::vector<std::string> kWonLevel = {"#######", "#bWc..#", "#######"};
// Lost in the first steps: the worm enters an arrow against its direction.
inline const std::vector<std::string> kLostLevel = {"#######", "#bW<c.#", "#######"};

class ShellWorld : public ::testing::Test {
protected:
    ShellWorld() { std::filesystem::create_symlink(kArchivePath, program.Path("Krawlix.bfres")); }

    std::string Level(const std::string& name, const std::vector<std::string>& rows,
                      const std::string& description = "") {
        std::string path = program.Path(name + ".kxlev");
        WriteLevelFile(path, rows, description);
        return path;
    }

    bool Start(const std::string& commandLine = "") {
        shell = std::make_unique<kx::CGameShell>(host, nullptr);
        host.SetRepaintHandler([this] { shell->Paint(kx::kClientSize, kx::kClientSize); });
        shell->SetProgramFolder(program.Path());
        shell->SetDocumentsFolder(documents.Path());
        shell->SetDataHome(data.Path());
        shell->SetRandomSeed(1);
        shell->SetSoundObserver(&sounds);
        host.SetTimeMs(kx::kHeadlessStartMs);
        shell->ParseCommandLine(commandLine);
        if (!shell->Initialize())
            return false;
        shell->InitWindow();
        return true;
    }

    // Timer steps of 10 ms each, as the window's timer calls them.
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            timeMs += kx::kTimerStepMs;
            host.SetTimeMs(kx::kHeadlessStartMs + timeMs);
            shell->Tick();
        }
    }

    std::vector<int32_t> MenuIds() const {
        std::vector<int32_t> ids;
        for (const kx::MenuItem& item : shell->Menu().GetItems())
            ids.push_back(item.id);
        return ids;
    }

    kx::CGame& Game() { return shell->Game(); }

    TempFolder program;
    TempFolder documents;
    TempFolder data; // the replays' base folder
    kx::CHeadlessHost host;
    RecordingSound sounds;
    std::unique_ptr<kx::CGameShell> shell;
    uint64_t timeMs = 0;
};

} // namespace kxtest
