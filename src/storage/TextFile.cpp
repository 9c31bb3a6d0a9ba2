// CTextFile: a whole text file in memory, read line by line.
#include "TextFile.h"

#include <cstring>
#include <new>

#include "Error.h"
#include "FileEx.h"
#include "InputFile.h"

namespace kx {

bool CTextFile::Load(const std::string& filePath) {
    buffer.clear();
    path = filePath;
    Rewind();
    CFileEx file(false);
    file.SetPath(filePath, false);
    const uint32_t size = file.GetSize();
    // Text files (level lists, help texts) are small; a huge one is refused, not allocated.
    // They are read by the size of their folder entry, which a pipe does not have.
    if (size > kMaxWholeFileBytes || !file.OpenRead(kRegularFileOnly)) {
        return false;
    }
    try {
        buffer.resize(static_cast<size_t>(size) + 1);
    } catch (const std::bad_alloc&) {
        RaiseError("Failed to allocate %u bytes.", size + 1);
    }
    const uint32_t got = file.ReadBytes(buffer.data(), size);
    buffer[got] = '\0';
    file.Close();
    Rewind();
    return got >= size / 2;
}

void CTextFile::LoadFromMemory(const char* text, size_t length) {
    buffer.clear();
    if (length > 0) {
        buffer.assign(text, text + length);
    }
    buffer.push_back('\0');
    Rewind();
}

void CTextFile::Rewind() {
    cursor = 0;
    lineCounter = 0;
}

bool CTextFile::HasMoreLines() const {
    return !buffer.empty() && cursor < buffer.size() && buffer[cursor] != '\0';
}

std::string CTextFile::ReadLine() {
    if (!HasMoreLines()) {
        return std::string();
    }
    ++lineCounter;
    // The buffer always ends with a zero byte, so the scan stops inside it.
    const char* start = buffer.data() + cursor;
    const size_t length = std::strcspn(start, "\n");
    std::string line(start, length);
    cursor += length;
    if (buffer[cursor] == '\n') {
        ++cursor;
    }
    return line;
}

} // namespace kx
