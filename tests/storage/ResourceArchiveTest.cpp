// The resource archive: its index, lookups, damaged files and where it is found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/FileEx.h"
#include "storage/MemSerializer.h"
#include "storage/ResourceArchive.h"

using kx::CBlockFile;
using kx::CResourceArchive;

namespace {

struct IndexLine {
    std::string kind;
    std::string name;
    uint32_t type;
};

// A root whose index lists the lines and whose children are (type, bytes).
void BuildTree(CBlockFile& root, const std::vector<IndexLine>& index,
               const std::vector<std::pair<uint32_t, std::string>>& children) {
    root.type = kx::kArchiveRootType;
    kx::CMemSerializer out(root.data, true);
    for (const IndexLine& line : index) {
        kx::WriteString(out, line.kind);
        kx::WriteString(out, line.name);
        kx::WriteU32(out, line.type);
    }
    out.FinishWriting();
    for (const auto& [type, bytes] : children) {
        kx::CBlockFileRecord& child = root.AddChild();
        child.type = type;
        child.data.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
}

std::string TreeBytes(const CBlockFile& root) {
    kx::CMemBlock block;
    {
        kx::CMemSerializer out(block, true);
        EXPECT_TRUE(root.Save(out));
    }
    return std::string(reinterpret_cast<const char*>(block.data), block.size);
}

std::string DataOf(const kx::CResource* r) {
    return r == nullptr ? "<none>"
                        : std::string(reinterpret_cast<const char*>(r->data.data), r->data.size);
}

void LoadBytes(CResourceArchive& archive, const std::string& bytes) {
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(archive.LoadFromMemory(block));
}

} // namespace

TEST(ResourceArchive, ResourcesKeepIndexOrderAndTheirChildsBytes) {
    CBlockFile root;
    BuildTree(root, {{"image", "imgtrans", 7}, {"sound", "confirm", 3}},
              {{3, "RIFF...."}, {7, "BM......"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    ASSERT_EQ(archive.GetCount(), 2u);
    EXPECT_EQ(archive.ResourceAt(0).name, "imgtrans");
    EXPECT_EQ(archive.ResourceAt(0).recordType, 7u);
    EXPECT_EQ(DataOf(archive.LookupResource("image", "imgtrans")), "BM......");
    EXPECT_EQ(DataOf(archive.LookupResource("sound", "confirm")), "RIFF....");
}

TEST(ResourceArchive, LookupIsExactAndCaseSensitive) {
    CBlockFile root;
    BuildTree(root, {{"image", "imgtrans", 1}}, {{1, "x"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    EXPECT_EQ(archive.LookupResource("image", "ImgTrans"), nullptr);
    EXPECT_EQ(archive.LookupResource("Image", "imgtrans"), nullptr);
    EXPECT_EQ(archive.LookupResource("image", "imgtrans "), nullptr);
    EXPECT_EQ(archive.LookupResource("sound", "imgtrans"), nullptr);
    EXPECT_NE(archive.LookupResource("image", "imgtrans"), nullptr);
}

TEST(ResourceArchive, FirstOfTwoEqualNamesWins) {
    CBlockFile root;
    BuildTree(root, {{"level", "a", 1}, {"level", "a", 2}}, {{1, "first"}, {2, "second"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    EXPECT_EQ(DataOf(archive.LookupResource("level", "a")), "first");
}

TEST(ResourceArchive, SharedRecordTypeGivesTheBytesToTheFirstEntryOnly) {
    CBlockFile root;
    BuildTree(root, {{"image", "a", 5}, {"image", "b", 5}}, {{5, "bytes"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    EXPECT_EQ(DataOf(archive.LookupResource("image", "a")), "bytes");
    const kx::CResource* b = archive.LookupResource("image", "b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->data.size, 0u);
}

TEST(ResourceArchive, MissingChildGivesAnEmptyResource) {
    CBlockFile root;
    BuildTree(root, {{"sound", "x", 9}}, {{8, "other"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    ASSERT_NE(archive.LookupResource("sound", "x"), nullptr);
    EXPECT_EQ(archive.LookupResource("sound", "x")->data.size, 0u);
}

TEST(ResourceArchive, EmptyIndexLoadsWithNoResources) {
    CBlockFile root;
    BuildTree(root, {}, {{1, "orphan"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(root));
    EXPECT_EQ(archive.GetCount(), 0u);
}

TEST(ResourceArchive, TruncatedIndexEndsAtTheLastCompleteEntry) {
    CBlockFile full;
    BuildTree(full, {{"image", "one", 1}, {"image", "two", 2}}, {});
    const uint32_t complete = 4 + 5 + 4 + 3 + 4;
    for (uint32_t cut = 0; cut < full.data.size; ++cut) {
        kx::CMemBlock index;
        index.CopyFrom(full.data.data, cut);
        const auto entries = kx::ReadArchiveIndex(index);
        EXPECT_EQ(entries.size(), cut >= complete ? 1u : 0u) << cut;
    }
    kx::CMemBlock whole(full.data, false);
    EXPECT_EQ(kx::ReadArchiveIndex(whole).size(), 2u);
}

TEST(ResourceArchive, IndexWithAHugeStringLengthStops) {
    kx::CMemBlock index;
    const uint8_t bytes[] = {0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'};
    index.CopyFrom(bytes, sizeof bytes);
    EXPECT_TRUE(kx::ReadArchiveIndex(index).empty());
}

TEST(ResourceArchive, LoadingTwiceReplacesTheFirstLoad) {
    CBlockFile first;
    BuildTree(first, {{"image", "a", 1}}, {{1, "A"}});
    CBlockFile second;
    BuildTree(second, {{"image", "b", 1}}, {{1, "B"}});
    CResourceArchive archive;
    LoadBytes(archive, TreeBytes(first));
    LoadBytes(archive, TreeBytes(second));
    ASSERT_EQ(archive.GetCount(), 1u);
    EXPECT_EQ(archive.LookupResource("image", "a"), nullptr);
    EXPECT_EQ(DataOf(archive.LookupResource("image", "b")), "B");
    archive.ClearArchive();
    EXPECT_EQ(archive.GetCount(), 0u);
}

TEST(ResourceArchive, DamagedTreeInMemoryLoadsNothing) {
    CBlockFile root;
    BuildTree(root, {{"image", "a", 1}}, {{1, "A"}});
    std::string bytes = TreeBytes(root);
    CResourceArchive archive;
    LoadBytes(archive, bytes);
    bytes.resize(bytes.size() - 1);
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_FALSE(archive.LoadFromMemory(block));
    EXPECT_EQ(archive.GetCount(), 0u);
}

TEST(ResourceArchiveFile, NotFoundReturnsFalseAndEmpties) {
    kxtest::TempFolder folder;
    folder.Write("Krawlix.bfres", "");
    CResourceArchive archive;
    EXPECT_FALSE(archive.LoadArchive(folder.Path("nowhere/deeper"), "Other"));
    EXPECT_EQ(archive.GetCount(), 0u);
}

TEST(ResourceArchiveFile, IsFoundInADataFolderTwoLevelsUp) {
    kxtest::TempFolder folder;
    CBlockFile root;
    BuildTree(root, {{"list", "Levels", 1}}, {{1, "lines"}});
    folder.Write("Data/Krawlix.bfres", TreeBytes(root));
    folder.MakeFolder("build/bin");
    CResourceArchive archive;
    ASSERT_TRUE(archive.LoadArchive(folder.Path("build/bin"), "Krawlix"));
    EXPECT_EQ(DataOf(archive.LookupResource("list", "Levels")), "lines");
    EXPECT_EQ(archive.GetPath(), folder.Path("Data/Krawlix.bfres"));
}

TEST(ResourceArchiveFile, IsFoundInTheResourcesAndNamedFolders) {
    for (const char* place : {"Resources/", "Krawlix/", "Krawlix/Resources/"}) {
        kxtest::TempFolder folder;
        CBlockFile root;
        BuildTree(root, {{"list", "Levels", 1}}, {{1, place}});
        folder.Write(std::string(place) + "Krawlix.bfres", TreeBytes(root));
        CResourceArchive archive;
        ASSERT_TRUE(archive.LoadArchive(folder.Path(), "Krawlix")) << place;
        EXPECT_EQ(DataOf(archive.LookupResource("list", "Levels")), place);
    }
}

TEST(ResourceArchiveFile, TheRootsTypeCodeIsNotExamined) {
    for (const uint32_t rootType : {0u, kx::TypeCode("dlfg"), 0xFFFFFFFFu}) {
        kxtest::TempFolder folder;
        CBlockFile root;
        BuildTree(root, {{"list", "Levels", 1}}, {{1, "lines"}});
        root.type = rootType;
        folder.Write("Krawlix.bfres", TreeBytes(root));
        CResourceArchive archive;
        ASSERT_TRUE(archive.LoadArchive(folder.Path(), "Krawlix")) << rootType;
        EXPECT_EQ(DataOf(archive.LookupResource("list", "Levels")), "lines") << rootType;
    }
}

TEST(ResourceArchiveFile, TruncatedFileRaisesAndLeavesTheArchiveEmpty) {
    kxtest::TempFolder folder;
    CBlockFile root;
    BuildTree(root, {{"image", "a", 1}}, {{1, std::string(100, 'x')}});
    const std::string bytes = TreeBytes(root);
    CResourceArchive archive;
    LoadBytes(archive, bytes);
    folder.Write("Krawlix.bfres", bytes.substr(0, bytes.size() - 10));
    EXPECT_THROW(archive.LoadArchive(folder.Path(), "Krawlix"), kx::CTBException);
    EXPECT_EQ(archive.GetCount(), 0u);
}

TEST(ResourceArchiveFile, WriterOutputReadsBackWithDistinctRecordTypes) {
    kxtest::TempFolder folder;
    const std::string a = "alpha";
    const std::string b(70000, '\x01');
    std::vector<kx::ArchiveSource> sources = {
        {"image", "a", reinterpret_cast<const uint8_t*>(a.data()), 5},
        {"image", "b", reinterpret_cast<const uint8_t*>(b.data()), 70000},
        {"list", "empty", nullptr, 0}};
    {
        kx::CFileEx file(true);
        file.SetPath(folder.Path("Krawlix.bfres"));
        file.OpenWrite();
        ASSERT_TRUE(kx::WriteArchive(file, sources));
    }
    CResourceArchive archive;
    ASSERT_TRUE(archive.LoadArchive(folder.Path(), "Krawlix"));
    ASSERT_EQ(archive.GetCount(), 3u);
    EXPECT_EQ(DataOf(archive.LookupResource("image", "a")), a);
    EXPECT_EQ(DataOf(archive.LookupResource("image", "b")), b);
    EXPECT_EQ(archive.LookupResource("list", "empty")->data.size, 0u);
    EXPECT_NE(archive.ResourceAt(0).recordType, archive.ResourceAt(1).recordType);
    EXPECT_NE(archive.ResourceAt(1).recordType, archive.ResourceAt(2).recordType);
}
