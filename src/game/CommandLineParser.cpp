// The command-line parser's state machine.
#include "CommandLineParser.h"

namespace kx {

namespace {
enum class State { Between, Name, ValueStart, Quoted, QuoteEscape, PlainValue };

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

bool CCommandLineParser::Parse(const std::string& text) {
    State state = State::Between;
    bool isSwitch = false;
    std::string name;
    std::string value;
    auto deliver = [&] {
        state = State::Between;
        return OnParameter(name, value, isSwitch);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (state) {
        case State::Between:
            if (c == '-' || c == '+' || c == '/') {
                isSwitch = c != '-';
                name.clear();
                value.clear();
                state = State::Name;
            } else if (!IsBlank(c)) {
                isSwitch = true;
                name.assign(1, c);
                value.clear();
                state = State::Name;
            }
            break;
        case State::Name:
            if (IsBlank(c)) {
                value.clear();
                if (!deliver())
                    return false;
            } else if (c == ':') {
                state = State::ValueStart;
            } else {
                name += c;
            }
            break;
        case State::ValueStart:
            if (c == '"') {
                state = State::Quoted;
            } else {
                value += c;
                state = State::PlainValue;
            }
            break;
        case State::Quoted:
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                state = State::QuoteEscape;
            } else if (c == '"') {
                if (!deliver())
                    return false;
            } else {
                value += c;
            }
            break;
        case State::QuoteEscape:
            value += c;
            state = State::Quoted;
            break;
        case State::PlainValue:
            if (IsBlank(c)) {
                if (!deliver())
                    return false;
            } else {
                value += c;
            }
            break;
        }
    }
    if (state != State::Between)
        return deliver();
    return true;
}

bool CGameParameter::OnParameter(const std::string& name, const std::string& value, bool) {
    if (name == "level") {
        levelFiles.push_back(value);
        tapeFiles.emplace_back();
    } else if (name == "tape") {
        (tapeFiles.empty() ? leadingTape : tapeFiles.back()) = value;
    }
    return true;
}

std::string CGameParameter::GetTapeFile(size_t i) const {
    if (i >= tapeFiles.size())
        return std::string();
    if (i == 0 && tapeFiles[0].empty())
        return leadingTape;
    return tapeFiles[i];
}

} // namespace kx
