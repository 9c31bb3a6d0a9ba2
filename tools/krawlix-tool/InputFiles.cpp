// The tool's input files: bounded whole-file reads, and level files read through them.
#include <cstdio>

#include "Command.h"
#include "field/LevelFile.h"
#include "storage/InputFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/TextCodec.h"

namespace kxtool {

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    return kx::ReadWholeFile(path, bytes, &error);
}

bool LoadLevelFile(const std::string& path, kx::CGameFieldBase& field, uint32_t* version,
                   std::string& error, bool warnCutShort) {
    // Read whole first, so that a pipe is bounded like a file.
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error)) {
        return false;
    }
    kx::CMemBlock view;
    view.Attach(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                false);
    kx::CMemSerializer reader(view, false);
    std::string reason;
    bool cutShort = false;
    if (!kx::ReadLevelNoThrow(field, reader, &reason, version, &cutShort)) {
        error = path + ": " + kx::Utf8FromCp1252(reason);
        return false;
    }
    // The level stands as far as it was read; a damaged file must not pass unremarked.
    if (cutShort && warnCutShort) {
        std::fprintf(stderr,
                     "krawlix-tool: warning: %s: the level file is cut short; read as far as it "
                     "goes\n",
                     path.c_str());
    }
    return true;
}

} // namespace kxtool
