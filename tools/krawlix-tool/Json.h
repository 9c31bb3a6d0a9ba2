// A small streaming JSON writer for the tool's machine-readable output (UTF-8 strings).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kxtool {

class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : out(out) {}

    void BeginObject() {
        Value("{");
        first.push_back(true);
    }
    void EndObject() {
        first.pop_back();
        out += '}';
    }
    void BeginArray() {
        Value("[");
        first.push_back(true);
    }
    void EndArray() {
        first.pop_back();
        out += ']';
    }
    // Inside an object: the key of the next value.
    void Key(const std::string& key) {
        Separate();
        AppendString(key);
        out += ':';
        afterKey = true;
    }
    void String(const std::string& utf8) {
        Separate();
        AppendString(utf8);
    }
    void Int(int64_t v) { Value(std::to_string(v)); }
    void UInt(uint64_t v) { Value(std::to_string(v)); }
    // Whole numbers without a point, 12.5 as such (six digits are enough for what is written).
    void Number(double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        Value(text);
    }
    void Bool(bool v) { Value(v ? "true" : "false"); }
    void Null() { Value("null"); }
    void IntArray(const std::vector<int>& values) {
        BeginArray();
        for (int v : values)
            Int(v);
        EndArray();
    }

private:
    void Separate() {
        if (afterKey) {
            afterKey = false;
            return;
        }
        if (!first.empty()) {
            if (!first.back())
                out += ',';
            first.back() = false;
        }
    }
    void Value(const std::string& text) {
        Separate();
        out += text;
    }
    void AppendString(const std::string& s) {
        out += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
            }
        }
        out += '"';
    }

    std::string& out;
    std::vector<bool> first;
    bool afterKey = false;
};

} // namespace kxtool
