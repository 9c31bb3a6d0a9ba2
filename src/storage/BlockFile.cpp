// CBlockFileRecord: the record tree's byte layout, lookup by type and sized blocks.
#include "BlockFile.h"

#include <algorithm>

#include "Error.h"

namespace kx {
namespace {

// Below this a stated length is allocated at once; above it, when the store cannot tell
// how much it holds, the block grows with what actually arrives.
constexpr uint32_t kReadChunk = 1u << 20;

} // namespace

bool CBlockFileRecord::Save(IStore& store) const {
    if (!WriteU32(store, type) || !WriteSizedBlock(store, data) ||
        !WriteU32(store, static_cast<uint32_t>(children.size()))) {
        return false;
    }
    for (const auto& child : children) {
        if (!child->Save(store)) {
            return false;
        }
    }
    return true;
}

bool CBlockFileRecord::Load(IStore& store) {
    return LoadAtDepth(store, 1);
}

bool CBlockFileRecord::LoadAtDepth(IStore& store, int depth) {
    if (!ReadU32(store, type) || !ReadSizedBlock(store, data)) {
        return false;
    }
    uint32_t storedCount = 0;
    if (!ReadU32(store, storedCount)) {
        return false;
    }
    // Compared as a signed number: a count with the top bit set reads no children.
    const auto count = static_cast<int32_t>(storedCount);
    for (int32_t i = 0; i < count; ++i) {
        if (depth >= kMaxRecordDepth) {
            return false;
        }
        if (!AddChild().LoadAtDepth(store, depth + 1)) {
            return false;
        }
    }
    return true;
}

CBlockFileRecord& CBlockFileRecord::AddChild() {
    children.push_back(std::make_unique<CBlockFileRecord>());
    return *children.back();
}

CBlockFileRecord* CBlockFileRecord::FindChild(uint32_t wanted) {
    for (auto& child : children) {
        if (child->type == wanted) {
            return child.get();
        }
    }
    return nullptr;
}

const CBlockFileRecord* CBlockFileRecord::FindChild(uint32_t wanted) const {
    for (const auto& child : children) {
        if (child->type == wanted) {
            return child.get();
        }
    }
    return nullptr;
}

CBlockFileRecord& CBlockFileRecord::GetChild(uint32_t wanted) {
    CBlockFileRecord* child = FindChild(wanted);
    if (child == nullptr) {
        RaiseError("Missing record block of type %d (0x%08X)", static_cast<int>(wanted), wanted);
    }
    return *child;
}

CMemBlock& CBlockFileRecord::GetChildData(uint32_t wanted) {
    return GetChild(wanted).data;
}

CMemBlock* CBlockFileRecord::FindChildData(uint32_t wanted, CMemBlock* fallback) {
    CBlockFileRecord* child = FindChild(wanted);
    return child != nullptr ? &child->data : fallback;
}

CBlockFileRecord& CBlockFileRecord::GetOrAddChild(uint32_t wanted) {
    CBlockFileRecord* child = FindChild(wanted);
    if (child != nullptr) {
        return *child;
    }
    CBlockFileRecord& added = AddChild();
    added.type = wanted;
    return added;
}

void CBlockFileRecord::SetChildData(uint32_t wanted, const CMemBlock& source) {
    GetOrAddChild(wanted).data.CopyFrom(source.data, source.size);
}

bool WriteSizedBlock(IStore& store, const CMemBlock& block) {
    if (!WriteU32(store, block.size)) {
        return false;
    }
    return block.size == 0 || store.Write(block.data, block.size);
}

bool ReadSizedBlock(IStore& store, CMemBlock& block) {
    uint32_t size = 0;
    if (!ReadU32(store, size)) {
        return false;
    }
    if (size == 0) {
        block.Allocate(0);
        return true;
    }
    const uint64_t left = store.BytesLeft();
    if (left != IStore::kUnknownLength) {
        // A damaged length larger than the stream is a short read, not an allocation.
        if (size > left) {
            block.Allocate(0);
            return false;
        }
        block.Allocate(size);
        if (!store.Read(block.data, size)) {
            block.Allocate(0);
            return false;
        }
        return true;
    }
    // Unknown length: grow geometrically with the bytes that actually arrive, so a huge
    // stated size on a short stream costs at most about twice what the stream held.
    CMemBlock filling;
    uint32_t filled = 0;
    while (filled < size) {
        const uint32_t target = static_cast<uint32_t>(
            std::min<uint64_t>(size, std::max<uint64_t>(kReadChunk, 2ull * filled)));
        filling.Resize(target);
        if (!store.Read(filling.data + filled, target - filled)) {
            block.Allocate(0);
            return false;
        }
        filled = target;
    }
    block.MoveFrom(filling);
    return true;
}

bool ReadString(IStore& store, std::string& text) {
    CMemBlock scratch;
    if (!ReadSizedBlock(store, scratch)) {
        return false;
    }
    if (scratch.size == 0) {
        text.clear();
    } else {
        text.assign(reinterpret_cast<const char*>(scratch.data), scratch.size);
    }
    return true;
}

bool WriteString(IStore& store, const std::string& text) {
    if (text.size() > UINT32_MAX) {
        return false;
    }
    const auto length = static_cast<uint32_t>(text.size());
    return WriteU32(store, length) && (length == 0 || store.Write(text.data(), length));
}

} // namespace kx
