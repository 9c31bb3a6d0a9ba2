// Soak target: random key scripts on every built-in level, the creature layer checked against
// the worm and ghost lists after every timer step.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "levelsource/LevelSource.h"
#include "rules/CreatureCheck.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"

namespace {

std::vector<kx::CGameFieldBase>& Levels() {
    static std::vector<kx::CGameFieldBase> levels;
    return levels;
}

bool LoadSource(const std::string& name) {
    std::ifstream in(std::string(KX_LEVEL_SOURCE_DIR) + "/" + name + ".txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    kx::CGameFieldBase field;
    std::string error;
    if (!in || !kx::CompileLevelSource(text, field, error))
        return false;
    Levels().push_back(std::move(field));
    return true;
}

constexpr uint64_t kLongestPlayMs = 120000;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::ifstream list(std::string(KX_LEVEL_SOURCE_DIR) + "/Levels.lst");
    std::vector<std::string> names = {"BackScreen", "BackScreenEnd"};
    // "STEM" or "STEM = Name"; the source is STEM.txt.
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#')
            names.push_back(line.substr(0, line.find_first_of(" =\r")));
    for (const std::string& name : names)
        if (!LoadSource(name))
            __builtin_trap(); // a built-in level that does not compile is a broken build
    return 0;
}

// Byte 0: the level (and bit 7: played as a title screen); bytes 1-4: the seed; then one key
// per byte: the low three bits choose up, down, left, right, TAB or no key, the high five the
// number of 10 ms timer steps before it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5)
        return 0;
    const std::vector<kx::CGameFieldBase>& levels = Levels();
    kx::CGame game(nullptr);
    game.play.random.Seed(data[1] | data[2] << 8 | data[3] << 16 | uint64_t{data[4]} << 24);
    game.play.field = levels[(data[0] & 0x7F) % levels.size()];
    game.play.notInLevel = (data[0] & 0x80) != 0;

    kx::PlayOptions options;
    uint64_t at = 0;
    for (size_t i = 5; i < size; ++i) {
        at += static_cast<uint64_t>(data[i] >> 3) * kx::kTimerStepMs;
        int key = data[i] & 7;
        if (key < 5)
            options.keys.push_back(
                {at, key == 4 ? kx::PlayKey::Tab : static_cast<kx::PlayKey>(key + 1)});
    }
    options.untilMs = std::min(at + 5000, kLongestPlayMs);
    options.afterStep = [](const kx::CGame& played, uint64_t) {
        if (!kx::CheckCreatureLayer(played.play).empty())
            __builtin_trap();
        return true;
    };
    kx::PlayHeadless(game, options);
    return 0;
}
