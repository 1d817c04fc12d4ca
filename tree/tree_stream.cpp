// The tree's stream: a header, a count of top-level nodes, then node chunks. Each node chunk
// holds sub-chunks: the base chunk (the node's fields, then its children's node chunks), the
// user data chunk of OnSaveNode, the string tree's caption chunk, and any other the reader skips.
//
// Streams come from files, the clipboard and drops, so nothing in them is trusted: every size is
// checked against the chunk that holds it before anything is read by it, nesting is limited, and
// the fields taken from a base chunk are cut to what a node can carry; counts and heights are
// worked out from the nodes actually read.

#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/files/atomic_file.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

constexpr std::uint16_t kHeaderWords[6] = {0x2045, 0x0056, 0x0054, 0x0002, 0x0020, 0x2046};
constexpr int kStreamVersion = 2;
constexpr std::int32_t kNodeChunk = 1;
constexpr std::int32_t kBaseChunk = 2;
constexpr std::int32_t kUserChunk = 4;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kBaseDataSize = 17;  // version 2
constexpr std::size_t kOldBaseDataSize = 12;
// Deeper trees are not written, and deeper nesting in a stream is taken as damage: reading and
// writing go down one call per level.
constexpr unsigned kMaxStreamDepth = 4096;
// The states a stream brings in; the others only mean something while the program runs, and
// nsAllChildrenHidden follows from the children read.
constexpr std::uint16_t kLoadedStates =
    nsInitialized | nsDisabled | nsExpanded | nsHasChildren | nsVisible | nsSelected | nsMultiline;

std::uint32_t GetU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

// Writes `count` bytes; answers where they start. A memory stream takes them by pointer.
std::int64_t Put(TStream& stream, TMemoryStream* memory, const std::uint8_t* bytes,
                 std::size_t count) {
    if (memory) {
        const std::size_t start = memory->Cursor();
        std::memcpy(memory->Extend(count), bytes, count);
        return std::int64_t(start);
    }
    const std::int64_t start = stream.Position();
    stream.WriteBuffer(bytes, count);
    return start;
}

// Starts a chunk whose size is patched in once its data are written; answers where it starts.
std::int64_t BeginChunk(TStream& stream, TMemoryStream* memory, std::int32_t type) {
    std::uint8_t b[kChunkHeaderSize] = {};
    PutU32(b, std::uint32_t(type));
    return Put(stream, memory, b, sizeof b);
}

std::int64_t Here(TStream& stream, TMemoryStream* memory) {
    return memory ? std::int64_t(memory->Cursor()) : stream.Position();
}

struct ChunkHeader {
    std::int32_t type, size;
};

ChunkHeader ReadChunkHeader(TStream& stream) {
    std::uint8_t b[kChunkHeaderSize];
    stream.ReadBuffer(b, sizeof b);
    return {std::int32_t(GetU32(b)), std::int32_t(GetU32(b + 4))};
}

// Writes the size of the chunk whose header starts at `start`: up to the position.
void PatchChunkSize(TStream& stream, TMemoryStream* memory, std::int64_t start) {
    const std::int64_t end = Here(stream, memory);
    const std::int64_t size = end - start - std::int64_t(kChunkHeaderSize);
    if (size > std::numeric_limits<std::int32_t>::max())
        throw EWriteError("A node's data do not fit into one chunk of a tree stream.");
    std::uint8_t b[4];
    PutU32(b, std::uint32_t(size));
    if (memory) {
        memory->Overwrite(std::size_t(start) + 4, b, 4);
        return;
    }
    stream.SetPosition(start + 4);
    stream.WriteBuffer(b, 4);
    stream.SetPosition(end);
}

[[noreturn]] void Corrupt() {
    RaiseVirtualTreeError(hcTFCorruptStreamData);
}

// Counts one more level of nesting for the call it lives in.
class StreamDepth {
public:
    StreamDepth(unsigned& depth, bool writing) : depth_(depth) {
        if (depth_ >= kMaxStreamDepth) {
            if (writing) throw EWriteError("The tree is nested too deeply to be saved.");
            Corrupt();
        }
        ++depth_;
    }
    ~StreamDepth() { --depth_; }
    StreamDepth(const StreamDepth&) = delete;
    StreamDepth& operator=(const StreamDepth&) = delete;

private:
    unsigned& depth_;
};

// Sets where the chunk being read ends for the call it lives in.
class ReadLimit {
public:
    ReadLimit(std::int64_t& limit, std::int64_t value) : limit_(limit), old_(limit) {
        limit_ = value;
    }
    ~ReadLimit() { limit_ = old_; }
    ReadLimit(const ReadLimit&) = delete;
    ReadLimit& operator=(const ReadLimit&) = delete;

private:
    std::int64_t& limit_;
    std::int64_t old_;
};

// The bytes of one user data chunk: the handler reads them and nothing beyond, and writes none.
class ChunkView : public TStream {
public:
    ChunkView(TStream& stream, std::int64_t start, std::int64_t size)
        : stream_(stream), start_(start), size_(size) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        const std::int64_t left = size_ - position_;
        if (left <= 0) return 0;
        stream_.SetPosition(start_ + position_);
        const std::size_t n =
            stream_.Read(buffer, std::size_t(std::min<std::int64_t>(left, std::int64_t(count))));
        position_ += std::int64_t(n);
        return n;
    }
    std::size_t Write(const void*, std::size_t) override {
        throw EStreamError("A node's stored data cannot be written to while they are read.");
    }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
        const std::int64_t base = origin == soBeginning ? 0
                                  : origin == soCurrent ? position_
                                                        : size_;
        position_ = std::clamp<std::int64_t>(
            base + std::clamp<std::int64_t>(offset, -size_ - 1, size_ + 1), 0, size_);
        return position_;
    }
    std::int64_t Size() override { return size_; }

private:
    TStream& stream_;
    std::int64_t start_, size_, position_ = 0;
};

}  // namespace

// ---- Writing ---------------------------------------------------------------------------------

void TBaseVirtualTree::SaveToStream(TStream& stream, PVirtualNode node) {
    if (!stream.AsMemoryStream()) {
        // Any other stream gets the bytes in one piece, put together in memory.
        TMemoryStream buffer;
        SaveToStream(buffer, node);
        stream.WriteBuffer(buffer.Memory(), buffer.Length());
        return;
    }
    std::uint8_t header[16];
    for (int i = 0; i < 6; ++i) {
        header[2 * i] = std::uint8_t(kHeaderWords[i] & 0xFF);
        header[2 * i + 1] = std::uint8_t(kHeaderWords[i] >> 8);
    }
    if (node == root_) node = nullptr;
    PutU32(header + 12, node ? 1 : root_->ChildCount);
    stream.WriteBuffer(header, sizeof header);
    if (node) {
        WriteNode(stream, node);
        return;
    }
    for (PVirtualNode n = root_->FirstChild; n; n = n->NextSibling) WriteNode(stream, n);
}

void TBaseVirtualTree::WriteNode(TStream& stream, PVirtualNode node) {
    const StreamDepth depth(streamDepth_, true);
    if (TreeOptions().MiscOptions().Contains(toInitOnSave)) {
        InitIfNeeded(node);
        MakeChildrenIfNeeded(node);
    }
    TMemoryStream* memory = stream.AsMemoryStream();
    const std::int64_t start = BeginChunk(stream, memory, kNodeChunk);
    WriteChunks(stream, node);
    PatchChunkSize(stream, memory, start);
}

void TBaseVirtualTree::WriteChunks(TStream& stream, PVirtualNode node) {
    TMemoryStream* memory = stream.AsMemoryStream();
    // Only an initialised node's children are written, so only they are counted: a stream that
    // announced children it lacks could not be read back.
    const bool withChildren = node->Has(nsInitialized);
    std::uint8_t chunk[kChunkHeaderSize + kBaseDataSize] = {};
    PutU32(chunk, std::uint32_t(kBaseChunk));
    std::uint8_t* data = chunk + kChunkHeaderSize;
    PutU32(data, withChildren ? node->ChildCount : 0);
    PutU32(data + 4, node->NodeHeight);
    const std::uint16_t states = node->LoadStates() & kStreamedNodeStates;
    data[8] = std::uint8_t(states & 0xFF);
    data[9] = std::uint8_t(states >> 8);
    data[10] = node->Align;
    data[11] = std::uint8_t(node->CheckState);
    data[12] = std::uint8_t(node->CheckType);
    const std::int64_t base = Put(stream, memory, chunk, sizeof chunk);
    if (withChildren)
        for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) WriteNode(stream, c);
    PatchChunkSize(stream, memory, base);

    const std::int64_t user = BeginChunk(stream, memory, kUserChunk);
    DoSaveUserData(node, stream);
    if (Here(stream, memory) == user + std::int64_t(kChunkHeaderSize)) {
        // Nothing was written: no empty user data chunk stays.
        stream.SetPosition(user);
        stream.SetSize(user);
    } else {
        PatchChunkSize(stream, memory, user);
    }
}

void TBaseVirtualTree::SaveToFile(const std::string& fileName) {
    TMemoryStream stream;
    SaveToStream(stream);
    AtomicFileWriter file(fileName);
    file.Write(stream.Memory(), std::size_t(stream.Size()));
    file.Commit();
}

void TBaseVirtualTree::DoSaveUserData(PVirtualNode node, TStream& stream) {
    if (OnSaveNode) OnSaveNode(this, node, stream);
}

// ---- Reading ---------------------------------------------------------------------------------

int TBaseVirtualTree::ReadStreamHeader(TStream& stream) {
    std::uint8_t b[12];
    if (stream.Read(b, sizeof b) != sizeof b) RaiseVirtualTreeError(hcTFStreamTooSmall);
    auto word = [&b](int i) { return std::uint16_t(b[2 * i] | b[2 * i + 1] << 8); };
    for (int i : {0, 1, 2, 5})
        if (word(i) != kHeaderWords[i]) RaiseVirtualTreeError(hcTFWrongStreamFormat);
    if (word(3) > kStreamVersion) RaiseVirtualTreeError(hcTFWrongStreamVersion);
    return word(3);
}

void TBaseVirtualTree::LoadFromStream(TStream& stream) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    // A stream of another kind leaves the tree as it is.
    const int version = ReadStreamHeader(stream);
    Clear();
    ReadStreamNodes(stream, version, root_);
}

void TBaseVirtualTree::AddFromStream(TStream& stream, PVirtualNode targetNode) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    const int version = ReadStreamHeader(stream);
    PVirtualNode target = targetNode ? targetNode : root_;
    InitIfNeeded(target);
    ReadStreamNodes(stream, version, target);
}

void TBaseVirtualTree::ReadStreamNodes(TStream& stream, int version, PVirtualNode parent) {
    BeginUpdate();
    try {
        // Version 1 has no count: its nodes run to the stream's end.
        std::int64_t count = std::numeric_limits<std::int32_t>::max();
        if (version >= 2) {
            std::uint8_t b[4];
            stream.ReadBuffer(b, 4);
            count = std::int32_t(GetU32(b));
        }
        ReadTopLevelNodes(stream, version, parent, count);
        DoNodeCopied(nullptr);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseVirtualTree::LoadFromFile(const std::string& fileName) {
    TFileReadStream stream(fileName);
    LoadFromStream(stream);
}

void TBaseVirtualTree::ReadTopLevelNodes(TStream& stream, int version, PVirtualNode parent,
                                         std::int64_t count) {
    InterruptValidation();
    const std::int64_t size = stream.Size();
    const ReadLimit limit(readLimit_, size);
    bool added = false;
    try {
        while (count > 0 && stream.Position() < size) {
            --count;
            PVirtualNode node = MakeNewNode();
            InternalConnectNode(node, parent, amAddChildLast);
            added = true;
            ReadNewNode(stream, version, node);
        }
    } catch (...) {
        FinishReading(parent, added);
        throw;
    }
    FinishReading(parent, added);
}

void TBaseVirtualTree::FinishReading(PVirtualNode parent, bool added) {
    UpdateAllChildrenHidden(parent);
    InvalidateCache();
    if (added) StructureChange(parent == root_ ? nullptr : parent, crChildAdded);
}

void TBaseVirtualTree::ReadNewNode(TStream& stream, int version, PVirtualNode node) {
    try {
        ReadNode(stream, version, node);
    } catch (...) {
        AdoptSelected(node);
        throw;
    }
    AdoptSelected(node);
}

void TBaseVirtualTree::ReadNode(TStream& stream, int version, PVirtualNode node) {
    TreeAssert(node != nullptr && node != root_, "Node must not be nil.");
    const StreamDepth depth(streamDepth_, false);
    const std::int64_t limit = readLimit_ < 0 ? stream.Size() : readLimit_;
    if (limit - stream.Position() < std::int64_t(kChunkHeaderSize)) Corrupt();
    const ChunkHeader header = ReadChunkHeader(stream);
    if (header.type != kNodeChunk) RaiseVirtualTreeError(hcTFCorruptStreamFormat);
    std::int64_t position = stream.Position();
    if (header.size < 0 || header.size > limit - position) Corrupt();
    const std::int64_t end = position + header.size;
    const ReadLimit nodeLimit(readLimit_, end);
    while (position < end) {
        if (end - position < std::int64_t(kChunkHeaderSize)) Corrupt();
        const ChunkHeader chunk = ReadChunkHeader(stream);
        position += std::int64_t(kChunkHeaderSize);
        if (chunk.size < 0 || chunk.size > end - position) Corrupt();
        {
            const ReadLimit chunkLimit(readLimit_, position + chunk.size);
            ReadChunk(stream, version, node, chunk.type, chunk.size);
        }
        position = stream.Position();
        if (position > end) Corrupt();
    }
    if (position != end) Corrupt();
}

bool TBaseVirtualTree::ReadChunk(TStream& stream, int version, PVirtualNode node, int chunkType,
                                 int chunkSize) {
    const std::int64_t start = stream.Position();
    switch (chunkType) {
        case kBaseChunk: {
            const std::size_t need = version >= 2 ? kBaseDataSize : kOldBaseDataSize;
            if (chunkSize < 0 || std::size_t(chunkSize) < need) Corrupt();
            std::uint8_t d[kBaseDataSize];
            stream.ReadBuffer(d, need);
            std::uint32_t childCount = GetU32(d);
            const std::uint32_t height = GetU32(d + 4);
            std::uint16_t states;
            std::size_t at = 8;
            if (version >= 2) {
                states = std::uint16_t(d[8] | d[9] << 8);
                at = 10;
            } else {
                // One byte of states: bit 7 stood for selected, visibility was implied.
                states = d[8] & 0x80 ? std::uint16_t((d[8] & 0x7F) | nsSelected)
                                     : std::uint16_t(d[8] | nsVisible);
                at = 9;
            }
            ApplyStreamedFields(node, states, height, d[at], d[at + 1], d[at + 2]);
            // The children come inside the base chunk.
            const ReadLimit children(readLimit_, start + chunkSize);
            try {
                for (; childCount > 0; --childCount) {
                    if (root_->TotalCount == std::numeric_limits<std::uint32_t>::max())
                        throw std::length_error("Too many nodes.");
                    PVirtualNode child = MakeNewNode();
                    InternalConnectNode(child, node, amAddChildLast);
                    ReadNode(stream, version, child);
                }
            } catch (...) {
                UpdateAllChildrenHidden(node);
                throw;
            }
            UpdateAllChildrenHidden(node);
            return true;
        }
        case kUserChunk:
            if (chunkSize >= 1) {
                ChunkView data(stream, start, chunkSize);
                DoLoadUserData(node, data);
                stream.SetPosition(start + chunkSize);
            }
            return true;
        default:
            stream.SetPosition(start + chunkSize);
            return false;
    }
}

void TBaseVirtualTree::SkipNode(TStream& stream) {
    const ChunkHeader header = ReadChunkHeader(stream);
    if (header.type != kNodeChunk) RaiseVirtualTreeError(hcTFCorruptStreamFormat);
    const std::int64_t position = stream.Position();
    const std::int64_t limit = readLimit_ < 0 ? stream.Size() : readLimit_;
    if (header.size < 0 || header.size > limit - position) Corrupt();
    stream.SetPosition(position + header.size);
}

void TBaseVirtualTree::DoLoadUserData(PVirtualNode node, TStream& stream) {
    if (OnLoadNode) OnLoadNode(this, node, stream);
}

void TBaseVirtualTree::CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from,
                                    PVirtualNode to) {
    TMemoryStream data;
    const_cast<TBaseVirtualTree&>(source).DoSaveUserData(from, data);
    if (data.Size() == 0) return;
    TReadOnlyMemoryStream written(data.Memory(), std::size_t(data.Size()));
    DoLoadUserData(to, written);
}

void TBaseVirtualTree::ApplyStreamedFields(PVirtualNode node, std::uint16_t states,
                                           std::uint32_t height, std::uint8_t align,
                                           std::uint8_t checkState, std::uint8_t checkType) {
    PVirtualNode parent = node->Parent;
    const bool parentShows = parent == root_ || parent->Has(nsExpanded);
    // Take the node out of its parent's height and the shown rows, set it, and put it back.
    if (node->Has(nsVisible) && parentShows)
        AdjustTotalHeight(parent, -std::int64_t(node->TotalHeight), true);
    if (FullyVisible(node)) ChangeVisibleCount(-std::int64_t(1 + CountVisibleDescendants(node)));
    const std::uint16_t kept = node->LoadStates() & ~kLoadedStates & ~nsAllChildrenHidden;
    // Children read before (from an earlier base chunk of the same node) stay children.
    const std::uint16_t present = node->ChildCount > 0 ? std::uint16_t(nsHasChildren) : 0;
    node->StoreStates(std::uint16_t(kept | (states & kLoadedStates) | present));
    if (node->Has(nsExpanded)) MarkExpandedAbove(node);
    node->NodeHeight = std::uint16_t(std::min<std::uint32_t>(height, 0xFFFF));
    node->Align = align;
    node->CheckState =
        checkState <= std::uint8_t(chkMixedPressed) ? TCheckState(checkState) : chkUnchecked;
    node->CheckType = checkType <= std::uint8_t(ctRadioButton) ? TCheckType(checkType) : ctNone;
    std::int64_t total = node->NodeHeight;
    if (node->Has(nsExpanded))
        for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling)
            if (c->Has(nsVisible)) total += c->TotalHeight;
    node->TotalHeight = std::uint32_t(std::min<std::int64_t>(total, kMaxTotalHeight));
    if (node->Has(nsVisible) && parentShows) AdjustTotalHeight(parent, node->TotalHeight, true);
    if (FullyVisible(node)) ChangeVisibleCount(1 + CountVisibleDescendants(node));
}

}  // namespace rv
