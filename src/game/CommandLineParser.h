// CCommandLineParser, the game's command-line grammar, and CGameParameter, the levels it names.
#pragma once

#include <string>
#include <vector>

namespace kx {

// Parameters are "/name", "-name", "+name" or a bare name, each optionally followed by ":" and
// a value; a value in double quotes may hold blanks, and two double quotes inside it stand
// for one. Parse hands every parameter to OnParameter in order.
class CCommandLineParser {
public:
    virtual ~CCommandLineParser() = default;
    // isSwitch: false for a parameter introduced by "-". Returning false stops parsing.
    virtual bool OnParameter(const std::string& name, const std::string& value, bool isSwitch) = 0;
    // False when OnParameter stopped it.
    bool Parse(const std::string& text);
};

// The game's parameters: every "level" parameter (exact spelling) adds its value to the
// level files, in command-line order; a "tape" parameter names the tape that plays the level
// named last before it (the first level when none was named before it); every other
// parameter is ignored.
class CGameParameter : public CCommandLineParser {
public:
    bool OnParameter(const std::string& name, const std::string& value, bool isSwitch) override;
    const std::vector<std::string>& GetLevelFiles() const { return levelFiles; }
    // The tape of level file i; empty for none.
    std::string GetTapeFile(size_t i) const;
    void Clear() {
        levelFiles.clear();
        tapeFiles.clear();
        leadingTape.clear();
    }

private:
    std::vector<std::string> levelFiles;
    std::vector<std::string> tapeFiles; // beside levelFiles
    std::string leadingTape;            // a tape before any level
};

} // namespace kx
