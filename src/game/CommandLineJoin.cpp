// JoinCommandLine: the desktop program and krawlix-tool shot hand the game one command line.
#include "CommandLineJoin.h"

namespace kx {

std::string JoinCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        size_t colon = arg.find(':');
        bool wrap = arg.find(' ') != std::string::npos && arg.find('"') == std::string::npos &&
                    colon != std::string::npos;
        if (!wrap) {
            line += arg;
            continue;
        }
        line += arg.substr(0, colon + 1);
        line += '"';
        line += arg.substr(colon + 1);
        line += '"';
    }
    return line;
}

} // namespace kx
