// Krawlix, the game: the program's entry.
#include <string>
#include <vector>

#include "KrawlixApp.h"

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    kx::CKrawlixApp app;
    return app.Run(args);
}
