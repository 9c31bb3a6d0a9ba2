// krawlix-tool sheet: a contact sheet of a sprite sheet at twice its size, each cell labelled.
#include <cstdlib>
#include <optional>
#include <string>

#include "Command.h"
#include "OptionReader.h"
#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "storage/Error.h"
#include "storage/TextCodec.h"

namespace kxtool {

namespace {

constexpr int32_t kCell = 32;
constexpr int32_t kScale = 2;
constexpr int32_t kLabel = 10; // label strip above each cell
constexpr int32_t kGap = 4;
constexpr int32_t kSlotW = kCell * kScale + kGap;
constexpr int32_t kSlotH = kCell * kScale + kLabel + kGap;
constexpr kx::Colour kBackground = 0x202030;
constexpr kx::Colour kLabelColour = 0xE8E8E8;

// Digits of five by seven pixels, one row per byte, the leftmost pixel in bit 4; built in so
// that the sheet needs no font file.
constexpr uint8_t kDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

void DrawNumber(kx::CDrawDevice24& device, int32_t x, int32_t y, int number) {
    const std::string text = std::to_string(number);
    for (char ch : text) {
        const uint8_t* rows = kDigits[ch - '0'];
        for (int32_t r = 0; r < 7; ++r)
            for (int32_t c = 0; c < 5; ++c)
                if (rows[r] & (0x10 >> c))
                    device.SetPixel(x + c, y + r, kLabelColour);
        x += 6;
    }
}

std::optional<kx::Colour> ParseColour(const std::string& text) {
    uint32_t value = 0;
    if (text.size() != 6 || !ParseNumber(text, value, 16))
        return std::nullopt;
    return static_cast<kx::Colour>(value);
}

int RunSheet(const Args& args) {
    std::string in, out;
    kx::Colour key = kx::kNoTransparentColour;
    COptionReader reader("sheet");
    reader
        .Value("--key",
               [&key](const std::string& v, std::string& error) {
                   auto colour = ParseColour(v);
                   if (!colour)
                       error = "--key wants six hexadecimal digits, RRGGBB";
                   key = colour.value_or(key);
                   return colour.has_value();
               })
        .IfMissing("--key needs a value, RRGGBB")
        .Positional([&](const std::string& word, std::string& error) {
            if (!out.empty()) {
                error = "sheet: too many arguments";
                return false;
            }
            (in.empty() ? in : out) = word;
            return true;
        });
    if (auto exit = reader.Read(args))
        return *exit;
    if (out.empty())
        return Fail(UsageMessage("sheet"));

    kx::CBitmap24 sheet;
    try {
        if (!sheet.LoadBitmapFile(in, false))
            return Fail(in + " is not an uncompressed 24-bit bitmap");
    } catch (const kx::CTBException& e) {
        return Fail(kx::Utf8FromCp1252(e.GetErrorText()));
    }
    const int32_t columns = sheet.GetWidth() / kCell, rows = sheet.GetHeight() / kCell;
    if (columns < 1 || rows < 1)
        return Fail(in + " is smaller than one 32 x 32 cell");

    kx::CDrawDevice24 device;
    if (!device.Create(columns * kSlotW + kGap, rows * kSlotH + kGap))
        return Fail("the contact sheet is too large");
    device.Clear(kBackground);
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t col = 0; col < columns; ++col) {
            const int32_t x0 = kGap + col * kSlotW, y0 = kGap + row * kSlotH;
            DrawNumber(device, x0, y0, row * columns + col);
            const int32_t top = y0 + kLabel;
            for (int32_t y = 0; y < kCell * kScale; ++y)
                for (int32_t x = 0; x < kCell * kScale; ++x) {
                    kx::Colour c =
                        sheet.GetPixel(col * kCell + x / kScale, row * kCell + y / kScale);
                    if (c == key) // transparent: an eight-pixel checkerboard
                        c = ((x / 8 + y / 8) & 1) ? 0x9C9C9C : 0x6C6C6C;
                    device.SetPixel(x0 + x, top + y, c);
                }
        }
    std::string error;
    if (!device.WritePng(out, &error))
        return FailWrite(error);
    return 0;
}

const Register kSheet{{"sheet", "FILE.bmp OUT.png [--key RRGGBB]",
                       "contact sheet of a sprite sheet at twice its size, cells labelled",
                       RunSheet}};

} // namespace

} // namespace kxtool
