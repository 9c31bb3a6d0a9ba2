// Fuzzes the command-line parser: any text parses to parameters made of its own characters.
#include <cstdint>
#include <string>

#include "game/CommandLineJoin.h"
#include "game/CommandLineParser.h"

namespace {

class Counter : public kx::CCommandLineParser {
public:
    bool OnParameter(const std::string& name, const std::string& value, bool) override {
        characters += name.size() + value.size();
        ++count;
        return true;
    }
    size_t characters = 0;
    size_t count = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Counter counter;
    if (!counter.Parse(text))
        __builtin_trap();
    // Every parameter costs at least one character of the text, and no character counts twice.
    if (counter.count > size || counter.characters > size)
        __builtin_trap();
    kx::CGameParameter game;
    game.Parse(text);
    // A level file joined back into a command line comes out of the parser unchanged, unless
    // it holds a double quote, a tab or nothing but what the joiner leaves unquoted.
    if (text.find_first_of("\"\t") == std::string::npos && text.find(' ') != std::string::npos) {
        kx::CGameParameter again;
        again.Parse(kx::JoinCommandLine({"/level:" + text}));
        if (again.GetLevelFiles().size() != 1 || again.GetLevelFiles()[0] != text)
            __builtin_trap();
    }
    return 0;
}
