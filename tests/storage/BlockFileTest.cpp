// The record tree's byte layout, round trips, lookups and its answers to damaged streams.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/MemSerializer.h"

using namespace kx;

namespace {

std::vector<uint8_t> Bytes(const CMemBlock& block) {
    return std::vector<uint8_t>(block.data, block.data + block.size);
}

std::vector<uint8_t> SaveToBytes(const CBlockFileRecord& record) {
    CMemBlock block;
    {
        CMemSerializer out(block, true);
        EXPECT_TRUE(record.Save(out));
    }
    return Bytes(block);
}

void SetData(CBlockFileRecord& record, const std::string& text) {
    record.data.CopyFrom(text.data(), static_cast<uint32_t>(text.size()));
}

std::string DataText(const CBlockFileRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.data.data), record.data.size);
}

// Little-endian u32 appended to a byte vector, for spelling out streams.
void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

bool LoadBytes(CBlockFile& file, const std::vector<uint8_t>& bytes) {
    CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CMemSerializer in(block, false);
    return file.Load(in);
}

} // namespace

TEST(RecordTypeCode, LettersAreReadBigEndian) {
    EXPECT_EQ(TypeCode("gfld"), 0x67666C64u);
    EXPECT_EQ(TypeCode("ug"), 0x00007567u);
}

TEST(RecordLayout, EmptyRecordIsTwelveBytes) {
    CBlockFile file;
    file.type = 0x11223344;
    const std::vector<uint8_t> expected = {0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SaveToBytes(file), expected);
}

TEST(RecordLayout, SmallTreeIsSpelledOutExactly) {
    CBlockFile root;
    root.type = TypeCode("gfld");
    SetData(root, "ab");
    CBlockFileRecord& first = root.AddChild();
    first.type = 1;
    SetData(first, "X");
    CBlockFileRecord& second = root.AddChild();
    second.type = 2;
    second.AddChild().type = 3;

    const std::vector<uint8_t> expected = {
        'd', 'l', 'f', 'g', 2, 0, 0, 0, 'a', 'b', 2, 0, 0, 0, // root: type, L=2, data, N=2
        1,   0,   0,   0,   1, 0, 0, 0, 'X', 0,   0, 0, 0,    // first child, no children
        2,   0,   0,   0,   0, 0, 0, 0, 1,   0,   0, 0,       // second child, one child
        3,   0,   0,   0,   0, 0, 0, 0, 0,   0,   0, 0,       // grandchild
    };
    EXPECT_EQ(SaveToBytes(root), expected);
}

TEST(RecordRoundTrip, TypesDataAndChildOrderSurvive) {
    CBlockFile root;
    root.type = TypeCode("root");
    SetData(root, std::string("\0\x01\xff", 3));
    for (uint32_t i = 0; i < 70; ++i) { // past the first 64 entries
        CBlockFileRecord& child = root.AddChild();
        child.type = 100 + i;
        SetData(child, std::string(i, static_cast<char>('a' + i % 26)));
        if (i % 10 == 0) {
            child.AddChild().type = 1000 + i;
        }
    }
    const std::vector<uint8_t> bytes = SaveToBytes(root);

    CBlockFile loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    EXPECT_EQ(loaded.type, root.type);
    EXPECT_EQ(DataText(loaded), DataText(root));
    ASSERT_EQ(loaded.ChildCount(), 70u);
    for (uint32_t i = 0; i < 70; ++i) {
        EXPECT_EQ(loaded.ChildAt(i).type, 100 + i);
        EXPECT_EQ(DataText(loaded.ChildAt(i)), DataText(root.ChildAt(i)));
        EXPECT_EQ(loaded.ChildAt(i).ChildCount(), i % 10 == 0 ? 1u : 0u);
    }
    EXPECT_EQ(loaded.ChildAt(20).ChildAt(0).type, 1020u);
    EXPECT_EQ(SaveToBytes(loaded), bytes);
}

TEST(RecordLoad, LoadingAppendsToExistingChildren) {
    CBlockFile source;
    source.AddChild().type = 7;
    const std::vector<uint8_t> bytes = SaveToBytes(source);
    CBlockFile target;
    target.AddChild().type = 5;
    ASSERT_TRUE(LoadBytes(target, bytes));
    ASSERT_EQ(target.ChildCount(), 2u);
    EXPECT_EQ(target.ChildAt(0).type, 5u);
    EXPECT_EQ(target.ChildAt(1).type, 7u);
}

TEST(RecordLoad, PartialLoadKeepsWhatWasRead) {
    CBlockFile root;
    root.type = 9;
    root.AddChild().type = 1;
    CBlockFileRecord& second = root.AddChild();
    second.type = 2;
    SetData(second, "payload");
    std::vector<uint8_t> bytes = SaveToBytes(root);
    bytes.resize(bytes.size() - 6); // cut into the second child's data

    CBlockFile loaded;
    EXPECT_FALSE(LoadBytes(loaded, bytes));
    EXPECT_EQ(loaded.type, 9u);
    ASSERT_EQ(loaded.ChildCount(), 2u);
    EXPECT_EQ(loaded.ChildAt(0).type, 1u);
    EXPECT_EQ(loaded.ChildAt(1).type, 2u);
    EXPECT_EQ(loaded.ChildAt(1).data.size, 0u);
}

TEST(RecordLoad, TreesDeeperThanTheLimitAreRefused) {
    auto chain = [](int levels) {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < levels; ++i) {
            Put32(bytes, static_cast<uint32_t>(i));
            Put32(bytes, 0);
            Put32(bytes, i + 1 < levels ? 1 : 0);
        }
        return bytes;
    };
    CBlockFile atLimit;
    EXPECT_TRUE(LoadBytes(atLimit, chain(kMaxRecordDepth)));
    CBlockFile tooDeep;
    EXPECT_FALSE(LoadBytes(tooDeep, chain(kMaxRecordDepth + 1)));
    CBlockFile veryDeep;
    EXPECT_FALSE(LoadBytes(veryDeep, chain(100000)));
}

TEST(RecordLoad, OversizedDataLengthFailsWithoutAllocating) {
    std::vector<uint8_t> bytes;
    Put32(bytes, 1);
    Put32(bytes, 0xFFFFFFF0u);
    Put32(bytes, 0);
    Put32(bytes, 0);
    Put32(bytes, 0);
    ASSERT_EQ(bytes.size(), 20u);
    CBlockFile file;
    EXPECT_FALSE(LoadBytes(file, bytes));
    EXPECT_EQ(file.data.data, nullptr);
    EXPECT_EQ(file.data.size, 0u);
}

// A store that cannot tell its length, to exercise the bounded reading path.
class OpaqueStore : public IStore {
public:
    explicit OpaqueStore(std::vector<uint8_t> bytes) : bytes(std::move(bytes)) {}
    bool Read(void* destination, uint32_t n) override {
        if (n > bytes.size() - position) {
            position = bytes.size();
            return false;
        }
        std::copy_n(bytes.begin() + static_cast<long>(position), n,
                    static_cast<uint8_t*>(destination));
        position += n;
        return true;
    }
    bool Write(const void*, uint32_t) override { return false; }
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

TEST(RecordLoad, OversizedLengthOnAStoreOfUnknownLengthFails) {
    std::vector<uint8_t> bytes;
    Put32(bytes, 1);
    Put32(bytes, 0xFFFFFFF0u);
    bytes.resize(bytes.size() + 3000, 0xAB);
    OpaqueStore store(bytes);
    CBlockFile file;
    EXPECT_FALSE(file.Load(store));
    EXPECT_EQ(file.data.size, 0u);
}

TEST(RecordLoad, LargeBlockOnAStoreOfUnknownLengthIsReadWhole) {
    CBlockFile root;
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7);
    }
    SetData(root, big);
    OpaqueStore store(SaveToBytes(root));
    CBlockFile loaded;
    ASSERT_TRUE(loaded.Load(store));
    EXPECT_EQ(DataText(loaded), big);
}

TEST(RecordLoad, HugeChildCountStopsAtTheFirstFailedRead) {
    std::vector<uint8_t> bytes;
    Put32(bytes, 1);
    Put32(bytes, 0);
    Put32(bytes, 0x7FFFFFFFu);
    for (int i = 0; i < 3; ++i) { // three complete children, then the stream ends
        Put32(bytes, 50);
        Put32(bytes, 0);
        Put32(bytes, 0);
    }
    const auto start = std::chrono::steady_clock::now();
    CBlockFile file;
    EXPECT_FALSE(LoadBytes(file, bytes));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // The fourth child was added before its read failed.
    EXPECT_EQ(file.ChildCount(), 4u);
}

TEST(RecordLoad, CountWithTopBitSetReadsNoChildren) {
    std::vector<uint8_t> bytes;
    Put32(bytes, 1);
    Put32(bytes, 0);
    Put32(bytes, 0x80000001u);
    CBlockFile file;
    EXPECT_TRUE(LoadBytes(file, bytes));
    EXPECT_EQ(file.ChildCount(), 0u);
}

TEST(RecordLookup, FindChildSearchesOnlyDirectChildrenFirstWins) {
    CBlockFile root;
    CBlockFileRecord& a = root.AddChild();
    a.type = 5;
    SetData(a, "first");
    CBlockFileRecord& b = root.AddChild();
    b.type = 5;
    SetData(b, "second");
    a.AddChild().type = 6;

    ASSERT_NE(root.FindChild(5), nullptr);
    EXPECT_EQ(DataText(*root.FindChild(5)), "first");
    EXPECT_EQ(root.FindChild(6), nullptr);
    EXPECT_EQ(root.FindChildData(6, nullptr), nullptr);
    EXPECT_EQ(root.FindChildData(5), &a.data);
}

TEST(RecordLookup, GetChildOfAGrandchildTypeRaises) {
    CBlockFile root;
    root.AddChild().AddChild().type = 0x67666C64;
    try {
        root.GetChild(0x67666C64);
        FAIL() << "no exception";
    } catch (const CTBException& e) {
        EXPECT_EQ(e.kind, CTBException::kMessage);
        EXPECT_EQ(e.text, "Missing record block of type 1734765668 (0x67666C64)");
    }
    try {
        root.GetChildData(0xFFFFFFFFu);
        FAIL() << "no exception";
    } catch (const CTBException& e) {
        EXPECT_EQ(e.text, "Missing record block of type -1 (0xFFFFFFFF)");
    }
}

TEST(RecordLookup, SetChildDataAddsOnceThenReplaces) {
    CBlockFile root;
    CMemBlock value;
    value.CopyFrom("abc", 3);
    root.SetChildData(8, value);
    value.CopyFrom("xy", 2);
    root.SetChildData(8, value);
    ASSERT_EQ(root.ChildCount(), 1u);
    EXPECT_EQ(DataText(root.GetChild(8)), "xy");
    EXPECT_EQ(&root.GetOrAddChild(8), &root.ChildAt(0));
    EXPECT_EQ(root.GetOrAddChild(9).type, 9u);
    EXPECT_EQ(root.ChildCount(), 2u);
}

TEST(SizedString, ZeroLengthIsEmptyAndReadsNothingMore) {
    CMemBlock block;
    {
        CMemSerializer out(block, true);
        ASSERT_TRUE(WriteString(out, ""));
        ASSERT_TRUE(WriteString(out, "Grün"));
    }
    ASSERT_EQ(block.size, 4u + 4u + 5u);
    CMemSerializer in(block, false);
    std::string text = "old";
    ASSERT_TRUE(ReadString(in, text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(in.BytesLeft(), 9u);
    ASSERT_TRUE(ReadString(in, text));
    EXPECT_EQ(text, "Grün");
    EXPECT_FALSE(ReadString(in, text));
}
