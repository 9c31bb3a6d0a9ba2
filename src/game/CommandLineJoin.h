// JoinCommandLine, the program's arguments put back together as one command line.
#pragma once

#include <string>
#include <vector>

namespace kx {

// The arguments joined with single blanks. An argument that holds a blank, no double quote
// and a ":" gets its value after the first ":" wrapped in double quotes, so that
// /level:a b.kxlev reaches the parser as /level:"a b.kxlev"; every other argument (one
// without a ":" too, having no value to wrap) stays exactly as it is.
std::string JoinCommandLine(const std::vector<std::string>& args);

} // namespace kx
