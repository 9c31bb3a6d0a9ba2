// CResourceArchive, the named resources of a .bfres file held in memory, and its writer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "MemBlock.h"
#include "Store.h"

namespace kx {

// The root record type the writer gives an archive; readers do not examine it.
inline constexpr uint32_t kArchiveRootType = TypeCode("bfrs");

struct CResource {
    std::string kind;
    std::string name;
    CMemBlock data;          // empty when the index named a record type the file lacks
    uint32_t recordType = 0; // as the index names it
};

// One entry of the root's index.
struct ArchiveIndexEntry {
    std::string kind;
    std::string name;
    uint32_t recordType = 0;
};

// Reads index entries until the first read that fails; a truncated entry is dropped.
std::vector<ArchiveIndexEntry> ReadArchiveIndex(CMemBlock& indexData);

class CResourceArchive {
public:
    CResourceArchive() { resources.reserve(64); }
    CResourceArchive(const CResourceArchive&) = delete;
    CResourceArchive& operator=(const CResourceArchive&) = delete;

    // Finds name.bfres by the data-file search from base; false (and empty) if none is found.
    // A file that cannot be opened or read completely raises the file error, leaving the
    // archive empty.
    bool LoadArchive(const std::string& base, const std::string& name);
    bool LoadArchiveFromProgramFolder(const std::string& name);
    // Reads the archive at exactly this path; raises the file error when it cannot be
    // opened or read completely, leaving the archive empty.
    void LoadArchiveFile(const std::string& filePath);
    // Takes the resources from a tree already read; the children's bytes are moved out.
    void LoadFromTree(CBlockFileRecord& root);
    // Reads a whole archive from memory; false (and empty) when the record tree is damaged.
    bool LoadFromMemory(CMemBlock& bytes);

    // The first resource whose kind and name equal the given ones byte for byte.
    const CResource* LookupResource(const std::string& kind, const std::string& name) const;
    void ClearArchive() { resources.clear(); }

    size_t GetCount() const { return resources.size(); }
    const CResource& ResourceAt(size_t i) const { return *resources[i]; }
    // The file the last LoadArchive read; empty when none was found.
    const std::string& GetPath() const { return path; }

private:
    std::vector<std::unique_ptr<CResource>> resources;
    std::string path;
};

// A resource to be written: its bytes are borrowed for the duration of the write.
struct ArchiveSource {
    std::string kind;
    std::string name;
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
};

// Writes a .bfres: the root's data is the index, each resource a child with a record type
// of its own (1, 2, 3, ... in order). False if a write failed.
bool WriteArchive(IStore& store, const std::vector<ArchiveSource>& sources);

} // namespace kx
