// krawlix-tool render: a level as the game shows it at its start, drawn into a PNG file.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "field/LevelFile.h"
#include "fielddraw/DrawCells.h"
#include "game/Background.h"
#include "game/GameResources.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"
#include "rules/Game.h"
#include "rules/Random.h"
#include "storage/FileEx.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

constexpr int32_t kSpriteCell = 32;
constexpr kx::Colour kSpriteKey = 0xFF00FF;

struct RenderArgs {
    std::string level;
    std::string out;
    std::string archive;
    std::optional<std::pair<int32_t, int32_t>> size;
    int32_t atX = 0;
    int32_t atY = 0;
    std::optional<uint64_t> backgroundSeed;
    bool asStored = false;
};

// Two integers separated by the character, e.g. "650x650" or "-32,64".
bool ParsePair(const std::string& text, char separator, int32_t& a, int32_t& b) {
    const size_t at = text.find(separator, 1);
    return at != std::string::npos && ParseNumber(text.substr(0, at), a) &&
           ParseNumber(text.substr(at + 1), b);
}

// A new option is one more row here; a flag takes no value.
struct Option {
    const char* name;
    std::function<bool(const std::string& value, RenderArgs& args)> take;
    bool isFlag = false;
};

const std::vector<Option>& RenderOptions() {
    static const std::vector<Option> options = {
        {"--archive",
         [](const std::string& v, RenderArgs& a) {
             a.archive = v;
             return true;
         }},
        {"--size",
         [](const std::string& v, RenderArgs& a) {
             int32_t w = 0;
             int32_t h = 0;
             if (!ParsePair(v, 'x', w, h) || w < 1 || h < 1) {
                 return false;
             }
             a.size = {w, h};
             return true;
         }},
        {"--at",
         [](const std::string& v, RenderArgs& a) { return ParsePair(v, ',', a.atX, a.atY); }},
        {"--background",
         [](const std::string& v, RenderArgs& a) {
             uint64_t seed = 0;
             if (!ParseNumber(v, seed)) {
                 return false;
             }
             a.backgroundSeed = seed;
             return true;
         }},
        {"--as-stored",
         [](const std::string&, RenderArgs& a) {
             a.asStored = true;
             return true;
         },
         true},
    };
    return options;
}

bool ParseRenderArgs(const Args& args, RenderArgs& parsed, std::string& error) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            positional.push_back(args[i]);
            continue;
        }
        const Option* option = nullptr;
        for (const Option& o : RenderOptions()) {
            if (args[i] == o.name) {
                option = &o;
            }
        }
        if (option == nullptr) {
            error = "unknown option " + args[i];
            return false;
        }
        if (option->isFlag) {
            option->take("", parsed);
            continue;
        }
        if (i + 1 >= args.size() || !option->take(args[i + 1], parsed)) {
            error = std::string("bad or missing value for ") + option->name;
            return false;
        }
        ++i;
    }
    if (positional.size() != 2) {
        error = "usage: render LEVEL OUT.png [--archive FILE] [--size WxH] [--at X,Y] "
                "[--background SEED] [--as-stored]";
        return false;
    }
    parsed.level = positional[0];
    parsed.out = positional[1];
    return true;
}

int RunRender(const Args& args) {
    RenderArgs a;
    std::string error;
    if (!ParseRenderArgs(args, a, error)) {
        return Fail(error);
    }
    kx::CResourceArchive archive;
    if (!a.archive.empty()) {
        archive.LoadArchiveFile(a.archive);
    } else {
        archive.LoadArchiveFromProgramFolder("Krawlix");
    }
    // The sheets come as the game loads them: a loose file first, else the archive.
    kx::CGameResources resources(archive);
    kx::CImageList24 full;
    kx::CImageList24 trans;
    if (!resources.LoadSpriteSheet(full, "imgfull", kSpriteCell, kSpriteCell,
                                   kx::kNoTransparentColour)) {
        return Fail("no picture imgfull (loose imgfull.bmp or in the archive)");
    }
    if (!resources.LoadSpriteSheet(trans, "imgtrans", kSpriteCell, kSpriteCell, kSpriteKey)) {
        return Fail("no picture imgtrans (loose imgtrans.bmp or in the archive)");
    }

    kx::CGame game;
    if (!LoadLevelFile(a.level, game.play.field, nullptr, error, false)) {
        return Fail(error);
    }
    // --as-stored shows the creature codes as the file holds them (long worms, animation
    // frames); otherwise they stand as at a level start.
    if (!a.asStored) {
        game.PrepareLevel();
    }

    const auto [width, height] = a.size.value_or(std::pair{
        game.play.field.width * kx::kCellPixels, game.play.field.height * kx::kCellPixels});
    kx::CDrawDevice24 surface;
    if (!surface.Create(width, height)) {
        return Fail("cannot make a surface of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels; choose one with --size");
    }
    // Black where the background shows, or the star field a generator with that seed makes.
    surface.Clear(0x000000);
    if (a.backgroundSeed) {
        kx::CRandom random(*a.backgroundSeed);
        kx::CBitmap24 background;
        if (kx::GenerateBackground(background, random)) {
            kx::TileBackground(surface, background, a.atX, a.atY);
        }
    }
    kx::DrawCells(game.play.field, surface, full, trans, a.atX, a.atY);
    if (!surface.WritePng(a.out, &error)) {
        return FailWrite(error);
    }
    return 0;
}

Register render{
    {"render",
     "LEVEL OUT.png [--archive FILE] [--size WxH] [--at X,Y] [--background SEED] [--as-stored]",
     "draws the level's cells as at its start (field pixel X,Y at the top-left)", RunRender}};

} // namespace
} // namespace kxtool
