// krawlix-tool render: a level as the game shows it at its start, drawn into a PNG file.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
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

// nullopt: the drawing runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadRenderArgs(const Args& args, RenderArgs& parsed) {
    // Every value this command refuses, and every one missing, is answered the same way.
    auto bad = [](const std::string& name, std::function<bool(const std::string&)> take) {
        return [name, take](const std::string& v, std::string& error) {
            error = "bad or missing value for " + name;
            return take(v);
        };
    };
    std::vector<std::string> positional;
    COptionReader reader("render");
    reader.LongOptionsOnly()
        .Text("--archive", parsed.archive)
        .IfMissing("bad or missing value for --archive")
        .Value("--size", bad("--size",
                             [&](const std::string& v) {
                                 int32_t w = 0;
                                 int32_t h = 0;
                                 if (!ParsePair(v, 'x', w, h) || w < 1 || h < 1)
                                     return false;
                                 parsed.size = {w, h};
                                 return true;
                             }))
        .IfMissing("bad or missing value for --size")
        .Value("--at",
               bad("--at",
                   [&](const std::string& v) { return ParsePair(v, ',', parsed.atX, parsed.atY); }))
        .IfMissing("bad or missing value for --at")
        .Value("--background", bad("--background",
                                   [&](const std::string& v) {
                                       uint64_t seed = 0;
                                       if (!ParseNumber(v, seed))
                                           return false;
                                       parsed.backgroundSeed = seed;
                                       return true;
                                   }))
        .IfMissing("bad or missing value for --background")
        .Flag("--as-stored", parsed.asStored)
        .Positionals(positional, 2, 2);
    if (auto exit = reader.Read(args))
        return exit;
    parsed.level = positional[0];
    parsed.out = positional[1];
    return std::nullopt;
}

int RunRender(const Args& args) {
    RenderArgs a;
    if (auto exit = ReadRenderArgs(args, a)) {
        return *exit;
    }
    std::string error;
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
