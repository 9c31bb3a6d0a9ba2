// The command registry of krawlix-tool: every Cmd*.cpp adds its commands with a static Register.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// Prints "krawlix-tool: message" on standard error and returns 1.
int Fail(const std::string& message);

// Fail with a message of the storage layer (Windows-1252), such as a failed write's reason.
int FailWrite(const std::string& cp1252Message);

// The whole file's bytes; false if it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

} // namespace kxtool
