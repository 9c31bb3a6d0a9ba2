// The table-driven reader of a command's options, and each command's --help.
#include "OptionReader.h"

#include <cstdio>

namespace kxtool {

namespace {

// The summary in lines of at most 79 characters, broken at blanks.
std::string Wrapped(const std::string& text) {
    constexpr size_t kWidth = 79;
    std::string out;
    size_t lineStart = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        if (out.size() > lineStart && out.size() - lineStart + 1 + (end - at) > kWidth) {
            out += '\n';
            lineStart = out.size();
        } else if (out.size() > lineStart) {
            out += ' ';
        }
        out.append(text, at, end - at);
        at = end + 1;
    }
    return out;
}

void PrintUsage(const Command& command) {
    std::printf("usage: krawlix-tool %s %s\n\n%s\n", command.name.c_str(), command.usage.c_str(),
                Wrapped(command.summary).c_str());
}

} // namespace

std::string UsageMessage(const std::string& command) {
    const Command* c = FindCommand(command);
    return "usage: " + command + (c != nullptr ? " " + c->usage : std::string());
}

COptionReader::COptionReader(std::string command) : command_(std::move(command)) {}

COptionReader& COptionReader::Flag(const std::string& name, bool& target) {
    rows_.push_back({name, true,
                     [&target](const std::string&, std::string&) {
                         target = true;
                         return true;
                     },
                     std::string()});
    return *this;
}

COptionReader& COptionReader::Text(const std::string& name, std::string& target) {
    return Value(name, [&target](const std::string& v, std::string&) {
        target = v;
        return true;
    });
}

COptionReader& COptionReader::Text(const std::string& name, std::optional<std::string>& target) {
    return Value(name, [&target](const std::string& v, std::string&) {
        target = v;
        return true;
    });
}

COptionReader& COptionReader::Value(const std::string& name, Take take) {
    rows_.push_back({name, false, std::move(take), std::string()});
    return *this;
}

COptionReader& COptionReader::IfMissing(std::string message) {
    if (!rows_.empty())
        rows_.back().missing = std::move(message);
    return *this;
}

COptionReader& COptionReader::Positional(Take take) {
    positional_ = std::move(take);
    return *this;
}

COptionReader& COptionReader::Positionals(std::vector<std::string>& words, size_t min, size_t max) {
    collected_ = &words;
    min_ = min;
    max_ = max;
    return Positional([&words](const std::string& word, std::string&) {
        words.push_back(word);
        return true;
    });
}

COptionReader& COptionReader::Level(std::string& level) {
    level_ = &level;
    return Positional([&level](const std::string& word, std::string& error) {
        if (!level.empty()) {
            error = "more than one level given";
            return false;
        }
        level = word;
        return true;
    });
}

COptionReader& COptionReader::RestAfterDoubleDash(std::vector<std::string>& rest) {
    rest_ = &rest;
    return *this;
}

COptionReader& COptionReader::LongOptionsOnly() {
    longOnly_ = true;
    return *this;
}

COptionReader& COptionReader::UnknownOptionMessage(std::string prefix) {
    unknown_ = std::move(prefix);
    return *this;
}

COptionReader& COptionReader::WrongLineStatus(int status) {
    wrongStatus_ = status;
    return *this;
}

// A command without options takes every word but --help as it is, file names like "--x" too.
bool COptionReader::IsOption(const std::string& word) const {
    return !rows_.empty() && word.size() > 1 && word[0] == '-' && (!longOnly_ || word[1] == '-');
}

const COptionReader::Row* COptionReader::Find(const std::string& word) const {
    for (const Row& row : rows_) {
        if (row.name == word)
            return &row;
    }
    return nullptr;
}

// --help anywhere among the options wins over whatever else is wrong on the line.
bool COptionReader::AsksForHelp(const Args& args) const {
    for (size_t i = 0; i < args.size(); ++i) {
        if (rest_ != nullptr && args[i] == "--")
            return false;
        if (args[i] == "--help")
            return true;
        const Row* row = IsOption(args[i]) ? Find(args[i]) : nullptr;
        if (row != nullptr && !row->flag)
            ++i;
    }
    return false;
}

bool COptionReader::ReadWords(const Args& args, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (rest_ != nullptr && word == "--") {
            rest_->assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (!IsOption(word)) {
            if (!positional_) {
                error = UsageMessage(command_);
                return false;
            }
            if (!positional_(word, error))
                return false;
            continue;
        }
        const Row* row = Find(word);
        if (row == nullptr) {
            error = unknown_ + word;
            return false;
        }
        if (row->flag) {
            row->take(std::string(), error);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = row->missing.empty() ? word + " needs a value" : row->missing;
            return false;
        }
        if (!row->take(args[++i], error))
            return false;
    }
    const bool countWrong =
        collected_ != nullptr && (collected_->size() < min_ || collected_->size() > max_);
    if (countWrong || (level_ != nullptr && level_->empty())) {
        error = UsageMessage(command_);
        return false;
    }
    return true;
}

std::optional<int> COptionReader::Read(const Args& args) {
    if (AsksForHelp(args)) {
        const Command* command = FindCommand(command_);
        if (command == nullptr)
            return Fail("no command named \"" + command_ + "\"");
        PrintUsage(*command);
        return 0;
    }
    std::string error;
    if (ReadWords(args, error))
        return std::nullopt;
    Fail(error);
    return wrongStatus_;
}

} // namespace kxtool
