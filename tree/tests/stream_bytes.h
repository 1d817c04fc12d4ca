#pragma once
// Tree streams built byte by byte from the format's definition, independent of the tree's own
// writer: the header, chunks and the fields of a base chunk.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/files/streams.h"
#include "tree/base_tree.h"

namespace rv::test {

inline std::string U16(std::uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}
inline std::string U32(std::uint32_t v) {
    return U16(std::uint16_t(v & 0xFFFF)) + U16(std::uint16_t(v >> 16));
}
// The stream header of a version; from version 2 on followed by the count of top-level nodes.
inline std::string StreamHeader(std::uint16_t version = 2) {
    return U16(0x2045) + U16(0x0056) + U16(0x0054) + U16(version) + U16(0x0020) + U16(0x2046);
}
inline std::string Chunk(std::int32_t type, const std::string& data) {
    return U32(std::uint32_t(type)) + U32(std::uint32_t(data.size())) + data;
}
inline std::string Concat(std::initializer_list<std::string> parts) {
    std::string s;
    for (const std::string& p : parts) s += p;
    return s;
}
// The 17 data bytes of a version 2 base chunk.
inline std::string BaseData(std::uint32_t childCount, std::uint32_t height, std::uint16_t states,
                            std::uint8_t align = 50, std::uint8_t checkState = 0,
                            std::uint8_t checkType = 0) {
    return U32(childCount) + U32(height) + U16(states) + char(align) + char(checkState) +
           char(checkType) + U32(0);
}
// A node chunk: its base chunk with the children's node chunks, then further sub-chunks.
inline std::string Node(const std::string& baseData, const std::string& children = "",
                        const std::string& more = "") {
    return Chunk(1, Chunk(2, baseData + children) + more);
}
// A caption chunk of ASCII text.
inline std::string Caption(const std::string& text) {
    std::string units;
    for (char c : text) units += U16(std::uint8_t(c));
    return Chunk(3, units);
}

// Ids go with the nodes through the stream (as the sender's node data, so that the handlers
// work also while a tree goes).
inline void CarryIds(TBaseVirtualTree& tree) {
    tree.OnSaveNode = [](TBaseVirtualTree* sender, PVirtualNode n, TStream& s) {
        s.WriteBuffer(sender->GetNodeData(n), sizeof(int));
    };
    tree.OnLoadNode = [](TBaseVirtualTree* sender, PVirtualNode n, TStream& s) {
        s.ReadBuffer(sender->GetNodeData(n), sizeof(int));
    };
}

inline std::string StreamText(TMemoryStream& stream) {
    return stream.Bytes();
}

}  // namespace rv::test
