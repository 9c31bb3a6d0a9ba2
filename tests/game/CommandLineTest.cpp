// Tests of the command-line parser's states and of joining the program's arguments.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game/CommandLineJoin.h"
#include "game/CommandLineParser.h"

namespace {

using Parameter = std::tuple<std::string, std::string, bool>;

class Recorder : public kx::CCommandLineParser {
public:
    bool OnParameter(const std::string& name, const std::string& value, bool isSwitch) override {
        seen.emplace_back(name, value, isSwitch);
        return stopAfter < 0 || static_cast<int>(seen.size()) < stopAfter;
    }
    std::vector<Parameter> seen;
    int stopAfter = -1;
};

std::vector<Parameter> Parse(const std::string& text, bool* result = nullptr) {
    Recorder r;
    bool ok = r.Parse(text);
    if (result)
        *result = ok;
    return r.seen;
}

TEST(CommandLineParser, SwitchesByDashPlusAndSlashAndBareNames) {
    EXPECT_EQ(Parse("-a +b /c d"),
              (std::vector<Parameter>{
                  {"a", "", false}, {"b", "", true}, {"c", "", true}, {"d", "", true}}));
}

TEST(CommandLineParser, ValuesPlainQuotedAndWithDoubledQuotes) {
    EXPECT_EQ(Parse("/level:\"C:\\My Levels\\a.kxlev\" /x:plain\t-y:\"say \"\"hi\"\"\""),
              (std::vector<Parameter>{{"level", "C:\\My Levels\\a.kxlev", true},
                                      {"x", "plain", true},
                                      {"y", "say \"hi\"", false}}));
}

TEST(CommandLineParser, TextThatEndsInsideAParameterStillDeliversIt) {
    EXPECT_EQ(Parse("/level:\"unbalanced quote"),
              (std::vector<Parameter>{{"level", "unbalanced quote", true}}));
    EXPECT_EQ(Parse("/name"), (std::vector<Parameter>{{"name", "", true}}));
    EXPECT_EQ(Parse("/name:"), (std::vector<Parameter>{{"name", "", true}}));
    EXPECT_EQ(Parse("  \t "), std::vector<Parameter>{});
}

TEST(CommandLineParser, AQuoteAfterTheValueStartsIsPartOfAPlainValue) {
    EXPECT_EQ(Parse("/a:x\"y /b: c"),
              (std::vector<Parameter>{{"a", "x\"y", true}, {"b", " c", true}}));
}

TEST(CommandLineParser, StopsWhenTheReceiverSaysSo) {
    Recorder r;
    r.stopAfter = 2;
    EXPECT_FALSE(r.Parse("/a /b /c"));
    EXPECT_EQ(r.seen.size(), 2u);
}

TEST(CommandLineParser, ThousandsOfParametersAreAllDelivered) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "/p:" + std::to_string(i) + " ";
    auto seen = Parse(text);
    ASSERT_EQ(seen.size(), 5000u);
    EXPECT_EQ(std::get<1>(seen.back()), "4999");
}

TEST(GameParameter, TakesLevelsInOrderWhateverTheSwitchButOnlyInSmallLetters) {
    kx::CGameParameter p;
    EXPECT_TRUE(p.Parse("/level:\"a b.kxlev\" -level:c.kxlev /Level:d.kxlev /other:e level:f"));
    EXPECT_EQ(p.GetLevelFiles(), (std::vector<std::string>{"a b.kxlev", "c.kxlev", "f"}));
}

TEST(JoinCommandLine, QuotesTheValueOfAnArgumentWithABlank) {
    EXPECT_EQ(kx::JoinCommandLine({"/level:my level.kxlev", "/level:b.kxlev"}),
              "/level:\"my level.kxlev\" /level:b.kxlev");
    // A value's quotes are its own: they are doubled inside the quotes, never taken as such.
    EXPECT_EQ(kx::JoinCommandLine({"/level:\"q r\"", "no colon here", "/a:b:c d"}),
              "/level:\"\"\"q r\"\"\" no colon here /a:\"b:c d\"");
    EXPECT_EQ(kx::JoinCommandLine({}), "");
}

TEST(JoinCommandLine, EveryNameAndValueComesBackFromTheParserWhole) {
    const std::vector<std::string> values = {"a\"b c.kxlev",
                                             "tab\there",
                                             "\"",
                                             "\"\"",
                                             "\"lead",
                                             "trail\"",
                                             "",
                                             " ",
                                             "a\"\"\"b",
                                             "plain",
                                             "x:y",
                                             "C:\\My Levels\\a.kxlev",
                                             "/tmp/a b/\"q\"/\tc.kxlev",
                                             "-level:x"};
    std::vector<std::string> args;
    std::vector<Parameter> expected;
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string name = "p" + std::to_string(i);
        args.push_back((i % 2 ? "-" : "/") + name + ":" + values[i]);
        expected.emplace_back(name, values[i], i % 2 == 0);
    }
    EXPECT_EQ(Parse(kx::JoinCommandLine(args)), expected);
    // Alone at the end too, where the parser meets the end of the text inside the value.
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(Parse(kx::JoinCommandLine({"/level:" + values[i]})),
                  (std::vector<Parameter>{{"level", values[i], true}}))
            << values[i];
    }
}

TEST(JoinCommandLine, WhatItJoinsTheParserSplitsBackIntoTheSameLevels) {
    std::vector<std::string> files = {"/tmp/with blank/a.kxlev", "plain.kxlev", "/tmp/x:y z.kxlev"};
    std::vector<std::string> args;
    for (const auto& f : files)
        args.push_back("/level:" + f);
    kx::CGameParameter p;
    p.Parse(kx::JoinCommandLine(args));
    EXPECT_EQ(p.GetLevelFiles(), files);
}

} // namespace
