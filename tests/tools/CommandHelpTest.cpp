// krawlix-tool COMMAND --help: every registered command answers with its usage and summary.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "storage/TempFolder.h"

namespace {

struct Listed {
    std::vector<std::string> name; // the command's words
    std::string line;              // "NAME USAGE" as the list prints it
    std::string summary;
};

// Runs of blanks and line breaks as one blank, so that a wrapped text compares with its line.
std::string Squeezed(const std::string& text) {
    std::istringstream in(text);
    std::string word, out;
    while (in >> word)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

bool IsNameWord(const std::string& word) {
    return !word.empty() &&
           word.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") == std::string::npos &&
           word[0] != '-';
}

// The commands of "krawlix-tool --help": "  NAME USAGE" with "      SUMMARY" below; a name
// is the leading lower-case words, the usage starts with the first other word.
std::vector<Listed> ListedCommands(const std::string& help) {
    std::vector<Listed> commands;
    std::istringstream in(help);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("      ", 0) == 0) {
            if (!commands.empty() && commands.back().summary.empty())
                commands.back().summary = Squeezed(line);
            continue;
        }
        if (line.rfind("  ", 0) != 0)
            continue;
        Listed c;
        std::istringstream words(line);
        std::string word;
        while (words >> word && IsNameWord(word))
            c.name.push_back(word);
        if (c.name.empty()) { // "COMMAND --help", "--help", "--version"
            commands.push_back({});
            continue;
        }
        c.line = Squeezed(line);
        commands.push_back(c);
    }
    std::erase_if(commands, [](const Listed& c) { return c.name.empty(); });
    return commands;
}

TEST(CommandHelp, EveryCommandAnswersHelpWithItsUsageAndSummaryOnStandardOutput) {
    kxtest::TempFolder scratch;
    const kxtest::ToolResult list = kxtest::RunTool({"--help"}, scratch.Path());
    ASSERT_EQ(list.status, 0) << list.err;
    const std::vector<Listed> commands = ListedCommands(list.out);
    // Thirteen commands with their sub-commands; more may come, none may go.
    ASSERT_GE(commands.size(), 18u) << list.out;
    for (const Listed& c : commands) {
        std::vector<std::string> args = c.name;
        args.push_back("--help");
        const kxtest::ToolResult help = kxtest::RunTool(args, scratch.Path());
        EXPECT_EQ(help.status, 0) << c.line << ": " << help.err;
        EXPECT_TRUE(help.err.empty()) << c.line << ": " << help.err;
        const std::string out = Squeezed(help.out);
        EXPECT_EQ(out.rfind("usage: krawlix-tool " + c.line, 0), 0u) << out;
        EXPECT_NE(out.find(c.summary), std::string::npos) << c.line << ": " << out;
    }
}

TEST(CommandHelp, HelpWinsOverAWrongLineButNotAsAnOptionsValueOrAGameArgument) {
    kxtest::TempFolder scratch;
    const kxtest::ToolResult wrong =
        kxtest::RunTool({"play", "--seed", "x", "--bogus", "--help"}, scratch.Path());
    EXPECT_EQ(wrong.status, 0) << wrong.err;
    EXPECT_EQ(wrong.out.rfind("usage: krawlix-tool play LEVEL", 0), 0u) << wrong.out;
    // The value of --keys and whatever follows "--" belong to others.
    const kxtest::ToolResult value =
        kxtest::RunTool({"play", "nowhere.kxlev", "--keys", "--help"}, scratch.Path());
    EXPECT_EQ(value.status, 1);
    EXPECT_NE(value.err.find("bad key"), std::string::npos) << value.err;
    const kxtest::ToolResult game = kxtest::RunTool(
        {"shot", "--program-dir", scratch.Path(), "--state", "--", "--help"}, scratch.Path());
    EXPECT_EQ(game.out.find("usage: krawlix-tool"), std::string::npos) << game.out;
}

} // namespace
