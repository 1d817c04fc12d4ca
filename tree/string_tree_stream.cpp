// The string tree's caption chunk: the main column's text of a node as UTF-16 code units.

#include "platform/text/utf16.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

constexpr int kCaptionChunk = 3;

}  // namespace

void TCustomVirtualStringTree::WriteChunks(TStream& stream, PVirtualNode node) {
    TBaseVirtualTree::WriteChunks(stream, node);
    if (!TreeOptions().StringOptions().Contains(toSaveCaptions) || node == RootNode() ||
        !node->Has(nsInitialized))
        return;
    const std::u16string text = Utf8ToUtf16(GetText(node, Header().MainColumn()));
    if (text.empty()) return;
    // Header and text in one piece, little-endian whatever the machine.
    const std::size_t bytes = 8 + 2 * text.size();
    std::string scratch;
    std::uint8_t* chunk;
    if (TMemoryStream* memory = stream.AsMemoryStream()) {
        chunk = memory->Extend(bytes);
    } else {
        scratch.resize(bytes);
        chunk = reinterpret_cast<std::uint8_t*>(scratch.data());
    }
    const auto put = [chunk](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) chunk[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    put(0, kCaptionChunk);
    put(4, std::uint32_t(2 * text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        chunk[8 + 2 * i] = std::uint8_t(text[i] & 0xFF);
        chunk[9 + 2 * i] = std::uint8_t(text[i] >> 8);
    }
    if (!scratch.empty()) stream.WriteBuffer(scratch.data(), scratch.size());
}

void TCustomVirtualStringTree::CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from,
                                            PVirtualNode to) {
    TBaseVirtualTree::CopyNodeData(source, from, to);
    auto* text = dynamic_cast<TCustomVirtualStringTree*>(const_cast<TBaseVirtualTree*>(&source));
    if (!text || !text->TreeOptions().StringOptions().Contains(toSaveCaptions) ||
        !from->Has(nsInitialized))
        return;
    const std::string caption = text->GetText(from, text->Header().MainColumn());
    if (!caption.empty()) SetText(to, Header().MainColumn(), caption);
}

bool TCustomVirtualStringTree::ReadChunk(TStream& stream, int version, PVirtualNode node,
                                         int chunkType, int chunkSize) {
    if (chunkType != kCaptionChunk || chunkSize < 0)
        return TBaseVirtualTree::ReadChunk(stream, version, node, chunkType, chunkSize);
    std::string bytes(std::size_t(chunkSize), '\0');
    stream.ReadBuffer(bytes.data(), bytes.size());
    // An odd byte at the end is no character.
    std::u16string text(std::size_t(chunkSize) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8);
    SetText(node, Header().MainColumn(), Utf16ToUtf8(text));
    return true;
}

}  // namespace rv
