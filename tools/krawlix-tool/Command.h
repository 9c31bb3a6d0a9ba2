// The command registry of krawlix-tool: every Cmd*.cpp adds its commands with a static Register.
#pragma once

#include <charconv>
#include <functional>
#include <string>
#include <vector>

namespace kx {
class CGameFieldBase;
} // namespace kx

namespace kxtool {

using Args = std::vector<std::string>;

struct Command {
    std::string name;  // first word(s) on the command line, e.g. "level dump"
    std::string usage; // arguments, for --help
    std::string summary;
    std::function<int(const Args& args)> run; // args after the name; returns the exit status
};

// Registers at static initialisation: static kxtool::Register r{{...}};
struct Register {
    explicit Register(Command command);
};

const std::vector<Command>& AllCommands();

// The command registered under exactly this name, or nullptr.
const Command* FindCommand(const std::string& name);

// A whole number of the type's range in the given base, and nothing else: no blanks, no
// '+', no digits beyond the range. Every number on the command line is read this way.
template <typename Int> bool ParseNumber(const std::string& text, Int& value, int base = 10) {
    Int parsed{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

// Prints "krawlix-tool: message" on standard error and returns 1.
int Fail(const std::string& message);

// Fail with a message of the storage layer (Windows-1252), such as a failed write's reason.
int FailWrite(const std::string& cp1252Message);

// The whole file's bytes, at most 64 MB, from a file or a pipe; false with the reason (UTF-8,
// naming the file) in error if it cannot be opened or read, is a folder or is larger.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Reads a level file of any version through ReadFileBytes; on failure error names the file
// and the reason. warnCutShort: a version-4 record tree that ends early is used as far as
// it goes, with a warning on standard error.
bool LoadLevelFile(const std::string& path, kx::CGameFieldBase& field, uint32_t* version,
                   std::string& error, bool warnCutShort);

} // namespace kxtool
