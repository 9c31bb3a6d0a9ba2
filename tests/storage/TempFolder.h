// A fresh folder under the temporary directory for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace kxtest {

class TempFolder {
public:
    TempFolder() {
        static int serial = 0;
        path = std::filesystem::temp_directory_path() /
               ("kx_storage_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path() const { return path.string(); }
    std::string Path(const std::string& relative) const { return (path / relative).string(); }

    // Writes the bytes, creating the folders on the way.
    std::string Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file.string();
    }

    void MakeFolder(const std::string& relative) const {
        std::filesystem::create_directories(path / relative);
    }

private:
    std::filesystem::path path;
};

inline std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kxtest
