// The tree stream: its bytes for a small tree, round trips, older versions, every error of the
// format and the damage a stream from outside may carry.

#include <cstdio>

#include "platform/files/atomic_file.h"
#include "tree/tests/stream_bytes.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// Texts "A", "A1", "B"… from the ids; ids travel as user data; captions read back are noted.
class StreamTree : public IdTree {
public:
    StreamTree() {
        OnGetText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex, TVSTTextType,
                           std::string& text) { text = Texts.count(Id(n)) ? Texts[Id(n)] : ""; };
        OnNewText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex,
                           const std::string& text) {
            Captions.push_back({n, text});
        };
    }
    void CarryIds() { test::CarryIds(*this); }
    std::map<int, std::string> Texts;
    std::vector<std::pair<PVirtualNode, std::string>> Captions;
};

std::string Saved(TBaseVirtualTree& tree, PVirtualNode node = nullptr) {
    TMemoryStream s;
    tree.SaveToStream(s, node);
    return s.Bytes();
}

void Load(TBaseVirtualTree& tree, const std::string& bytes) {
    TReadOnlyMemoryStream s(bytes.data(), bytes.size());
    tree.LoadFromStream(s);
}

int ErrorOf(TBaseVirtualTree& tree, const std::string& bytes) {
    try {
        Load(tree, bytes);
    } catch (const EVirtualTreeError& e) {
        return e.HelpContext;
    } catch (const EReadError&) {
        return -1;
    }
    return 0;
}

TEST(TreeStream, ASmallTreeIsWrittenAsTheFormatSays) {
    StreamTree tree;
    tree.Texts = {{1, "A"}, {2, "A1"}, {3, "B"}};
    PVirtualNode a = tree.Add(nullptr, 1);
    tree.Add(a, 2);
    tree.Add(nullptr, 3);
    // Initialised, visible; A also has children.
    const std::string a1 = Node(BaseData(0, 18, 0x81), "", Caption("A1"));
    const std::string expected =
        Concat({StreamHeader(), U32(2), Node(BaseData(1, 18, 0xC1), a1, Caption("A")),
                Node(BaseData(0, 18, 0x81), "", Caption("B"))});
    EXPECT_EQ(Saved(tree), expected);
    // The header's bytes as the format lists them.
    EXPECT_EQ(expected.substr(0, 12),
              std::string("\x45\x20\x56\x00\x54\x00\x02\x00\x20\x00\x46\x20", 12));
    // One node with its subtree: a count of 1.
    EXPECT_EQ(Saved(tree, a),
              Concat({StreamHeader(), U32(1), Node(BaseData(1, 18, 0xC1), a1, Caption("A"))}));
    // A node whose handler writes nothing has no user data chunk; an empty text no caption.
    tree.Texts.clear();
    EXPECT_EQ(Saved(tree, a->FirstChild),
              Concat({StreamHeader(), U32(1), Node(BaseData(0, 18, 0x81))}));

    // An empty tree: the header and a count of 0; loading it fires OnNodeCopied with nil once.
    StreamTree empty;
    EXPECT_EQ(Saved(empty), StreamHeader() + U32(0));
    std::vector<PVirtualNode> copied;
    tree.OnNodeCopied = [&](TBaseVirtualTree*, PVirtualNode n) { copied.push_back(n); };
    Load(tree, Saved(empty));
    EXPECT_EQ(tree.TotalCount(), 0u);
    EXPECT_EQ(copied, std::vector<PVirtualNode>{nullptr});
}

// The bytes go after what a memory stream holds already, and a stream of any other kind gets the
// same bytes in one write.
TEST(TreeStream, AnyStreamGetsTheSameBytesAfterWhatItHolds) {
    StreamTree tree;
    tree.CarryIds();
    tree.Texts = {{1, "A"}, {3, "B"}};
    PVirtualNode a = tree.Add(nullptr, 1);
    tree.Add(a, 2);
    tree.Add(nullptr, 3);
    const std::string alone = Saved(tree);
    ASSERT_EQ(alone.substr(0, 16), StreamHeader() + U32(2));

    TMemoryStream memory;
    memory.WriteBuffer("prefix", 6);
    tree.SaveToStream(memory);
    EXPECT_EQ(memory.Bytes(), "prefix" + alone);

    class Recorder : public TStream {
    public:
        std::size_t Read(void*, std::size_t) override { return 0; }
        std::size_t Write(const void* buffer, std::size_t count) override {
            bytes.append(static_cast<const char*>(buffer), count);
            ++writes;
            return count;
        }
        std::int64_t Seek(std::int64_t, TSeekOrigin) override { return std::int64_t(bytes.size()); }
        std::string bytes;
        int writes = 0;
    } recorder;
    tree.SaveToStream(recorder);
    EXPECT_EQ(recorder.bytes, alone);
    EXPECT_EQ(recorder.writes, 1);
}

TEST(TreeStream, RoundTripsKeepStructureStatesDataAndCaptions) {
    StreamTree tree;
    tree.MultiSelect();
    tree.CarryIds();
    tree.Texts = {{1, "one"}, {2, "two \xc3\xa9"}, {3, "three"}, {4, "four"}};
    PVirtualNode one = tree.Add(nullptr, 1), two = tree.Add(one, 2), three = tree.Add(one, 3);
    PVirtualNode four = tree.Add(nullptr, 4);
    tree.Add(three, 5);
    tree.SetExpanded(one, true);
    tree.SetIsVisible(three, false);
    tree.SetNodeHeight(two, 40);
    tree.SetCheckType(four, ctCheckBox);
    tree.SetCheckState(four, chkChecked);
    tree.SetIsDisabled(three->FirstChild, true);
    tree.SetSelected(two, true);
    tree.SetSelected(four, true);
    const std::string bytes = Saved(tree);

    StreamTree back;
    back.MultiSelect();
    back.CarryIds();
    Load(back, bytes);
    ASSERT_TREE_OK(back);
    EXPECT_EQ(back.Ids(), (std::vector<int>{1, 2, 3, 5, 4}));
    PVirtualNode b1 = back.GetFirstNoInit(), b2 = b1->FirstChild, b3 = b2->NextSibling;
    PVirtualNode b4 = b1->NextSibling;
    EXPECT_TRUE(back.Expanded(b1));
    EXPECT_FALSE(back.IsVisible(b3));
    EXPECT_EQ(b2->NodeHeight, 40);
    EXPECT_TRUE(back.IsDisabled(b3->FirstChild));
    EXPECT_EQ(back.CheckType(b4), ctCheckBox);
    EXPECT_EQ(back.CheckState(b4), chkChecked);
    EXPECT_EQ(back.GetSortedSelection(false), (std::vector<PVirtualNode>{b2, b4}));
    EXPECT_EQ(back.VisibleCount(), tree.VisibleCount());
    EXPECT_EQ(back.RootNode()->TotalHeight, tree.RootNode()->TotalHeight);
    // The captions reach the application through OnNewText (a node's after its children's),
    // with UTF-16 beyond ASCII intact.
    ASSERT_EQ(back.Captions.size(), 4u);
    EXPECT_EQ(back.Captions[0], std::make_pair(b2, std::string("two \xc3\xa9")));
    EXPECT_EQ(back.Captions[2], std::make_pair(b1, std::string("one")));
    // Written again, the same bytes.
    back.Texts = tree.Texts;
    EXPECT_EQ(Saved(back), bytes);

    // Without toMultiSelect the loaded selection is dropped.
    StreamTree single;
    Load(single, bytes);
    EXPECT_EQ(single.SelectionCount(), 0u);
    EXPECT_TREE_OK(single);
}

TEST(TreeStream, OlderVersionsReadTheirBaseChunksAndRunToTheEnd) {
    // Version 1: no count; one byte of states (bit 7: selected, else visible implied) and the
    // check fields right after it.
    auto oldNode = [](std::uint8_t states, const std::string& children, std::uint32_t count) {
        return Chunk(1, Chunk(2, U32(count) + U32(22) + char(states) + char(50) + char(2) +
                                     char(2) + children));
    };
    for (std::uint16_t version : {0, 1}) {
        StreamTree tree;
        tree.MultiSelect();
        const std::string child = oldNode(0x01, "", 0);
        Load(tree, StreamHeader(version) + oldNode(0x01, child, 1) + oldNode(0x81, "", 0));
        ASSERT_EQ(tree.TotalCount(), 3u);
        PVirtualNode first = tree.GetFirstNoInit();
        EXPECT_TRUE(first->Has(nsVisible | nsInitialized));
        EXPECT_EQ(first->NodeHeight, 22);
        EXPECT_EQ(tree.CheckState(first), chkChecked);
        EXPECT_EQ(tree.CheckType(first), ctCheckBox);
        // The second has bit 7: selected, and not visible.
        EXPECT_TRUE(tree.Selected(first->NextSibling));
        EXPECT_FALSE(first->NextSibling->Has(nsVisible));
        EXPECT_TREE_OK(tree);
    }
    // A version 2 stream whose word 4 differs loads as any other.
    StreamTree tree;
    std::string bytes = StreamHeader() + U32(1) + Node(BaseData(0, 18, 0x81));
    bytes[8] = 0x21;
    EXPECT_EQ(ErrorOf(tree, bytes), 0);
    EXPECT_EQ(tree.TotalCount(), 1u);
}

TEST(TreeStream, EachErrorOfTheFormatAndWhatStaysOfTheTree) {
    const std::string good = Node(BaseData(0, 18, 0x81));
    std::string wrongMagic = StreamHeader() + U32(1) + good;
    wrongMagic[10] = 0x47;
    const struct {
        const char* what;
        std::string bytes;
        int error;      // EVirtualTreeError's number, -1 for the stream's read error
        unsigned kept;  // top-level nodes left
        bool cleared;   // whether the tree's old nodes went
    } table[] = {
        {"too short", StreamHeader().substr(0, 11), 2004, 1, false},
        {"wrong magic", wrongMagic, 2002, 1, false},
        {"version 3", StreamHeader(3) + U32(0), 2003, 1, false},
        {"no count", StreamHeader() + U16(1), -1, 0, true},
        {"anchor missing", StreamHeader() + U32(1) + Chunk(2, BaseData(0, 18, 0x81)), 2005, 1,
         true},
        {"one byte short of the end",
         StreamHeader() + U32(1) + Chunk(1, Chunk(2, BaseData(0, 18, 0x81)) + "x"), 2006, 1, true},
        {"negative node size", StreamHeader() + U32(1) + U32(1) + U32(0xFFFFFFFF) + good, 2006, 1,
         true},
        {"node past the data", StreamHeader() + U32(1) + U32(1) + U32(0x7FFFFFFF) + good, 2006, 1,
         true},
        {"sub-chunk past the node", StreamHeader() + U32(1) + Chunk(1, U32(4) + U32(100)), 2006, 1,
         true},
        {"negative sub-chunk", StreamHeader() + U32(1) + Chunk(1, U32(4) + U32(0xFFFFFFFF)), 2006,
         1, true},
        {"short base chunk", StreamHeader() + U32(1) + Chunk(1, Chunk(2, U32(0))), 2006, 1, true},
        {"children missing", StreamHeader() + U32(2) + good + Node(BaseData(5, 18, 0x81)), 2006, 2,
         true},
        {"second node broken", StreamHeader() + U32(2) + good + Chunk(7, ""), 2005, 2, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        StreamTree tree;
        tree.Add(nullptr, 9);
        EXPECT_EQ(ErrorOf(tree, row.bytes), row.error);
        EXPECT_EQ(tree.RootNodeCount(), row.kept);
        if (!row.cleared) {
            EXPECT_EQ(tree.Ids(), std::vector<int>{9});
        }
        EXPECT_EQ(tree.UpdateCount(), 0u);
        EXPECT_TREE_OK(tree);
    }
}

TEST(TreeStream, WhatTheReaderSkipsCutsOrWorksOut) {
    StreamTree tree;
    tree.CarryIds();
    // An unknown chunk is skipped by its size; a handler that reads less than was written leaves
    // the rest, and one that tries to read more gets no more than its chunk.
    int readPast = 0;
    tree.OnLoadNode = [&](TBaseVirtualTree*, PVirtualNode n, TStream& s) {
        int id = 0;
        s.ReadBuffer(&id, 2);
        tree.SetId(n, id);
        char rest[64];
        readPast = int(s.Read(rest, sizeof rest));
    };
    Load(tree, StreamHeader() + U32(1) +
                   Node(BaseData(0, 18, 0x81), "", Chunk(77, "abc") + Chunk(4, U32(7) + "zz")));
    ASSERT_EQ(tree.TotalCount(), 1u);
    EXPECT_EQ(tree.Ids(), std::vector<int>{7});
    EXPECT_EQ(readPast, 4);

    // An odd caption size reads whole characters; states are cut to what a stream may carry;
    // a check state or type out of range is taken as none, a height as the largest.
    tree.Captions.clear();
    Load(tree,
         StreamHeader() + U32(1) +
             Node(BaseData(0, 0x12345, 0xFFFF, 50, 9, 9), "", Chunk(3, std::string("H\0i\0!", 5))));
    PVirtualNode n = tree.GetFirstNoInit();
    ASSERT_EQ(tree.Captions.size(), 1u);
    EXPECT_EQ(tree.Captions[0].second, "Hi");
    EXPECT_FALSE(n->Has(nsDeleting | nsClearing | nsCutOrCopy | nsChecking | nsHeightMeasured |
                        nsAllChildrenHidden | nsInitialUserData));
    EXPECT_FALSE(n->Has(0xC000));
    EXPECT_EQ(n->NodeHeight, 0xFFFF);
    EXPECT_EQ(tree.CheckState(n), chkUnchecked);
    EXPECT_EQ(tree.CheckType(n), ctNone);
    EXPECT_TREE_OK(tree);

    // A second base chunk of the same node does not take the children of the first away.
    Load(tree, StreamHeader() + U32(1) +
                   Chunk(1, Chunk(2, BaseData(1, 18, 0xC1) + Node(BaseData(0, 18, 0x81))) +
                                Chunk(2, BaseData(0, 18, 0x01))));
    ASSERT_EQ(tree.TotalCount(), 2u);
    EXPECT_TRUE(tree.GetFirstNoInit()->Has(nsHasChildren));
    EXPECT_TREE_OK(tree);
}

TEST(TreeStream, NodesSavedWithoutChildrenLoadAndNestingIsLimited) {
    // Without toInitOnSave a node that was never initialised keeps its children unmade and says
    // so: the stream loads.
    StreamTree tree;
    tree.SetMisc(toInitOnSave, false);
    tree.OnInitNode = [](TBaseVirtualTree*, PVirtualNode, PVirtualNode,
                         TVirtualNodeInitStates& states) { states |= ivsHasChildren; };
    tree.OnInitChildren = [](TBaseVirtualTree*, PVirtualNode, std::uint32_t& count) { count = 3; };
    tree.SetChildCount(tree.Add(nullptr, 1), 2);  // children of a node not initialised
    const std::string bytes = Saved(tree);
    StreamTree back;
    EXPECT_EQ(ErrorOf(back, bytes), 0);
    EXPECT_EQ(back.TotalCount(), 1u);
    EXPECT_TREE_OK(back);

    // Nesting: 4,096 levels load, one more raises; a tree deeper than that is not saved.
    auto nested = [](int levels) {
        std::string node = Node(BaseData(0, 18, 0x81));
        for (int i = 1; i < levels; ++i) node = Node(BaseData(1, 18, 0xC1), node);
        return StreamHeader() + U32(1) + node;
    };
    StreamTree deep;
    EXPECT_EQ(ErrorOf(deep, nested(4096)), 0);
    EXPECT_EQ(deep.TotalCount(), 4096u);
    EXPECT_TREE_OK(deep);
    EXPECT_EQ(ErrorOf(deep, nested(4097)), 2006);
    StreamTree chain;
    PVirtualNode n = nullptr;
    for (int i = 0; i < 4097; ++i) n = chain.Add(n, i);
    EXPECT_THROW(Saved(chain), EWriteError);
}

TEST(TreeStream, FilesAddingAndReadOnlyTrees) {
    StreamTree tree;
    tree.CarryIds();
    tree.Add(tree.Add(nullptr, 1), 2);
    const std::string path = ::testing::TempDir() + "tree_stream_test.vtd";
    tree.SaveToFile(path);
    StreamTree back;
    back.CarryIds();
    back.LoadFromFile(path);
    EXPECT_EQ(back.Ids(), (std::vector<int>{1, 2}));
    // Added below a node of a tree that keeps its own.
    TFileReadStream file(path);
    back.AddFromStream(file, back.GetFirstNoInit()->FirstChild);
    EXPECT_EQ(back.Ids(), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_EQ(back.GetNodeLevel(back.GetLastNoInit()), 3u);
    EXPECT_TREE_OK(back);
    std::remove(path.c_str());
    EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
    back.SetMisc(toReadOnly, true);
    Load(back, StreamHeader() + U32(0));
    EXPECT_EQ(back.TotalCount(), 4u);
}

}  // namespace
}  // namespace rv::test
