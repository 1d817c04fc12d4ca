// Damaged tree streams: byte flips, cuts, sizes of -1 and 0x7FFFFFFF, odd caption sizes and deep
// nesting, loaded as files and as dropped payloads. Each one loads or raises the stream's errors,
// and leaves a sound tree; the sanitizers see that nothing crashes or leaks.

#include <filesystem>
#include <random>

#include "platform/text/format.h"
#include "platform/transfer/tests/test_data_object.h"
#include "testsupport/test_files.h"
#include "tree/tests/stream_bytes.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

class MutationTree : public IdTree {
public:
    MutationTree() {
        MultiSelect();
        OnGetText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex, TVSTTextType,
                           std::string& text) { text = Format("n%d", Id(n)); };
        CarryIds(*this);
    }
};

// Streams of trees of a few shapes, written by the tree itself.
std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    std::mt19937 random(7);
    for (int shape = 0; shape < 6; ++shape) {
        MutationTree tree;
        std::vector<PVirtualNode> nodes{nullptr};
        for (int i = 0; i < 5 + shape * 4; ++i) {
            PVirtualNode parent = nodes[random() % nodes.size()];
            nodes.push_back(tree.Add(parent, i));
        }
        for (PVirtualNode n : nodes)
            if (n && random() % 3 == 0) tree.SetExpanded(n, true);
        tree.SetSelected(nodes[1], true);
        tree.SetCheckType(nodes[2], ctTriStateCheckBox);
        tree.SetIsVisible(nodes[3], shape % 2 == 0);
        TMemoryStream s;
        tree.SaveToStream(s);
        seeds.push_back(s.Bytes());
    }
    // Version 1, no count; and a deep chain.
    std::string old;
    for (int i = 0; i < 3; ++i)
        old += Chunk(1, Chunk(2, U32(0) + U32(18) + char(i) + char(50) + char(0) + char(1)));
    seeds.push_back(StreamHeader(1) + old);
    std::string node = Node(BaseData(0, 18, 0x81));
    for (int i = 0; i < 300; ++i) node = Node(BaseData(1, 18, 0xE1), node, Caption("d"));
    seeds.push_back(StreamHeader() + U32(1) + node);
    return seeds;
}

// Where the chunk headers of a well-formed stream are, found by walking its chunks.
void ChunkHeaders(const std::string& s, std::size_t start, std::size_t end,
                  std::vector<std::size_t>& at) {
    std::size_t p = start;
    while (p + 8 <= end) {
        at.push_back(p);
        const std::uint32_t type = std::uint8_t(s[p]);
        std::uint32_t size = 0;
        for (int i = 3; i >= 0; --i) size = size << 8 | std::uint8_t(s[p + 4 + std::size_t(i)]);
        if (p + 8 + size > end) return;
        if (type == 1) ChunkHeaders(s, p + 8, p + 8 + size, at);
        if (type == 2 && size >= 17) ChunkHeaders(s, p + 8 + 17, p + 8 + size, at);
        p += 8 + size;
    }
}

std::string Mutate(const std::string& seed, std::mt19937& random) {
    std::string s = seed;
    std::vector<std::size_t> headers;
    const bool old = s.size() > 6 && s[6] == 1;
    ChunkHeaders(s, old ? 12 : 16, s.size(), headers);
    auto setSize = [&](std::uint32_t value) {
        if (headers.empty()) return;
        const std::size_t at = headers[random() % headers.size()] + 4;
        for (int i = 0; i < 4; ++i) s[at + std::size_t(i)] = char(value >> (8 * i));
    };
    const int kinds = 1 + int(random() % 3);
    for (int k = 0; k < kinds; ++k) {
        switch (random() % 7) {
            case 0:
            case 1:  // a byte flipped
                if (!s.empty()) s[random() % s.size()] ^= char(1 << (random() % 8));
                break;
            case 2:  // a byte anywhere
                if (!s.empty()) s[random() % s.size()] = char(random());
                break;
            case 3:  // cut
                s.resize(random() % (s.size() + 1));
                break;
            case 4:
                setSize(random() % 2 ? 0xFFFFFFFFu : 0x7FFFFFFFu);
                break;
            case 5: {  // a caption of odd size, or any size off by a little
                const std::uint32_t delta = 1 + random() % 3;
                if (headers.empty()) break;
                const std::size_t at = headers[random() % headers.size()] + 4;
                s[at] = char(std::uint8_t(s[at]) + delta);
                break;
            }
            default:  // a type changed
                if (!headers.empty()) s[headers[random() % headers.size()]] = char(random() % 6);
                break;
        }
    }
    return s;
}

std::shared_ptr<BytesDataObject> Payload(const std::string& stream) {
    // The payload is the stream without header and count, behind its byte count.
    auto data = std::make_shared<BytesDataObject>();
    const std::string chunks = stream.size() > 16 ? stream.substr(16) : "";
    data->bytes[CF_VIRTUALTREE()] = U32(std::uint32_t(chunks.size())) + chunks;
    return data;
}

TEST(TreeStreamMutations, TwentyThousandDamagedStreamsLoadOrRaise) {
    const std::vector<std::string> seeds = Seeds();
    std::mt19937 random(2024);
    MutationTree tree;
    int loaded = 0, refused = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string bytes = Mutate(seeds[std::size_t(i) % seeds.size()], random);
        try {
            if (i % 4 == 3) {
                tree.Clear();
                tree.ProcessOLEData(nullptr, Payload(bytes), nullptr, amAddChildLast, false);
            } else {
                TReadOnlyMemoryStream s(bytes.data(), bytes.size());
                tree.LoadFromStream(s);
            }
            ++loaded;
        } catch (const EVirtualTreeError& e) {
            ASSERT_GE(e.HelpContext, 2002) << i;
            ASSERT_LE(e.HelpContext, 2006) << i;
            ++refused;
        } catch (const EReadError&) {
            ++refused;
        }
        ASSERT_EQ(tree.UpdateCount(), 0u) << i;
        ASSERT_TREE_OK(tree) << i;
        // Whatever was read is written again whole.
        TMemoryStream again;
        tree.SaveToStream(again);
    }
    // Both kinds of outcome were seen in numbers.
    EXPECT_GT(loaded, 1000);
    EXPECT_GT(refused, 1000);
}

// The inputs that once broke the stream's fuzz target, each as a file and as a payload.
TEST(TreeStreamMutations, TreeStreamFuzzRegression) {
    const std::filesystem::path folder = TestDataPath("tree/stream_fuzz");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = ReadFileBytes(entry.path().string());
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        for (const bool dropped : {false, true}) {
            MutationTree tree;
            try {
                if (dropped) {
                    tree.ProcessOLEData(nullptr, Payload(bytes), nullptr, amAddChildLast, false);
                } else {
                    TReadOnlyMemoryStream s(bytes.data(), bytes.size());
                    tree.LoadFromStream(s);
                }
            } catch (const EVirtualTreeError& e) {
                EXPECT_GE(e.HelpContext, 2002);
                EXPECT_LE(e.HelpContext, 2006);
            } catch (const EReadError&) {
            }
            EXPECT_EQ(tree.UpdateCount(), 0u);
            EXPECT_TREE_OK(tree);
        }
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace rv::test
