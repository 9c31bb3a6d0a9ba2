// Running the built krawlix-tool from a test: its exit status, standard output and error.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kxtest {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

inline std::string ReadFileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

// errFolder receives the standard error as tool-stderr.txt.
inline ToolResult RunTool(const std::vector<std::string>& args,
                          const std::filesystem::path& errFolder) {
    const std::filesystem::path errPath = errFolder / "tool-stderr.txt";
    std::string command = ShellQuote(KX_OUTPUT_DIR "/krawlix-tool");
    for (const std::string& a : args) {
        command += " " + ShellQuote(a);
    }
    command += " 2>" + ShellQuote(errPath.string());
    ToolResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadFileBytes(errPath);
    return result;
}

} // namespace kxtest
