// Reading .bmp streams built byte by byte: padding, row order, refusals and short data.
#include <gtest/gtest.h>

#include <limits>

#include "GraphicsTestSupport.h"
#include "storage/ByteOrder.h"
#include "storage/Error.h"
#include "storage/TempFolder.h"

using kx::CBitmap24;
using kxtest::BmpOptions;
using kxtest::LoadFromBytes;
using kxtest::MakeBmp;
using kxtest::Pattern;

namespace {

void ExpectPattern(const CBitmap24& b, bool flipped = false) {
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            const int sourceY = flipped ? b.GetHeight() - 1 - y : y;
            ASSERT_EQ(b.GetPixel(x, y), Pattern(x, sourceY)) << x << "," << y;
        }
    }
}

// A store that cannot tell its length, as a pipe would be.
class UnknownLengthStore : public kx::IStore {
public:
    explicit UnknownLengthStore(std::vector<uint8_t> bytes) : bytes(std::move(bytes)) {}
    bool Read(void* destination, uint32_t n) override {
        if (position + n > bytes.size()) {
            position = bytes.size();
            return false;
        }
        std::memcpy(destination, bytes.data() + position, n);
        position += n;
        return true;
    }
    bool Write(const void*, uint32_t) override { return false; }
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

} // namespace

TEST(BitmapReader, ReadsPaddedRowsBottomUp) {
    // Width 3 gives 9 bytes of pixels and 3 bytes of padding per row.
    CBitmap24 b;
    ASSERT_TRUE(LoadFromBytes(b, MakeBmp(3, 4, Pattern)));
    EXPECT_TRUE(b.IsValid());
    EXPECT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetHeight(), 4);
    EXPECT_EQ(b.GetStride(), 12);
    ExpectPattern(b);
    // Memory keeps the file's order: the first row is the bottom row of the picture.
    EXPECT_EQ(b.GetPixels()[0], static_cast<uint8_t>(Pattern(0, 3)));
    EXPECT_EQ(b.GetPixels()[9], 0xEE); // padding is kept as read
}

TEST(BitmapReader, TopDownFlagTurnsTheRowsOver) {
    CBitmap24 b;
    ASSERT_TRUE(LoadFromBytes(b, MakeBmp(2, 3, Pattern), true));
    ExpectPattern(b, true);
}

TEST(BitmapReader, KeepsTheFileHeader) {
    CBitmap24 b;
    const auto bytes = MakeBmp(2, 2, Pattern);
    ASSERT_TRUE(LoadFromBytes(b, bytes));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 54, b.GetFileHeader().begin()));
}

TEST(BitmapReader, SkipsToThePixelOffset) {
    BmpOptions options;
    options.extraGap = 30;
    CBitmap24 b;
    ASSERT_TRUE(LoadFromBytes(b, MakeBmp(2, 2, Pattern, options)));
    ExpectPattern(b);
}

TEST(BitmapReader, RefusesEightBitCompressedAndTopDownFiles) {
    BmpOptions eightBit;
    eightBit.bitsPerPixel = 8;
    BmpOptions compressed;
    compressed.compression = 1;
    BmpOptions topDown;
    topDown.negativeHeight = true;
    BmpOptions planes;
    planes.planes = 2;
    BmpOptions magic;
    magic.magic[1] = 'A';
    for (const BmpOptions& o : {eightBit, compressed, topDown, planes, magic}) {
        CBitmap24 b;
        ASSERT_TRUE(LoadFromBytes(b, MakeBmp(2, 2, Pattern)));
        EXPECT_FALSE(LoadFromBytes(b, MakeBmp(2, 2, Pattern, o)));
        EXPECT_FALSE(b.IsValid());
    }
}

TEST(BitmapReader, RefusesNegativeWidthWithNegativeHeight) {
    auto bytes = MakeBmp(2, 2, Pattern);
    kxtest::PutLE(bytes, 18, static_cast<uint32_t>(-2), 4);
    kxtest::PutLE(bytes, 22, static_cast<uint32_t>(-2), 4);
    CBitmap24 b;
    EXPECT_FALSE(LoadFromBytes(b, bytes));
}

TEST(BitmapReader, RefusesAShortHeader) {
    auto bytes = MakeBmp(2, 2, Pattern);
    bytes.resize(53);
    CBitmap24 b;
    EXPECT_FALSE(LoadFromBytes(b, bytes));
    EXPECT_FALSE(b.IsValid());
}

TEST(BitmapReader, RefusesPixelDataShorterThanTheHeaderSays) {
    BmpOptions options;
    options.dropAtEnd = 1;
    CBitmap24 b;
    EXPECT_FALSE(LoadFromBytes(b, MakeBmp(4, 4, Pattern, options)));
    EXPECT_FALSE(b.IsValid());
}

TEST(BitmapReader, RefusesHugeSizesWithoutAllocatingThem) {
    for (auto [w, h] :
         {std::pair{0x7FFFFFFF, 0x7FFFFFFF}, {100000, 100000}, {0x2AAAAAAA, 1}, {1, 0x7FFFFFFF}}) {
        auto bytes = MakeBmp(1, 1, Pattern);
        kxtest::PutLE(bytes, 18, static_cast<uint32_t>(w), 4);
        kxtest::PutLE(bytes, 22, static_cast<uint32_t>(h), 4);
        CBitmap24 b;
        EXPECT_FALSE(LoadFromBytes(b, bytes)) << w << " x " << h;
    }
}

TEST(BitmapReader, RefusesAPixelOffsetInsideTheHeaders) {
    auto bytes = MakeBmp(2, 2, Pattern);
    kxtest::PutLE(bytes, 10, 20, 4);
    CBitmap24 b;
    EXPECT_FALSE(LoadFromBytes(b, bytes));
}

TEST(BitmapReader, StreamOfUnknownLengthEndingEarlyLeavesTheMissingRowsBlack) {
    auto bytes = MakeBmp(2, 3, Pattern);
    bytes.resize(54 + 8 * 2); // the bottom two rows
    UnknownLengthStore store(bytes);
    CBitmap24 b;
    ASSERT_TRUE(b.LoadBitmap(store, false));
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    EXPECT_EQ(b.GetPixel(1, 2), Pattern(1, 2));
}

TEST(BitmapReader, ReusesTheCapacityOfALargerPicture) {
    CBitmap24 b;
    ASSERT_TRUE(LoadFromBytes(b, MakeBmp(8, 8, Pattern)));
    ASSERT_TRUE(LoadFromBytes(b, MakeBmp(2, 1, Pattern)));
    EXPECT_EQ(b.GetWidth(), 2);
    ExpectPattern(b);
}

TEST(BitmapReader, MissingFileRaisesTheOpenError) {
    CBitmap24 b;
    EXPECT_THROW(b.LoadBitmapFile("/nonexistent/folder/x.bmp", false), kx::CTBException);
}

TEST(BitmapReader, ReadsAFile) {
    kxtest::TempFolder folder;
    const auto bytes = MakeBmp(3, 2, Pattern);
    const std::string path = folder.Write("p.bmp", std::string(bytes.begin(), bytes.end()));
    CBitmap24 b;
    ASSERT_TRUE(b.LoadBitmapFile(path, false));
    ExpectPattern(b);
}

TEST(BitmapCreate, FillsEveryPixelAndWritesTheFileHeader) {
    CBitmap24 b;
    ASSERT_TRUE(b.CreateBitmap(3, 2, 0xA1B2C3));
    EXPECT_EQ(b.GetPixel(0, 0), 0xA1B2C3u);
    EXPECT_EQ(b.GetPixel(2, 1), 0xA1B2C3u);
    const auto& h = b.GetFileHeader();
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(h[2], 24 + 54); // file size
    EXPECT_EQ(h[10], 54);
    EXPECT_EQ(h[14], 40);
    EXPECT_EQ(h[18], 3);
    EXPECT_EQ(h[22], 2);
    EXPECT_EQ(h[28], 24);
    EXPECT_EQ(h[34], 24); // image size
}

TEST(BitmapCreate, RefusesSizesThatCannotBeHeld) {
    CBitmap24 b;
    EXPECT_FALSE(b.CreateBitmap(0, 5, 0));
    EXPECT_FALSE(b.CreateBitmap(5, -1, 0));
    EXPECT_FALSE(b.CreateBitmap(0x7FFFFFFF, 0x7FFFFFFF, 0));
    EXPECT_FALSE(b.IsValid());
}

TEST(BitmapEncode, AnEncodedPictureReadsBackAsTheSameFileAndPicture) {
    // Width 3: rows carry three padding bytes, which must not shift the next row.
    const CBitmap24 original = kxtest::PatternBitmap(3, 4);
    const std::vector<uint8_t> bytes = kx::EncodeBmp(original);
    ASSERT_EQ(bytes.size(), 54u + 12u * 4u);
    CBitmap24 again;
    ASSERT_TRUE(LoadFromBytes(again, bytes));
    ExpectPattern(again);
    EXPECT_EQ(kx::LoadU32LE(&bytes[2]), bytes.size());
    EXPECT_EQ(kx::LoadU32LE(&bytes[10]), 54u);
    EXPECT_TRUE(kx::EncodeBmp(CBitmap24()).empty());
}
