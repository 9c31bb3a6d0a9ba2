// What the program's arguments ask for before the game starts: play, --help or --version.
#pragma once

#include <string>
#include <vector>

namespace kx {

enum class ProgramRequest { Play, Help, Version };

// --help anywhere among the arguments asks for the usage, else --version for the version;
// everything else is the game's own command line.
ProgramRequest ClassifyArguments(const std::vector<std::string>& args);

// The German usage text and the version line, UTF-8, each ending with a line feed.
std::string UsageText();
std::string VersionText();

} // namespace kx
