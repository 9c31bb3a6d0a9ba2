// CMemSerializer's reading, appending, growth steps and finishing.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "storage/MemSerializer.h"

using namespace kx;

TEST(MemSerializerWrite, AppendsAfterExistingBytesAndTrimsOnFinish) {
    CMemBlock block;
    block.CopyFrom("0123456789", 10);
    {
        CMemSerializer out(block, true);
        ASSERT_TRUE(out.Write("abc", 3));
        EXPECT_EQ(block.size, 4096u); // grown in 4096-byte steps
        out.FinishWriting();
        EXPECT_EQ(block.size, 13u);
        EXPECT_FALSE(out.Write("d", 1));
    }
    EXPECT_EQ(std::memcmp(block.data, "0123456789abc", 13), 0);
}

TEST(MemSerializerWrite, GrowthTakesHalfTheSizeRoundedToPages) {
    CMemBlock block;
    CMemSerializer out(block, true);
    std::vector<uint8_t> piece(5000, 1);
    ASSERT_TRUE(out.Write(piece.data(), 5000));
    EXPECT_EQ(block.size, 8192u); // (max(0, 5000) + 4095) rounded down to 4096s
    ASSERT_TRUE(out.Write(piece.data(), 3192));
    EXPECT_EQ(block.size, 8192u); // exactly full, no growth
    ASSERT_TRUE(out.Write(piece.data(), 1));
    EXPECT_EQ(block.size, 12288u); // 8192 + 4096 = 12288 is a page multiple
    ASSERT_TRUE(out.Write(piece.data(), 4095));
    ASSERT_TRUE(out.Write(piece.data(), 1));
    EXPECT_EQ(block.size, 20480u); // 12288 + 6144 = 18432, + 4095 rounded down
    out.FinishWriting();
    EXPECT_EQ(block.size, 8192u + 1 + 4095 + 1);
}

TEST(MemSerializerWrite, FinishingWithNothingWrittenEmptiesAFreshBlock) {
    CMemBlock block;
    {
        CMemSerializer out(block, true);
        ASSERT_TRUE(out.Write("", 0));
    }
    EXPECT_EQ(block.size, 0u);
    EXPECT_EQ(block.data, nullptr);
}

TEST(MemSerializerRead, ReadPastTheEndFailsWithoutMoving) {
    CMemBlock block;
    block.CopyFrom("abcdef", 6);
    CMemSerializer in(block, false);
    char buffer[8] = {};
    ASSERT_TRUE(in.Read(buffer, 4));
    EXPECT_EQ(in.BytesLeft(), 2u);
    EXPECT_FALSE(in.Read(buffer, 3));
    EXPECT_EQ(in.BytesLeft(), 2u);
    ASSERT_TRUE(in.Read(buffer, 2));
    EXPECT_EQ(std::memcmp(buffer, "ef", 2), 0);
    EXPECT_FALSE(in.Read(buffer, 0xFFFFFFFFu));
}

TEST(MemSerializerRead, WrongModeAndFinishedStreamsFail) {
    CMemBlock block;
    block.CopyFrom("abcdef", 6);
    char buffer[4];
    CMemSerializer in(block, false);
    EXPECT_FALSE(in.Write("x", 1));
    CMemSerializer out(block, true);
    EXPECT_FALSE(out.Read(buffer, 1));
    EXPECT_EQ(out.BytesLeft(), 0u);
    in.FinishWriting();
    EXPECT_FALSE(in.Read(buffer, 1));
    EXPECT_EQ(in.BytesLeft(), 0u);
    out.FinishWriting();
    EXPECT_EQ(block.size, 6u);
}

TEST(MemSerializerRead, DefaultSkipMovesForwardAndStopsAtTheEnd) {
    CMemBlock block;
    std::vector<uint8_t> bytes(3000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    block.CopyFrom(bytes.data(), 3000);
    CMemSerializer in(block, false);
    in.Skip(2500);
    EXPECT_EQ(in.BytesLeft(), 500u);
    uint8_t value = 0;
    ASSERT_TRUE(in.Read(&value, 1));
    EXPECT_EQ(value, static_cast<uint8_t>(2500));
    in.Skip(0xFFFFFFFFu);
    // Whole pieces are consumed while they fit; the last short piece is not.
    EXPECT_EQ(in.BytesLeft(), 499u);
}
