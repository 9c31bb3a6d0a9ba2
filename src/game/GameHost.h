// IGameHost, what the game shell asks of its window: title, repaint, quit, messages, web, profile,
// counter.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kx {

// None: a plain message box without an icon.
enum class MessageIcon { Information, Warning, Error, None };

// The shell talks to its window only through this. The SDL window implements it for the
// desktop program; a headless host with a virtual clock implements it for tests and
// `krawlix-tool shot`. Texts that come in are Windows-1252 (the game's own encoding); a host
// converts them where they cross to the platform.
class IGameHost {
public:
    virtual void SetWindowTitle(const std::string& title) = 0;
    // Repaint at once: the host calls the shell's Paint before this returns.
    virtual void RepaintNow() = 0;
    // Posts the quit command; the host ends its loop after the current step.
    virtual void PostQuit() = 0;
    virtual void ShowMessageBox(const std::string& text, MessageIcon icon) = 0;
    virtual void OpenWebAddress(const std::string& address) = 0;
    virtual int32_t GetProfileInt(const std::string& section, const std::string& entry,
                                  int32_t defaultValue) = 0;
    virtual void WriteProfileInt(const std::string& section, const std::string& entry,
                                 int32_t value) = 0;
    // Text values, for entries named by the game (the records); the host stores what it is
    // given byte for byte.
    virtual std::vector<std::pair<std::string, std::string>>
    GetProfileSection(const std::string& section) = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
    // The high-resolution counter and its frequency in counts per second; a frequency of 0
    // means the platform has no such counter.
    virtual uint64_t QueryCounter() = 0;
    virtual uint64_t QueryCounterFrequency() = 0;

protected:
    ~IGameHost() = default;
};

} // namespace kx
