// krawlix-tool markup: the text panel for a text in the game's mark-up, drawn into a PNG file.
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
#include "game/GameResources.h"
#include "game/TextPanel.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

constexpr int32_t kMaxSide = 4096;

bool ParseSize(const std::string& text, int32_t& w, int32_t& h) {
    const size_t x = text.find('x');
    if (x == std::string::npos || !ParseNumber(text.substr(0, x), w) ||
        !ParseNumber(text.substr(x + 1), h))
        return false;
    return w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide;
}

// A backslash followed by n is a line break; every other character stays.
std::string LineBreaks(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int RunMarkup(const Args& args) {
    std::vector<std::string> positional;
    std::string archivePath;
    int32_t width = 650;
    int32_t height = 650;
    COptionReader reader("markup");
    reader.LongOptionsOnly()
        .UnknownOptionMessage("unknown option or missing value: ")
        .Text("--archive", archivePath)
        .Value("--size",
               [&](const std::string& v, std::string& error) {
                   error = "--size takes WxH, each 1 to 4096";
                   return ParseSize(v, width, height);
               })
        .Positionals(positional, 2, 2);
    if (auto exit = reader.Read(args))
        return *exit;

    kx::CResourceArchive archive;
    if (!archivePath.empty())
        archive.LoadArchiveFile(archivePath);
    else
        archive.LoadArchiveFromProgramFolder("Krawlix");
    kx::CFontTable fonts;
    fonts.LoadFonts(&archive);
    kx::CGameResources sprites(archive);
    std::string failure;
    sprites.SetFailureReporter([&failure](const std::string& text) { failure = text; });
    if (!sprites.LoadSpriteSheets())
        return Fail(failure);

    kx::CDrawDevice24 surface;
    surface.SetFontTable(&fonts);
    if (!surface.Create(width, height))
        return Fail("cannot make a surface of that size");
    surface.Clear(0x000000);
    kx::CTextPanel panel;
    panel.SetText(kx::Cp1252FromUtf8(LineBreaks(positional[0])));
    panel.Show();
    panel.Draw(surface, sprites.GetOpaqueSprites(), sprites.GetTransparentSprites());
    if (!surface.WritePng(positional[1]))
        return Fail(positional[1] + ": cannot write the picture");
    return 0;
}

const Register markupCommand{
    {"markup", "\"TEXT\" OUT.png [--size WxH] [--archive FILE]",
     "draws the text panel for TEXT in the game's mark-up (a literal \\n is a line break) on a "
     "black surface, 650 x 650 unless --size says otherwise (each side 1 to 4096), as the "
     "game's paint draws it; fonts and sprites from the archive beside the tool unless "
     "--archive",
     RunMarkup}};

} // namespace
} // namespace kxtool
