// Fuzz target for the text notations: level sources, tapes and key scripts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "field/GameField.h"
#include "field/LevelFile.h"
#include "levelsource/LevelSource.h"
#include "levelsource/Tape.h"
#include "rules/HeadlessPlay.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the reader, so one corpus reaches all three.
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0: {
        kx::CGameFieldBase field;
        std::string error;
        if (kx::CompileLevelSource(text, field, error)) {
            // A compiled level must be a writable, readable level.
            kx::CMemBlock bytes;
            {
                kx::CMemSerializer out(bytes, true);
                if (!kx::WriteLevel(field, out))
                    __builtin_trap();
            }
            kx::CMemSerializer in(bytes, false);
            kx::CGameFieldBase again;
            if (!kx::ReadLevelNoThrow(again, in) || again.width != field.width ||
                again.height != field.height)
                __builtin_trap();
        }
        break;
    }
    case 1: {
        kx::Tape tape;
        std::string error;
        if (kx::ParseTape(text, tape, error)) {
            kx::Tape again;
            if (!kx::ParseTape(kx::FormatTape(tape), again, error))
                __builtin_trap();
        }
        break;
    }
    default: {
        std::vector<kx::KeyPress> keys;
        kx::ParseKeyScript(text, keys, nullptr);
        break;
    }
    }
    return 0;
}
