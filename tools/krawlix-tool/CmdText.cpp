// krawlix-tool text: one line in one of the eleven bitmap fonts, drawn into a PNG file.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

constexpr int32_t kMargin = 4;
constexpr kx::Colour kDark = 0x202030;
constexpr kx::Colour kInk = 0xF0F0F0;

int RunText(const Args& args) {
    std::vector<std::string> positional;
    std::string archivePath;
    bool fixed = false;
    COptionReader reader("text");
    reader.LongOptionsOnly()
        .Flag("--fixed", fixed)
        .Text("--archive", archivePath)
        .Positionals(positional, 3, 3);
    if (auto exit = reader.Read(args)) {
        return *exit;
    }
    int slot = -1;
    if (!ParseNumber(positional[0], slot) || slot < 0 || slot >= kx::kFontSlots) {
        return Fail("FONTSLOT must be 0 to 10");
    }
    kx::CResourceArchive archive;
    if (!archivePath.empty()) {
        archive.LoadArchiveFile(archivePath);
    } else {
        archive.LoadArchiveFromProgramFolder("Krawlix");
    }
    kx::CFontTable table;
    // Other slots may be missing; only the one asked for matters here.
    table.LoadFontsNoThrow(&archive);
    if (!table.GetFont(static_cast<int32_t>(slot))) {
        return Fail("font slot " + positional[0] + " is in neither the archive nor a Font folder");
    }

    const std::string text = kx::Cp1252FromUtf8(positional[1]);
    kx::CDrawDevice24 surface;
    surface.SetFontTable(&table);
    surface.SetProportional(!fixed);
    surface.SetFont(static_cast<int32_t>(slot));
    const kx::TextSize size = surface.MeasureText(text);
    // A font whose glyphs claim huge widths saturates the measure; the margins are added in
    // 64 bits so that the sum cannot overflow, and a picture that large is refused.
    const int64_t width = std::max<int64_t>(size.width, 1) + 2 * int64_t{kMargin};
    const int64_t height = std::max<int64_t>(size.height, 1) + 2 * int64_t{kMargin};
    if (width > INT32_MAX || height > INT32_MAX ||
        !surface.Create(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        return Fail("the text is too long for one picture");
    }
    surface.Clear(kDark);
    surface.DrawText(kMargin, kMargin, text, kInk);
    std::string error;
    if (!surface.WritePng(positional[2], &error)) {
        return FailWrite(error);
    }
    return 0;
}

Register text{{"text", "FONTSLOT \"TEXT\" OUT.png [--archive FILE] [--fixed]",
               "draws the text (UTF-8) with that font on a dark picture sized to fit", RunText}};

} // namespace
} // namespace kxtool
