// CTextFile, a whole-file text reader with a line cursor.
#pragma once

#include <string>
#include <vector>

namespace kx {

class CTextFile {
public:
    // True when at least half the file's size was read; a file beyond kMaxWholeFileBytes,
    // or anything but a regular file, gives false and an empty reader.
    bool Load(const std::string& path);
    void LoadFromMemory(const char* text, size_t length);
    void Rewind();
    bool HasMoreLines() const;
    std::string ReadLine();
    int GetLineNumber() const { return lineCounter; }

private:
    std::vector<char> buffer; // the characters and one zero byte; empty when nothing loaded
    size_t cursor = 0;
    int lineCounter = 0;
    std::string path;
};

} // namespace kx
