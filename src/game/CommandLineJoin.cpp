// JoinCommandLine: the desktop program and krawlix-tool shot hand the game one command line.
#include "CommandLineJoin.h"

namespace kx {

namespace {

// Unquoted, the parser would end such a value early, take the next argument into an empty
// one, or read a leading quote as the start of a quoted value.
bool NeedsQuotes(const std::string& value) {
    return value.empty() || value.find_first_of(" \t\"") != std::string::npos;
}

} // namespace

std::string JoinCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        const size_t colon = arg.find(':');
        if (colon == std::string::npos || !NeedsQuotes(arg.substr(colon + 1))) {
            line += arg;
            continue;
        }
        line.append(arg, 0, colon + 1);
        line += '"';
        for (size_t i = colon + 1; i < arg.size(); ++i) {
            if (arg[i] == '"')
                line += '"';
            line += arg[i];
        }
        line += '"';
    }
    return line;
}

} // namespace kx
