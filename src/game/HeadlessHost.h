// CHeadlessHost, the game shell's window without a display: virtual clock, recorded calls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GameHost.h"
#include "ProfileFile.h"

namespace kx {

class CHeadlessHost : public IGameHost {
public:
    static constexpr uint64_t kFrequency = 1000000; // counts per second of the virtual clock

    struct Message {
        std::string text; // Windows-1252, as the shell gave it
        MessageIcon icon = MessageIcon::Information;
    };

    // What RepaintNow calls, normally the shell's Paint at the window's size.
    void SetRepaintHandler(std::function<void()> handler) { repaint = std::move(handler); }
    // The virtual counter reads ms milliseconds from now on.
    void SetTimeMs(uint64_t ms) {
        // In two parts, so that the product does not wrap for large times.
        counter = ms / 1000 * frequency + ms % 1000 * frequency / 1000;
    }
    void SetCounter(uint64_t value) { counter = value; }
    // 0 plays a platform without a high-resolution counter.
    void SetCounterFrequency(uint64_t value) { frequency = value; }

    // Profile values are read from and written to this file (written at once, atomically);
    // without one they live in memory only. An unreadable or oversized file is never written.
    void UseProfileFile(const std::string& path);
    CProfileFile& Profile() { return profile; }

    // IGameHost
    void SetWindowTitle(const std::string& title) override { titles.push_back(title); }
    void RepaintNow() override;
    void PostQuit() override { quitPosted = true; }
    void ShowMessageBox(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    void OpenWebAddress(const std::string& address) override { opened.push_back(address); }
    int32_t GetProfileInt(const std::string& section, const std::string& entry,
                          int32_t defaultValue) override {
        return profile.GetInt(section, entry, defaultValue);
    }
    void WriteProfileInt(const std::string& section, const std::string& entry,
                         int32_t value) override;
    std::vector<std::pair<std::string, std::string>>
    GetProfileSection(const std::string& section) override {
        return profile.SectionEntries(section);
    }
    void WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    uint64_t QueryCounter() override { return counter; }
    uint64_t QueryCounterFrequency() override { return frequency; }

    // What the shell did.
    std::vector<std::string> titles;
    std::vector<Message> messages;
    std::vector<std::string> opened;
    bool quitPosted = false;
    int repaints = 0;
    int profileWrites = 0;
    bool profileSaveFailed = false;
    std::string profileSaveError; // the system's reason of the last failed write (Windows-1252)

private:
    std::function<void()> repaint;
    uint64_t counter = 0;
    uint64_t frequency = kFrequency;
    CProfileFile profile;
    std::optional<std::string> profilePath;
};

} // namespace kx
