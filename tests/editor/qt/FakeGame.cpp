// A stand-in for the game in test-play tests: records its arguments, one a line.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* log = std::getenv("KX_FAKE_GAME_LOG");
    if (log == nullptr) {
        return 2;
    }
    std::FILE* file = std::fopen(log, "w");
    if (file == nullptr) {
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::fprintf(file, "%s\n", argv[i]);
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
