// The tree's clipboard: the formats it offers and their bytes, copy, cut and paste within a tree
// and between trees, the reference that tells a tree of this process, and data that outlive
// their tree.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/transfer/clipboard_format_names.h"
#include "platform/transfer/ole_clipboard.h"
#include "platform/transfer/tests/test_data_object.h"
#include "tree/live_trees.h"
#include "tree/tests/tree_fixture.h"
#include "tree/vt_data_object.h"

namespace rv::test {
namespace {

// Ids travel as user data; texts are "n<id>".
class ClipTree : public IdTree {
public:
    // The handlers reach the ids through the tree they are given: they run also while a tree
    // that holds the clipboard goes, when only its base classes are left.
    ClipTree() {
        MultiSelect();
        OnGetText = [](TCustomVirtualStringTree* sender, PVirtualNode n, TColumnIndex, TVSTTextType,
                       std::string& text) {
            text = "n" + std::to_string(*static_cast<int*>(sender->GetNodeData(n)));
        };
        OnSaveNode = [](TBaseVirtualTree* sender, PVirtualNode n, TStream& s) {
            s.WriteBuffer(sender->GetNodeData(n), sizeof(int));
        };
        OnLoadNode = [](TBaseVirtualTree* sender, PVirtualNode n, TStream& s) {
            s.ReadBuffer(sender->GetNodeData(n), sizeof(int));
        };
    }
    void SelectIds(std::initializer_list<int> ids) {
        ClearSelection();
        for (PVirtualNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
            for (int id : ids)
                if (Id(n) == id) SetSelected(n, true);
    }
    PVirtualNode Find(int id) const {
        for (PVirtualNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
            if (Id(n) == id) return n;
        return nullptr;
    }
    using TBaseVirtualTree::RenderOLEData;
};

std::string BytesOf(IDataObject& data, TFormatEtc format) {
    TStgMedium medium;
    if (data.GetData(format, medium) != S_OK) return "<none>";
    const auto* p = static_cast<const char*>(GlobalLock(medium.hGlobal));
    std::string bytes(p, GlobalSize(medium.hGlobal));
    ReleaseStgMedium(medium);
    return bytes;
}

std::shared_ptr<IDataObject> ClipboardData() {
    std::shared_ptr<IDataObject> data;
    EXPECT_EQ(OleGetClipboard(data), S_OK);
    return data;
}

// Two top-level nodes 1 and 2, with children 11, 12 under 1.
void Fill(ClipTree& tree) {
    PVirtualNode one = tree.Add(nullptr, 1);
    tree.Add(one, 11);
    tree.Add(one, 12);
    tree.Add(nullptr, 2);
}

TEST(TreeClipboard, FormatsFollowTheirPrioritiesAndTheListOfTheTree) {
    ClipTree text;
    TBaseVirtualTree base((App(), nullptr));
    auto names = [](const std::vector<TFormatEtc>& formats) {
        std::vector<std::string> n;
        for (const TFormatEtc& f : formats)
            n.push_back(f.cfFormat < CF_MAX ? StandardFormatDescription(f.cfFormat)
                                            : GetClipboardFormatName(f.cfFormat));
        return n;
    };
    TVTDataObject textData(text, true), baseData(base, true);
    EXPECT_EQ(names(textData.FormatEtcArray()),
              (std::vector<std::string>{"Virtual Tree Data", "HTML Format",
                                        "Rich Text Format Without Objects", "Rich Text Format",
                                        "CSV", "Unicode text", "Plain text"}));
    EXPECT_EQ(names(baseData.FormatEtcArray()), std::vector<std::string>{"Virtual Tree Data"});
    // The tree's list narrows them (in priority order still); the application adds its own.
    text.ClipboardFormats().Add("CSV");
    text.ClipboardFormats().Add("Virtual Tree Data");
    const TClipFormat own = RegisterClipboardFormat("Clipboard Test Format");
    text.OnGetUserClipboardFormats = [own](TBaseVirtualTree*, std::vector<TFormatEtc>& f) {
        f.push_back(TFormatEtc{own});
    };
    TVTDataObject narrowed(text, true);
    EXPECT_EQ(names(narrowed.FormatEtcArray()),
              (std::vector<std::string>{"Virtual Tree Data", "CSV", "Clipboard Test Format"}));

    // The enumerator: S_OK while it copies any; Skip refuses to run past the end.
    std::shared_ptr<IEnumFORMATETC> walker;
    ASSERT_EQ(narrowed.EnumFormatEtc(DATADIR_GET, walker), S_OK);
    TFormatEtc got[4];
    ULONG fetched = 0;
    EXPECT_EQ(walker->Next(4, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    EXPECT_EQ(walker->Next(1, got, &fetched), S_FALSE);
    walker->Reset();
    EXPECT_EQ(walker->Skip(4), S_FALSE);
    EXPECT_EQ(walker->Skip(2), S_OK);
    std::shared_ptr<IEnumFORMATETC> clone;
    walker->Clone(clone);
    EXPECT_EQ(clone->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(got[0].cfFormat, own);
    EXPECT_EQ(narrowed.EnumFormatEtc(DATADIR_SET, walker), OLE_S_USEREG);
    EXPECT_EQ(walker, nullptr);
}

TEST(TreeClipboard, TheDataObjectAnswersAsThePlatformsDoes) {
    ClipTree tree;
    Fill(tree);
    tree.SelectIds({2});
    auto data = std::make_shared<TVTDataObject>(tree, false);
    const TFormatEtc vtd{CF_VIRTUALTREE()};
    const struct {
        TFormatEtc format;
        HRESULT expected;
    } table[] = {
        {vtd, S_OK},
        {{CF_VIRTUALTREE(), nullptr, DVASPECT_ICON}, DV_E_DVASPECT},
        {{CF_VIRTUALTREE(), nullptr, DVASPECT_CONTENT, 2}, DV_E_LINDEX},
        {{CF_VIRTUALTREE(), nullptr, DVASPECT_CONTENT, -1, TYMED_ISTORAGE}, DV_E_TYMED},
        {{CF_BITMAP}, DV_E_FORMATETC},
    };
    for (const auto& row : table)
        EXPECT_EQ(data->QueryGetData(row.format), row.expected) << row.format.cfFormat;
    TStgMedium medium;
    EXPECT_EQ(data->GetDataHere(vtd, medium), E_NOTIMPL);
    TFormatEtc canonical;
    EXPECT_EQ(data->GetCanonicalFormatEtc(vtd, canonical), DATA_S_SAMEFORMATETC);

    // The tree data are what the tree renders: a byte count, then the node chunks.
    TStgMedium rendered;
    ASSERT_EQ(tree.RenderOLEData(vtd, rendered, false), S_OK);
    const std::string bytes(rendered.hGlobal->Bytes.begin(), rendered.hGlobal->Bytes.end());
    EXPECT_EQ(BytesOf(*data, vtd), bytes);
    EXPECT_EQ(bytes.size(), 4 + std::size_t(std::uint8_t(bytes[0])));
    // The reference: this process's token and the tree's number.
    const std::string reference = BytesOf(*data, TFormatEtc{CF_VTREFERENCE()});
    ASSERT_EQ(reference.size(), kTreeReferenceSize);
    std::uint64_t token, id;
    std::memcpy(&token, reference.data(), 8);
    std::memcpy(&id, reference.data() + 8, 8);
    EXPECT_EQ(token, ProcessToken());
    EXPECT_EQ(id, tree.TreeId());
    EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*data), &tree);

    // Stored data answer their format (a new one is offered too), and are told to advisers.
    struct Sink : IAdviseSink {
        int told = 0;
        void OnDataChange(const TFormatEtc&, const TStgMedium&) override { ++told; }
    };
    auto sink = std::make_shared<Sink>();
    DWORD connection = 0;
    ASSERT_EQ(data->DAdvise(vtd, ADVF_NODATA, sink, connection), S_OK);
    TStgMedium stored;
    stored.tymed = TYMED_HGLOBAL;
    stored.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 3);
    stored.hGlobal->Bytes = {'a', 'b', 'c'};
    ASSERT_EQ(data->SetData(TFormatEtc{CF_BITMAP}, stored, false), S_OK);
    EXPECT_EQ(BytesOf(*data, TFormatEtc{CF_BITMAP}), "abc");
    EXPECT_EQ(sink->told, 1);
    EXPECT_EQ(data->DUnadvise(connection), S_OK);
}

TEST(TreeClipboard, CopyAndPasteBetweenTwoTrees) {
    ClipTree source, target;
    Fill(source);
    target.Add(nullptr, 50);
    source.SelectIds({1, 11, 2});  // 11 travels inside 1
    source.CopyToClipboard();
    EXPECT_TRUE(source.TreeStates().Contains(tsCopyPending));
    for (int id : {1, 11, 2}) EXPECT_TRUE(source.Find(id)->Has(nsCutOrCopy)) << id;
    EXPECT_FALSE(source.Find(12)->Has(nsCutOrCopy));

    // What the clipboard holds is what the tree renders, also as the toolkit carries it.
    auto data = ClipboardData();
    TStgMedium rendered;
    ASSERT_EQ(source.RenderOLEData(TFormatEtc{CF_VIRTUALTREE()}, rendered, true), S_OK);
    const std::string bytes(rendered.hGlobal->Bytes.begin(), rendered.hGlobal->Bytes.end());
    EXPECT_EQ(BytesOf(*data, TFormatEtc{CF_VIRTUALTREE()}), bytes);
    const QByteArray carried = QGuiApplication::clipboard()->mimeData()->data(
        QString::fromStdString(FormatMediaType(CF_VIRTUALTREE())));
    EXPECT_EQ(std::string(carried.constData(), std::size_t(carried.size())), bytes);

    target.SetFocusedNode(target.GetFirst());
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Ids(), (std::vector<int>{50, 1, 11, 12, 2}));
    EXPECT_EQ(source.Ids(), (std::vector<int>{1, 11, 12, 2}));
    EXPECT_TREE_OK(target);
    EXPECT_TREE_OK(source);
    // A copy stays pending; pasted again, the same nodes come again.
    EXPECT_TRUE(source.TreeStates().Contains(tsCopyPending));
    target.SetFocusedNode(nullptr);
    target.Perform(WM_PASTE);
    EXPECT_EQ(target.RootNodeCount(), 3u);
}

TEST(TreeClipboard, CutAndPasteMovesTheNodesWithinATreeAndIntoAnother) {
    ClipTree tree;
    Fill(tree);
    tree.SelectIds({11});
    tree.Perform(WM_CUT);
    EXPECT_TRUE(tree.TreeStates().Contains(tsCutPending));
    tree.SetFocusedNode(tree.Find(2));
    ASSERT_TRUE(tree.PasteFromClipboard());
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 12, 2, 11}));
    EXPECT_EQ(tree.ChildIds(tree.Find(2)), std::vector<int>{11});
    EXPECT_FALSE(tree.TreeStates().Contains(tsCutPending));
    EXPECT_FALSE(tree.Find(11)->Has(nsCutOrCopy));
    EXPECT_TREE_OK(tree);

    ClipTree other;
    tree.SelectIds({1});
    tree.CutToClipboard();
    ASSERT_TRUE(other.PasteFromClipboard());
    EXPECT_EQ(other.Ids(), (std::vector<int>{1, 12}));  // ids came with the nodes
    EXPECT_EQ(tree.Ids(), (std::vector<int>{2, 11}));
    EXPECT_TREE_OK(other);
    EXPECT_TREE_OK(tree);
    // A read-only tree cuts nothing and pastes nothing.
    other.SetMisc(toReadOnly, true);
    other.SelectIds({1});
    other.CutToClipboard();
    EXPECT_FALSE(other.TreeStates().Contains(tsCutPending));
    EXPECT_FALSE(other.PasteFromClipboard());
}

// A cut pasted back into its own tree where its nodes cannot go (onto themselves, or below
// themselves) leaves them where they were: nothing is lost, nothing stays marked.
TEST(TreeClipboard, CutAndPastedOntoItselfLosesNoNode) {
    // 1 with 999 children 1000..1998; 2, 3, 4, 5 with one child each (20, 30, 40, 50); 6.
    ClipTree tree;
    PVirtualNode parent = tree.Add(nullptr, 1);
    for (int id = 1000; id < 1999; ++id) tree.Add(parent, id);
    for (int id : {2, 3, 4, 5}) tree.Add(tree.Add(nullptr, id), id * 10);
    tree.Add(nullptr, 6);
    const std::uint32_t all = 1 + 999 + 8 + 1;
    ASSERT_EQ(tree.TotalCount(), all);
    const auto cutAndPaste = [&](std::initializer_list<int> cut, int focus) {
        tree.SelectIds(cut);
        tree.Perform(WM_CUT);
        ASSERT_TRUE(tree.TreeStates().Contains(tsCutPending));
        tree.SetFocusedNode(tree.Find(focus));
        tree.Perform(WM_PASTE);
        EXPECT_EQ(tree.TotalCount(), all);
        EXPECT_FALSE(tree.TreeStates().ContainsAny({tsCutPending, tsCopyPending}));
        for (PVirtualNode n = tree.GetFirstNoInit(); n; n = tree.GetNextNoInit(n))
            EXPECT_FALSE(n->Has(nsCutOrCopy)) << tree.Id(n);
        EXPECT_TREE_OK(tree);
    };

    // A single node, the focus left on it.
    cutAndPaste({6}, 6);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    // A parent, pasted onto one of its children.
    cutAndPaste({1}, 1500);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(tree.Find(1)->ChildCount, 999u);
    // Four siblings, pasted onto one of them: the other three move below it.
    cutAndPaste({2, 3, 4, 5}, 3);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{1, 3, 6}));
    EXPECT_EQ(tree.ChildIds(tree.Find(3)), (std::vector<int>{30, 2, 4, 5}));
    for (int id : {2, 4, 5}) EXPECT_EQ(tree.ChildIds(tree.Find(id)), std::vector<int>{id * 10});
}

TEST(TreeClipboard, AForgedOrStaleReferenceNamesNoTree) {
    ClipTree tree;
    Fill(tree);
    tree.SelectIds({2});
    tree.CutToClipboard();
    // Another process's token with this tree's number: taken as plain data, so copied.
    auto forged = std::make_shared<BytesDataObject>();
    forged->bytes[CF_VIRTUALTREE()] = BytesOf(*ClipboardData(), TFormatEtc{CF_VIRTUALTREE()});
    std::string reference = BytesOf(*ClipboardData(), TFormatEtc{CF_VTREFERENCE()});
    reference[0] ^= 1;
    forged->bytes[CF_VTREFERENCE()] = reference;
    EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*forged), nullptr);
    forged->bytes[CF_VTREFERENCE()] = reference.substr(0, 8);  // too short
    EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*forged), nullptr);
    ASSERT_EQ(OleSetClipboard(forged), S_OK);
    ClipTree target;
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Ids(), std::vector<int>{2});
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 11, 12, 2}));

    // A tree gone since: its number answers nothing any more.
    std::shared_ptr<IDataObject> stale;
    {
        ClipTree gone;
        Fill(gone);
        gone.SelectIds({2});
        stale = std::make_shared<TVTDataObject>(gone, false);
        EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*stale), &gone);
    }
    EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*stale), nullptr);
    EXPECT_EQ(BytesOf(*stale, TFormatEtc{CF_VIRTUALTREE()}), "<none>");
}

TEST(TreeClipboard, ClipboardDataOutliveTheirTree) {
    ClipTree target;
    {
        ClipTree source;
        Fill(source);
        source.SelectIds({1});
        source.CopyToClipboard();
    }
    // Rendered while the tree was there; no reference to it is left.
    auto data = ClipboardData();
    EXPECT_EQ(TBaseVirtualTree::SourceTreeOf(*data), nullptr);
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Ids(), (std::vector<int>{1, 11, 12}));
    // Deleting a node of a pending copy renders the data first.
    ClipTree tree;
    Fill(tree);
    tree.SelectIds({2});
    tree.CopyToClipboard();
    tree.DeleteNode(tree.Find(2));
    EXPECT_FALSE(tree.TreeStates().ContainsAny({tsCopyPending, tsCutPending}));
    ClipTree again;
    ASSERT_TRUE(again.PasteFromClipboard());
    EXPECT_EQ(again.Ids(), std::vector<int>{2});
    // Clearing the tree of a pending cut empties the clipboard.
    tree.SelectIds({1});
    tree.CutToClipboard();
    tree.Clear();
    EXPECT_FALSE(tree.TreeStates().ContainsAny({tsCopyPending, tsCutPending}));
    EXPECT_EQ(ClipboardData()->QueryGetData(TFormatEtc{CF_VIRTUALTREE()}), DV_E_FORMATETC);
    EXPECT_FALSE(again.PasteFromClipboard());
}

}  // namespace
}  // namespace rv::test
