// CKrawlixApp, the program: start-up in its order, the window's run and the orderly end.
#pragma once

#include <string>
#include <vector>

namespace kx {

class CKrawlixApp {
public:
    // args: the program's arguments without its name. The exit status: 0 after the quit
    // command, --help or --version; 1 when start-up failed (its message shown, no window).
    int Run(const std::vector<std::string>& args);
};

} // namespace kx
