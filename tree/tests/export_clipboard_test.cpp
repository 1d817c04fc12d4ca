// The exports as the clipboard and drags carry them: the cut or copied nodes on the clipboard,
// the selection in a drag, and the base's own format left to the base.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/transfer/ole_clipboard.h"
#include "tree/clipboard_formats.h"
#include "tree/export_clipboard.h"
#include "tree/tests/export_fixture.h"
#include "tree/vt_data_object.h"

namespace rv::test {
namespace {

// Nodes 1 (with child 2) and 3.
struct RenderTree : ExportTree {
    RenderTree() {
        tree.MultiSelect();
        tree.Add(tree.Add(nullptr, 1), 2);
        tree.Add(nullptr, 3);
        tree.FullExpand();
    }
    // The texts go before the tree: the clipboard must not ask for them as the tree goes.
    ~RenderTree() { OleSetClipboard(nullptr); }
    PVirtualNode Node(int id) {
        for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNext(n))
            if (tree.Id(n) == id) return n;
        return nullptr;
    }
};

std::string Rendered(IDataObject& data, TClipFormat format) {
    TStgMedium medium;
    if (data.GetData(TFormatEtc{format}, medium) != S_OK) return "<none>";
    EXPECT_EQ(medium.tymed, TYMED_HGLOBAL);
    EXPECT_EQ(medium.pUnkForRelease, nullptr);
    std::string bytes(static_cast<const char*>(GlobalLock(medium.hGlobal)),
                      GlobalSize(medium.hGlobal));
    ReleaseStgMedium(medium);
    return bytes;
}

TEST(ExportClipboard, TheClipboardGetsTheCopiedNodesAndADragTheSelection) {
    RenderTree t;
    t.tree.SetSelected(t.Node(2), true);
    t.tree.CopyToClipboard();
    t.tree.ClearSelection();
    t.tree.SetSelected(t.Node(3), true);
    std::shared_ptr<IDataObject> clipboard;
    ASSERT_EQ(OleGetClipboard(clipboard), S_OK);
    const auto drag = std::make_shared<TVTDataObject>(t.tree, false);
    const TClipFormat html = FormatNumber("HTML Format");
    const struct {
        TClipFormat format;
        TVSTTextSourceType source;
    } formats[] = {{CF_TEXT, tstCutCopySet},
                   {CF_UNICODETEXT, tstCutCopySet},
                   {FormatNumber("CSV"), tstCutCopySet},
                   {FormatNumber("Rich Text Format"), tstCutCopySet},
                   {FormatNumber("Rich Text Format Without Objects"), tstCutCopySet},
                   {html, tstCutCopySet}};
    for (const auto& row : formats) {
        EXPECT_EQ(Rendered(*clipboard, row.format), ClipboardBytes(t.tree, row.format, row.source))
            << row.format;
        EXPECT_EQ(Rendered(*drag, row.format), ClipboardBytes(t.tree, row.format, tstSelected))
            << row.format;
    }
    EXPECT_EQ(Rendered(*clipboard, CF_TEXT), std::string("\t2/-1\r\n\0", 8));
    EXPECT_EQ(Rendered(*drag, CF_TEXT), std::string("3/-1\r\n\0", 7));
    // The toolkit's clipboard carries the HTML document the description points at, and CSV
    // without its NUL.
    auto carried = [](TClipFormat format) {
        const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(
            QString::fromStdString(FormatMediaType(format)));
        return std::string(bytes.constData(), std::size_t(bytes.size()));
    };
    const std::string document = ClipboardBytes(t.tree, html, tstCutCopySet);
    EXPECT_EQ(carried(html), document.substr(97, document.size() - 1 - 97));
    EXPECT_EQ(carried(FormatNumber("CSV")),
              t.tree.ContentToText(tstCutCopySet, CSVListSeparator()));
}

TEST(ExportClipboard, TheBaseAndItsHandlerRenderFirst) {
    RenderTree t;
    t.tree.SetSelected(t.Node(1), true);
    const auto drag = std::make_shared<TVTDataObject>(t.tree, false);
    // The tree's own data are the base's: a byte count and node chunks, no text.
    const std::string nodes = Rendered(*drag, CF_VIRTUALTREE());
    ASSERT_GE(nodes.size(), 4u);
    EXPECT_EQ(nodes.find("1/-1"), std::string::npos);
    // A handler that renders a format takes it from the export.
    int asked = 0;
    t.tree.OnRenderOLEData = [&asked](TBaseVirtualTree*, const TFormatEtc& format,
                                      TStgMedium& medium, bool, HRESULT& result) {
        ++asked;
        if (format.cfFormat != CF_TEXT) return;
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 3);
        medium.hGlobal->Bytes = {'o', 'w', 'n'};
        result = S_OK;
    };
    EXPECT_EQ(Rendered(*drag, CF_TEXT), "own");
    EXPECT_EQ(Rendered(*drag, CF_UNICODETEXT), ClipboardBytes(t.tree, CF_UNICODETEXT, tstSelected));
    EXPECT_EQ(asked, 2);
    // Nothing selected: nothing to render.
    t.tree.ClearSelection();
    EXPECT_EQ(Rendered(*drag, CF_UNICODETEXT), "<none>");
}

}  // namespace
}  // namespace rv::test
