// CMemBlock's ownership rules and the run-length coding of level layers.
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "storage/MemBlock.h"

using namespace kx;

namespace {

std::vector<uint8_t> Bytes(const CMemBlock& block) {
    return std::vector<uint8_t>(block.data, block.data + block.size);
}

CMemBlock BlockOf(const std::vector<uint8_t>& bytes) {
    CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return CMemBlock(block, false);
}

} // namespace

TEST(MemBlockOwnership, AllocateZeroGivesAnEmptyBlock) {
    CMemBlock block;
    ASSERT_NE(block.Allocate(10), nullptr);
    EXPECT_EQ(block.size, 10u);
    EXPECT_EQ(block.Allocate(0), nullptr);
    EXPECT_EQ(block.data, nullptr);
    EXPECT_EQ(block.size, 0u);
    EXPECT_TRUE(block.owns);
}

TEST(MemBlockOwnership, ResizeKeepsTheCommonPrefix) {
    CMemBlock block;
    block.CopyFrom("abcdef", 6);
    block.Resize(3);
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{'a', 'b', 'c'}));
    block.Resize(5);
    ASSERT_EQ(block.size, 5u);
    EXPECT_EQ(std::memcmp(block.data, "abc", 3), 0);
    EXPECT_EQ(block.Resize(0), nullptr);
    EXPECT_EQ(block.size, 0u);
}

TEST(MemBlockOwnership, ShallowCopyBorrowsAndDeepCopyOwns) {
    CMemBlock original;
    original.CopyFrom("xyz", 3);
    CMemBlock shallow(original, true);
    EXPECT_EQ(shallow.data, original.data);
    EXPECT_FALSE(shallow.owns);
    CMemBlock deep(original, false);
    EXPECT_NE(deep.data, original.data);
    EXPECT_TRUE(deep.owns);
    EXPECT_EQ(Bytes(deep), Bytes(original));
    // Releasing the borrower leaves it unchanged and the bytes alive.
    shallow.Release();
    EXPECT_EQ(shallow.data, original.data);
    EXPECT_EQ(shallow.size, 3u);
}

TEST(MemBlockOwnership, RefillingABorrowerForgetsTheBorrowedBytes) {
    CMemBlock original;
    original.CopyFrom("xyz", 3);
    CMemBlock shallow(original, true);
    shallow.Allocate(0);
    EXPECT_EQ(shallow.data, nullptr);
    EXPECT_EQ(shallow.size, 0u);
    EXPECT_EQ(Bytes(original), (std::vector<uint8_t>{'x', 'y', 'z'}));
}

TEST(MemBlockOwnership, MoveFromTakesPointerSizeAndOwnership) {
    CMemBlock source;
    source.CopyFrom("hello", 5);
    uint8_t* bytes = source.data;
    CMemBlock target;
    target.CopyFrom("old", 3);
    target.MoveFrom(source);
    EXPECT_EQ(target.data, bytes);
    EXPECT_EQ(target.size, 5u);
    EXPECT_TRUE(target.owns);
    EXPECT_EQ(source.data, nullptr);
    EXPECT_EQ(source.size, 0u);
    target.MoveFrom(target);
    EXPECT_EQ(target.data, bytes);
}

TEST(MemBlockOwnership, MovingABorrowerIntoItsOwnerKeepsOwnership) {
    CMemBlock owner;
    owner.CopyFrom("abc", 3);
    CMemBlock borrower(owner, true);
    owner.MoveFrom(borrower);
    EXPECT_TRUE(owner.owns); // the bytes are still freed exactly once (leak check under ASan)
    EXPECT_EQ(Bytes(owner), (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(borrower.data, nullptr);
}

TEST(MemBlockOwnership, DetachHandsTheBytesOverAndAttachTakesThem) {
    CMemBlock block;
    block.CopyFrom("abc", 3);
    uint8_t* bytes = block.Detach();
    EXPECT_EQ(block.data, nullptr);
    EXPECT_EQ(block.size, 0u);
    EXPECT_TRUE(block.owns);
    CMemBlock other;
    other.Attach(bytes, 3, true);
    EXPECT_EQ(Bytes(other), (std::vector<uint8_t>{'a', 'b', 'c'}));
}

TEST(MemBlockOwnership, CopyFromItsOwnBytesIsSafe) {
    CMemBlock block;
    block.CopyFrom("abcdef", 6);
    block.CopyFrom(block.data + 2, 3);
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{'c', 'd', 'e'}));
}

TEST(MemBlockOwnership, CopyFromTextIncludesTheTerminator) {
    CMemBlock block;
    block.CopyFromText("ab");
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{'a', 'b', 0}));
    block.Fill(9);
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{9, 9, 9}));
}

TEST(RunLengthDecode, CountZeroMeans256ThenZerosWhenInputEnds) {
    CMemBlock source = BlockOf({7, 0});
    CMemBlock out;
    out.DecodeRunLength(source, 300);
    ASSERT_EQ(out.size, 300u);
    for (uint32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(out.data[i], 7) << i;
    }
    for (uint32_t i = 256; i < 300; ++i) {
        ASSERT_EQ(out.data[i], 0) << i;
    }
}

TEST(RunLengthDecode, OddByteAndSurplusPairsAreIgnored) {
    CMemBlock source = BlockOf({1, 2, 3, 1, 9, 9, 5});
    CMemBlock out;
    out.DecodeRunLength(source, 3);
    EXPECT_EQ(Bytes(out), (std::vector<uint8_t>{1, 1, 3}));
    CMemBlock odd = BlockOf({4, 1, 5});
    out.DecodeRunLength(odd, 3);
    EXPECT_EQ(Bytes(out), (std::vector<uint8_t>{4, 0, 0}));
}

TEST(RunLengthDecode, ZeroOutputSizeGivesAnEmptyBlock) {
    CMemBlock source = BlockOf({1, 2});
    CMemBlock out;
    out.CopyFrom("x", 1);
    out.DecodeRunLength(source, 0);
    EXPECT_EQ(out.size, 0u);
    EXPECT_EQ(out.data, nullptr);
}

TEST(RunLengthEncode, SixHundredEqualBytesGiveThreePairs) {
    CMemBlock source = BlockOf(std::vector<uint8_t>(600, 0x42));
    CMemBlock out;
    out.EncodeRunLength(source);
    EXPECT_EQ(Bytes(out), (std::vector<uint8_t>{0x42, 255, 0x42, 255, 0x42, 90}));
}

TEST(RunLengthEncode, MixedRunsAreEmittedInOrder) {
    CMemBlock source = BlockOf({1, 1, 2, 3, 3, 3});
    CMemBlock out;
    out.EncodeRunLength(source);
    EXPECT_EQ(Bytes(out), (std::vector<uint8_t>{1, 2, 2, 1, 3, 3}));
    CMemBlock empty;
    out.EncodeRunLength(empty);
    EXPECT_EQ(out.size, 0u);
}

TEST(RunLengthRoundTrip, DecodingTheEncodingRestoresTheInput) {
    std::srand(12345);
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> input;
        const int runs = 1 + std::rand() % 40;
        for (int r = 0; r < runs; ++r) {
            const auto value = static_cast<uint8_t>(std::rand() % 3);
            const int length = 1 + std::rand() % 700;
            input.insert(input.end(), static_cast<size_t>(length), value);
        }
        CMemBlock source = BlockOf(input);
        CMemBlock encoded;
        encoded.EncodeRunLength(source);
        for (uint32_t i = 1; i < encoded.size; i += 2) {
            ASSERT_GE(encoded.data[i], 1);
        }
        CMemBlock decoded;
        decoded.DecodeRunLength(encoded, source.size);
        ASSERT_EQ(Bytes(decoded), input) << "round " << round;
    }
}

TEST(RunLengthRoundTrip, EncodingInPlaceUsesTheOldBytes) {
    CMemBlock block = BlockOf({5, 5, 5, 6});
    block.EncodeRunLength(block);
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{5, 3, 6, 1}));
    block.DecodeRunLength(block, 4);
    EXPECT_EQ(Bytes(block), (std::vector<uint8_t>{5, 5, 5, 6}));
}
