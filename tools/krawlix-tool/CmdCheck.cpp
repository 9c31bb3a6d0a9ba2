// krawlix-tool check: the level checker's warnings, one line each, for level files or sources.
#include <cstdio>
#include <string>

#include "Command.h"
#include "LevelCheck.h"
#include "field/LevelSource.h"

namespace kxtool {
namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A ".txt" path is a level source and is compiled; anything else is read as a level file.
// On failure error names the file and the reason.
bool LoadForCheck(const std::string& path, kx::CGameFieldBase& field, std::string& error) {
    if (!EndsWith(path, ".txt"))
        return LoadLevelFile(path, field, nullptr, error, true);
    std::string source;
    if (!ReadFileBytes(path, source, error))
        return false;
    if (kx::CompileLevelSource(source, field, error))
        return true;
    error = path + ": " + error;
    return false;
}

int Check(const Args& args) {
    if (args.empty())
        return Fail("usage: check LEVEL...");
    bool warned = false, unreadable = false;
    for (const std::string& path : args) {
        kx::CGameFieldBase field;
        std::string error;
        if (!LoadForCheck(path, field, error)) {
            std::fprintf(stderr, "krawlix-tool: %s\n", error.c_str());
            unreadable = true;
            continue;
        }
        for (const LevelWarning& w : CheckLevel(field)) {
            warned = true;
            if (w.x >= 0)
                std::printf("%s: (%d, %d): %s\n", path.c_str(), w.x, w.y, w.text.c_str());
            else
                std::printf("%s: %s\n", path.c_str(), w.text.c_str());
        }
    }
    return unreadable ? 2 : warned ? 1 : 0;
}

const Register checkCommand{
    {"check", "LEVEL...",
     "warns about what a level author should look at, one line per finding with its cell "
     "(column, row): corn no worm can reach, worms on the border or in walls, body cells no head "
     "claims, flags that contradict walls, blocks or fences, switches without partners, a missing "
     "description or unknown mark-up tags, a big field used like a small one. LEVEL is a level "
     "file, or a source when it ends in .txt. Exit 0 without warnings, 1 with warnings, 2 when "
     "a file does not read",
     Check}};

} // namespace
} // namespace kxtool
