// CResourceArchive: loading a .bfres record tree into named resources, and writing one.
#include "ResourceArchive.h"

#include <algorithm>
#include <unordered_map>

#include "Error.h"
#include "FileEx.h"
#include "InputFile.h"
#include "MemSerializer.h"
#include "Path.h"
#include "TextCodec.h"

namespace kx {
namespace {

// Archives read from a pipe end here; the game's own is a few megabytes.
constexpr uint64_t kMaxPipedArchiveBytes = 2 * kMaxWholeFileBytes;

// At most a budget of bytes from another store.
class CBoundedStore : public IStore {
public:
    CBoundedStore(IStore& inner, uint64_t budget) : inner(inner), budget(budget) {}
    bool Read(void* destination, uint32_t n) override {
        if (n > budget) {
            exhausted = true;
            return false;
        }
        budget -= n;
        return inner.Read(destination, n);
    }
    bool Write(const void* /*source*/, uint32_t /*n*/) override { return false; }
    uint64_t BytesLeft() const override {
        const uint64_t left = inner.BytesLeft();
        return left == kUnknownLength ? kUnknownLength : std::min(left, budget);
    }
    bool Exhausted() const { return exhausted; }

private:
    IStore& inner;
    uint64_t budget;
    bool exhausted = false;
};

} // namespace

std::vector<ArchiveIndexEntry> ReadArchiveIndex(CMemBlock& indexData) {
    std::vector<ArchiveIndexEntry> entries;
    CMemSerializer reader(indexData, false);
    ArchiveIndexEntry entry;
    if (!ReadString(reader, entry.kind)) {
        return entries;
    }
    while (ReadString(reader, entry.name) && ReadU32(reader, entry.recordType)) {
        entries.push_back(entry);
        if (!ReadString(reader, entry.kind)) {
            break;
        }
    }
    return entries;
}

bool CResourceArchive::LoadArchive(const std::string& base, const std::string& name) {
    const std::string found = FindDataFile(base, name, "Resources", name + ".bfres");
    ClearArchive();
    path.clear();
    if (found.empty()) {
        return false;
    }
    LoadArchiveFile(found);
    return true;
}

void CResourceArchive::LoadArchiveFile(const std::string& filePath) {
    ClearArchive();
    path = filePath;
    CBlockFile tree;
    {
        CFileEx file(true);
        file.SetPath(filePath, true);
        file.OpenRead();
        // A pipe cannot tell its length, so nothing else would end a lying or endless one.
        const bool bounded = file.BytesLeft() == IStore::kUnknownLength;
        CBoundedStore store(file, bounded ? kMaxPipedArchiveBytes : UINT64_MAX);
        // The record reader refuses a stated length beyond the file's end without reading,
        // so a truncated archive surfaces here rather than as a failed read of the file.
        if (!tree.Load(store)) {
            if (bounded && store.Exhausted()) {
                RaiseError(T("Datei \"%s\" ist größer als %u MB.").c_str(), filePath.c_str(),
                           static_cast<unsigned>(kMaxPipedArchiveBytes >> 20));
            }
            RaiseError(T("Fehler beim Lesen von %u Bytes aus Datei \"%s\".").c_str(),
                       file.GetSize(), filePath.c_str());
        }
    }
    // The root's type is not examined: any complete record tree is an archive, and one
    // with empty root data (a file of zeros, say) an empty one.
    LoadFromTree(tree);
}

bool CResourceArchive::LoadArchiveFromProgramFolder(const std::string& name) {
    return LoadArchive(GetModuleDirectory(), name);
}

void CResourceArchive::LoadFromTree(CBlockFileRecord& root) {
    ClearArchive();
    // The first child of each type, as a search in order would find it, looked up in constant
    // time: an index of 200,000 entries must not cost 200,000 scans.
    std::unordered_map<uint32_t, CBlockFileRecord*> childByType;
    childByType.reserve(root.ChildCount());
    for (size_t i = 0; i < root.ChildCount(); ++i) {
        childByType.emplace(root.ChildAt(i).type, &root.ChildAt(i));
    }
    std::vector<ArchiveIndexEntry> entries = ReadArchiveIndex(root.data);
    resources.reserve(entries.size());
    for (ArchiveIndexEntry& entry : entries) {
        auto resource = std::make_unique<CResource>();
        resource->kind = std::move(entry.kind);
        resource->name = std::move(entry.name);
        resource->recordType = entry.recordType;
        if (auto child = childByType.find(entry.recordType); child != childByType.end()) {
            // A second entry with the same type finds the block already moved out: empty.
            resource->data.MoveFrom(child->second->data);
        }
        resources.push_back(std::move(resource));
    }
}

bool CResourceArchive::LoadFromMemory(CMemBlock& bytes) {
    ClearArchive();
    path.clear();
    CBlockFile tree;
    CMemSerializer reader(bytes, false);
    if (!tree.Load(reader)) {
        return false;
    }
    LoadFromTree(tree);
    return true;
}

const CResource* CResourceArchive::LookupResource(const std::string& kind,
                                                  const std::string& name) const {
    for (const auto& resource : resources) {
        if (resource->kind == kind && resource->name == name) {
            return resource.get();
        }
    }
    return nullptr;
}

bool WriteArchive(IStore& store, const std::vector<ArchiveSource>& sources) {
    CBlockFile root;
    root.type = kArchiveRootType;
    {
        CMemSerializer index(root.data, true);
        uint32_t recordType = 1;
        for (const ArchiveSource& source : sources) {
            if (!WriteString(index, source.kind) || !WriteString(index, source.name) ||
                !WriteU32(index, recordType++)) {
                return false;
            }
        }
    }
    uint32_t recordType = 1;
    for (const ArchiveSource& source : sources) {
        CBlockFileRecord& child = root.AddChild();
        child.type = recordType++;
        // Borrowed: the bytes are only written, never kept.
        child.data.Attach(const_cast<uint8_t*>(source.bytes), source.size, false);
    }
    return root.Save(store);
}

} // namespace kx
