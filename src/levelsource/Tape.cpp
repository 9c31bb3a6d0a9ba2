// Reading and writing tapes.
#include "levelsource/Tape.h"

#include <charconv>
#include <sstream>

#include "storage/InputFile.h"

namespace kx {

bool ParseUInt64(const std::string& text, uint64_t& value) {
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseTape(const std::string& text, Tape& tape, std::string& error) {
    tape = Tape{};
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool versionSeen = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        line = line.substr(start);
        size_t space = line.find_first_of(" \t");
        std::string key = line.substr(0, space);
        std::string value;
        if (space != std::string::npos) {
            size_t v = line.find_first_not_of(" \t", space);
            if (v != std::string::npos)
                value = line.substr(v);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
        }
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        };
        if (!versionSeen) {
            if (key != "krawlix-tape")
                return fail("not a tape (expected \"krawlix-tape " + std::to_string(kTapeVersion) +
                            "\")");
            if (value != std::to_string(kTapeVersion))
                return fail("tape version \"" + value + "\" is not supported");
            versionSeen = true;
        } else if (key == "seed") {
            if (!ParseUInt64(value, tape.seed))
                return fail("bad seed \"" + value + "\"");
        } else if (key == "keys") {
            std::string reason;
            if (!ParseKeyScript(value, tape.keys, &reason))
                return fail(reason);
        } else if (key == "until") {
            uint64_t ms = 0;
            if (!ParseUInt64(value, ms))
                return fail("bad time \"" + value + "\"");
            tape.untilMs = ms;
        } else if (key == "expect") {
            if (value != "won" && value != "lost" && value != "running")
                return fail("expect takes won, lost or running, not \"" + value + "\"");
            tape.expect = value;
        } else {
            return fail("unknown entry \"" + key + "\"");
        }
    }
    if (!versionSeen) {
        error = "empty tape";
        return false;
    }
    return true;
}

std::string FormatTape(const Tape& tape) {
    std::string out = "krawlix-tape " + std::to_string(kTapeVersion) + "\n";
    out += "seed " + std::to_string(tape.seed) + "\n";
    out += "keys " + FormatKeyScript(tape.keys) + "\n";
    if (tape.untilMs)
        out += "until " + std::to_string(*tape.untilMs) + "\n";
    if (tape.expect)
        out += "expect " + *tape.expect + "\n";
    return out;
}

bool ReadTapeFile(const std::string& path, Tape& tape, std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text, &error))
        return false;
    if (!ParseTape(text, tape, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace kx
