// JoinCommandLine, the program's arguments put back together as one command line.
#pragma once

#include <string>
#include <vector>

namespace kx {

// The arguments joined with single blanks, so that the command-line parser reads back every
// argument's name and value as they were. A value (the text after an argument's first ":")
// that is empty or holds a blank, a tab or a double quote is wrapped in double quotes with
// each quote inside doubled: /level:a"b c.kxlev becomes /level:"a""b c.kxlev". Every other
// argument, one without a ":" too, stays exactly as it is; a name with a blank in it cannot
// be passed whole.
std::string JoinCommandLine(const std::vector<std::string>& args);

} // namespace kx
