// krawlix-tool's entry: finds the command by its leading words and runs it.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>

#include "Command.h"
#include "game/GameTexts.h"
#include "storage/Error.h"
#include "storage/TextCodec.h"

namespace kxtool {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

size_t WordCount(const std::string& name) {
    return static_cast<size_t>(std::count(name.begin(), name.end(), ' ')) + 1;
}

bool NameMatches(const std::string& name, const Args& args) {
    size_t words = WordCount(name);
    if (args.size() < words)
        return false;
    std::string joined = args[0];
    for (size_t i = 1; i < words; ++i)
        joined += " " + args[i];
    return joined == name;
}

void PrintHelp() {
    std::vector<Command> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    std::printf("krawlix-tool: the command-line companion of Krawlix\n\n"
                "usage: krawlix-tool COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command& c : sorted)
        std::printf("  %s %s\n      %s\n", c.name.c_str(), c.usage.c_str(), c.summary.c_str());
    std::printf("  COMMAND --help\n      that command's usage and what it does\n"
                "  --help\n      this list\n"
                "  --version\n      the version of the game it belongs to\n\n"
                "Every output file is written whole or not at all (a failed write exits 1 with\n"
                "the system's reason and leaves the old file); missing folders on its way are\n"
                "created. Input files are read up to 64 MB; an option needs its value, and\n"
                "numbers are plain digits within their range.\n");
}
} // namespace

Register::Register(Command command) {
    Registry().push_back(std::move(command));
}

const std::vector<Command>& AllCommands() {
    return Registry();
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : Registry()) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "krawlix-tool: %s\n", message.c_str());
    return 1;
}

int FailWrite(const std::string& cp1252Message) {
    return Fail(kx::Utf8FromCp1252(cp1252Message));
}

} // namespace kxtool

int main(int argc, char** argv) {
    using namespace kxtool;
    // A file-size limit then fails the write with its reason instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    Args args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp();
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::printf("krawlix-tool %d.%d\n", kx::kVersionMajor, kx::kVersionMinor);
        return 0;
    }
    // The longest matching name wins ("level dump" before a hypothetical "level").
    const Command* best = nullptr;
    for (const Command& c : Registry()) {
        if (NameMatches(c.name, args) && (!best || WordCount(c.name) > WordCount(best->name)))
            best = &c;
    }
    if (!best) {
        std::fprintf(stderr, "krawlix-tool: unknown command \"%s\"; see krawlix-tool --help\n",
                     args[0].c_str());
        return 2;
    }
    Args rest(args.begin() + static_cast<long>(WordCount(best->name)), args.end());
    try {
        return best->run(rest);
    } catch (const std::exception& e) { // CTBException's what() is UTF-8 too
        return Fail(e.what());
    }
}
