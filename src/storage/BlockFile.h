// The tagged record tree that level files and the resource archive are made of.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MemBlock.h"
#include "Store.h"

namespace kx {

// A record type from up to four ASCII letters read big-endian: TypeCode("gfld") is
// 0x67666C64, TypeCode("ug") is 0x00007567.
constexpr uint32_t TypeCode(const char* letters) {
    uint32_t value = 0;
    for (int i = 0; i < 4 && letters[i] != '\0'; ++i) {
        value = (value << 8) | static_cast<uint8_t>(letters[i]);
    }
    return value;
}

// Deeper trees are refused by Load instead of exhausting the stack.
inline constexpr int kMaxRecordDepth = 64;

class CBlockFileRecord {
public:
    CBlockFileRecord() = default;
    CBlockFileRecord(const CBlockFileRecord&) = delete;
    CBlockFileRecord& operator=(const CBlockFileRecord&) = delete;
    virtual ~CBlockFileRecord() = default;

    // Writes this record and its subtree; false at the first failed write.
    virtual bool Save(IStore& store) const;
    // Reads type and data and appends the children read; false at the first failed read,
    // what was read stays in the tree.
    virtual bool Load(IStore& store);

    CBlockFileRecord& AddChild();
    size_t ChildCount() const { return children.size(); }
    CBlockFileRecord& ChildAt(size_t i) { return *children[i]; }
    const CBlockFileRecord& ChildAt(size_t i) const { return *children[i]; }

    CBlockFileRecord* FindChild(uint32_t type);
    const CBlockFileRecord* FindChild(uint32_t type) const;
    // Raise "Missing record block of type %d (0x%08X)" when no child has the type.
    CBlockFileRecord& GetChild(uint32_t type);
    CMemBlock& GetChildData(uint32_t type);
    CMemBlock* FindChildData(uint32_t type, CMemBlock* fallback = nullptr);
    CBlockFileRecord& GetOrAddChild(uint32_t type);
    void SetChildData(uint32_t type, const CMemBlock& source);

    uint32_t type = 0;
    CMemBlock data;
    std::vector<std::unique_ptr<CBlockFileRecord>> children;

private:
    bool LoadAtDepth(IStore& store, int depth);
};

// The root record of a tree.
class CBlockFile : public CBlockFileRecord {};

// A 32-bit length followed by the bytes.
bool WriteSizedBlock(IStore& store, const CMemBlock& block);
// Fails as a short read, without allocating, when the stated size exceeds what the store
// has left (where the store can tell).
bool ReadSizedBlock(IStore& store, CMemBlock& block);
bool ReadString(IStore& store, std::string& text);
bool WriteString(IStore& store, const std::string& text);

} // namespace kx
