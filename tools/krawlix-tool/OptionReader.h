// One command's command line read from a table of its options; --help prints its usage.
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"

namespace kxtool {

// Each call adds a row; Read then takes the arguments in order. A word of two or more
// characters that begins with '-' is an option; every other word is positional, and so is
// every word of a command without options. An option with a value takes the next word
// whatever it looks like ("--at -32,64"). --help among the options prints the usage instead.
class COptionReader {
public:
    // take returns false with the reason in error; a flag's take gets an empty value.
    using Take = std::function<bool(const std::string& value, std::string& error)>;

    // command: the name it is registered under, whose usage and summary --help prints.
    explicit COptionReader(std::string command);

    COptionReader& Flag(const std::string& name, bool& target);
    COptionReader& Text(const std::string& name, std::string& target);
    COptionReader& Text(const std::string& name, std::optional<std::string>& target);
    // A whole number as ParseNumber reads it, else "NAME takes a number, not "VALUE"", and at
    // most max, else "NAME is at most MAX".
    template <typename Int>
    COptionReader& Number(const std::string& name, Int& target,
                          Int max = std::numeric_limits<Int>::max()) {
        return Value(name, [name, &target, max](const std::string& v, std::string& error) {
            return TakeNumber(name, v, max, target, error);
        });
    }
    template <typename Int>
    COptionReader& Number(const std::string& name, std::optional<Int>& target,
                          Int max = std::numeric_limits<Int>::max()) {
        return Value(name, [name, &target, max](const std::string& v, std::string& error) {
            Int n{};
            if (!TakeNumber(name, v, max, n, error))
                return false;
            target = n;
            return true;
        });
    }
    COptionReader& Value(const std::string& name, Take take);
    // The message when the option added last has no value ("NAME needs a value" otherwise).
    COptionReader& IfMissing(std::string message);

    // Positional words in order, each to take, which may refuse it.
    COptionReader& Positional(Take take);
    // Positional words collected; fewer than min or more than max is answered with the usage.
    COptionReader& Positionals(std::vector<std::string>& words, size_t min = 0,
                               size_t max = SIZE_MAX);
    // The command's one level: a second is "more than one level given", none the usage.
    COptionReader& Level(std::string& level);
    // "--" ends the options; the words after it go to rest as they are.
    COptionReader& RestAfterDoubleDash(std::vector<std::string>& rest);

    // Only words beginning with "--" are options, so that "-5" or "-name" stays positional.
    COptionReader& LongOptionsOnly();
    COptionReader& UnknownOptionMessage(std::string prefix); // "unknown option " otherwise
    COptionReader& WrongLineStatus(int status);              // 1 otherwise

    // nullopt: the command runs. Otherwise its exit status: 0 when --help printed the usage on
    // standard output, the wrong-line status when the reason went to standard error.
    std::optional<int> Read(const Args& args);

private:
    struct Row {
        std::string name;
        bool flag = false;
        Take take;
        std::string missing;
    };

    template <typename Int>
    static bool TakeNumber(const std::string& name, const std::string& value, Int max, Int& target,
                           std::string& error) {
        Int n{};
        if (!ParseNumber(value, n)) {
            error = name + " takes a number, not \"" + value + "\"";
            return false;
        }
        if (n > max) {
            error = name + " is at most " + std::to_string(max);
            return false;
        }
        target = n;
        return true;
    }
    bool IsOption(const std::string& word) const;
    const Row* Find(const std::string& word) const;
    bool AsksForHelp(const Args& args) const;
    bool ReadWords(const Args& args, std::string& error);

    std::string command_;
    std::vector<Row> rows_;
    Take positional_;
    std::vector<std::string>* collected_ = nullptr;
    size_t min_ = 0;
    size_t max_ = 0;
    std::string* level_ = nullptr;
    std::vector<std::string>* rest_ = nullptr;
    bool longOnly_ = false;
    std::string unknown_ = "unknown option ";
    int wrongStatus_ = 1;
};

// "usage: COMMAND USAGE" as registered, the answer to a command line of the wrong shape.
std::string UsageMessage(const std::string& command);

} // namespace kxtool
