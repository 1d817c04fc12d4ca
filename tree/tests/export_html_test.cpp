// The HTML export: its exact layout for a small tree, fonts and escaping, Python's html.parser
// reading a three-level tree with columns back, and the clipboard's HTML form with its offsets.

#include <cstring>
#include <string>

#include "tree/export_clipboard.h"
#include "tree/tests/export_fixture.h"

namespace rv::test {
namespace {

// Two nodes, the second a child of the first, without columns, in plain black fonts.
struct SmallHtmlTree : ExportTree {
    SmallHtmlTree() {
        TFont font = tree.Font();
        font.Color = clBlack;
        tree.SetFont(font);
        tree.Header().SetFont(font);
        tree.SetId(tree.AddChild(tree.Add(nullptr, 1)), 2);
        tree.FullExpand();
        texts[{1, NoColumn}] = "One";
        texts[{2, NoColumn}] = "Two";
    }
};

TEST(HtmlExport, LayoutOfASmallTree) {
    SmallHtmlTree t;
    const std::string fontName = t.tree.Font().Name;
    const std::string size = std::to_string(t.tree.Font().Size());
    const std::string padding = "padding-left:4px;padding-right:4px;";
    const std::string expected =
        "<style type=\"text/css\">\r\n"
        ".default{font: " +
        size + "pt \"" + fontName +
        "\";color:#000000;}\r\n"
        ".header{font: " +
        size + "pt \"" + fontName +
        "\";color:#000000;}\r\n"
        ".noborder{border-style:none;" +
        padding +
        "}\r\n"
        ".normalborder {border-top:none; border-left:none; border-right:none;border-bottom:none;" +
        padding +
        "}</style>\r\n"
        "<table class=\"default\" bgcolor=#FFFFFF border=\"1\" frame=box cellspacing=\"0\" "
        "cellpadding=4>\r\n"
        " <tr class=\"default\">\r\n"
        " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"2\">One</td> </tr>\r\n"
        " <tr class=\"default\">\r\n"
        " <td height=\"18px\">&nbsp;</td> <td class=\"normalborder\"  height=\"18px\" "
        "align=left>Two</td> </tr>\r\n"
        "</table>";
    EXPECT_EQ(t.tree.ContentToHTML(tstAll), expected);
}

TEST(HtmlExport, MarkupIsEscapedAndFontsQuotedInsideTheirAttribute) {
    SmallHtmlTree t;
    t.texts[{2, NoColumn}] = "a<b> & \"c\" 'd'";
    t.tree.OnPaintText = [&t](TCustomVirtualStringTree*, TCanvas& canvas, PVirtualNode n,
                              TColumnIndex, TVSTTextType) {
        if (t.tree.GetNodeLevel(n) == 1) {
            canvas.Font.Style = fsBold | fsItalic;
            canvas.Font.Color = clRed;
            canvas.Font.Name = "O'Brien \"Sans\"";
        }
    };
    t.tree.SetBorderStyle(bsNone);
    const std::string html = t.tree.ContentToHTML(tstAll, "Rock & \"Roll\"");
    const std::string size = std::to_string(t.tree.Font().Size());
    for (const std::string& part : std::vector<std::string>{
             "bgcolor=#FFFFFF caption=\"Rock &amp; &quot;Roll&quot;\" cellspacing=\"0\"",
             " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"2\">One</td>",
             " <td class=\"normalborder\"  style=\"{font: italic bold " + size +
                 "pt 'O\\27 Brien \\22 Sans\\22 ';color:#FF0000;}\" height=\"18px\" "
                 "align=left>a&lt;b&gt; &amp; \"c\" 'd'</td>",
         })
        EXPECT_NE(html.find(part), std::string::npos) << part << "\nnot in\n" << html;
}

// Each table row: its cells as kind:colspan:text, kind th (header), text (a node's cell) or
// indent; the script fails when tables, rows and cells are not properly nested and closed.
const char* const kReadHtml = R"(
import sys
from html.parser import HTMLParser
class Reader(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.rows, self.cell = [], [], None
    def handle_starttag(self, tag, attrs):
        parent = {'table': None, 'tr': 'table', 'td': 'tr', 'th': 'tr'}
        if tag not in parent: return
        if parent[tag] and (not self.stack or self.stack[-1] != parent[tag]):
            sys.exit('<%s> outside <%s>' % (tag, parent[tag]))
        self.stack.append(tag)
        a = dict(attrs)
        if tag == 'tr': self.rows.append([])
        if tag in ('td', 'th'):
            kind = 'th' if tag == 'th' else 'text' if a.get('class') == 'normalborder' else 'indent'
            self.cell = [kind, int(a.get('colspan', '1')), '']
            self.rows[-1].append(self.cell)
    def handle_endtag(self, tag):
        if tag in ('table', 'tr', 'td', 'th'):
            if not self.stack or self.stack.pop() != tag: sys.exit('unbalanced </%s>' % tag)
            self.cell = None
    def handle_data(self, data):
        if self.cell is not None: self.cell[2] += data
reader = Reader()
reader.feed(sys.stdin.buffer.read().decode('utf-8'))
reader.close()
if reader.stack: sys.exit('unclosed ' + ' '.join(reader.stack))
for row in reader.rows:
    print(' '.join('%s:%d:x%s' % (k, c, t.encode().hex()) for k, c, t in row))
)";

TEST(HtmlExport, PythonReadsBackEveryRowAsWideAsTheTable) {
    if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
    ExportTree t;
    t.AddColumns({"Artist <&>", "Album \"'", "Year", "Hidden"});
    TVirtualTreeColumns& columns = t.tree.Header().Columns();
    columns[2].SetPosition(0);  // shown first
    columns[3].SetOptions(columns[3].Options() - TVTColumnOptions{coVisible});
    columns[1].SetOptions(columns[1].Options() + TVTColumnOptions{coParentColor});
    const PVirtualNode a = t.tree.Add(nullptr, 1), a1 = t.tree.Add(a, 2);
    t.tree.Add(a1, 3);
    t.tree.Add(nullptr, 4);
    t.tree.FullExpand();
    t.texts[{1, 0}] = "Dvořák — Rusalka 🎵";
    t.texts[{2, 0}] = "<b>&amp;</b>";
    t.texts[{3, 1}] = "\"quoted\" 'single' < & >";
    t.texts[{4, 2}] = "";
    const std::string html = t.tree.ContentToHTML(tstAll, "caption");
    const auto rows = Words(RunPython(kReadHtml, html));
    const std::vector<TColumnIndex> shown = {2, 0, 1};
    const unsigned maxLevel = 2;
    ASSERT_EQ(rows.size(), 5u) << html;
    int row = 0;
    for (PVirtualNode n = nullptr; row < 5; ++row, n = n ? t.tree.GetNext(n) : t.tree.GetFirst()) {
        std::size_t width = 0, indents = 0;
        std::vector<std::string> cells;
        for (const std::string& cell : rows[std::size_t(row)]) {
            const std::size_t colon = cell.find(':'), x = cell.find(":x");
            width += std::stoul(cell.substr(colon + 1));
            if (cell.starts_with("indent"))
                ++indents;
            else
                cells.push_back(FromHex(cell.substr(x + 2)));
            EXPECT_EQ(cell.starts_with("th"), row == 0) << cell;
        }
        EXPECT_EQ(width, shown.size() + maxLevel) << "row " << row;
        std::vector<std::string> expected;
        for (TColumnIndex column : shown)
            expected.push_back(n ? t.tree.GetText(n, column) : columns[column].Text());
        EXPECT_EQ(cells, expected) << "row " << row;
        EXPECT_EQ(indents, n ? t.tree.GetNodeLevel(n) : 0u);
    }
}

// The offsets the description gives, read back.
struct ClipboardHtml {
    explicit ClipboardHtml(const std::string& data) : data(data) {
        for (const char* label : {"StartHTML:", "EndHTML:", "StartFragment:", "EndFragment:"}) {
            const std::size_t at = data.find(std::string("\r\n") + label);
            offsets.push_back(at == std::string::npos
                                  ? 0
                                  : std::stoul(data.substr(at + 2 + std::strlen(label), 8)));
        }
    }
    std::string data;
    std::vector<std::size_t> offsets;  // StartHTML, EndHTML, StartFragment, EndFragment
};

TEST(HtmlExport, ClipboardDescriptionPointsAtTheDocumentAndTheFragment) {
    ExportTree empty;
    SmallHtmlTree t;
    t.texts[{1, NoColumn}] = "Ünïcödé 🎵";
    for (ExportTree* tree : {&empty, static_cast<ExportTree*>(&t)}) {
        const std::string fragment = tree->tree.ContentToHTML(tstAll);
        const std::string bytes = ClipboardBytes(tree->tree, FormatNumber("HTML Format"), tstAll);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.back(), '\0');
        const ClipboardHtml html(bytes.substr(0, bytes.size() - 1));
        EXPECT_TRUE(html.data.starts_with("Version:1.0\r\nStartHTML:00000097\r\n"));
        const auto& o = html.offsets;
        EXPECT_EQ(o[0], 97u);
        EXPECT_EQ(o[2], 269u);
        EXPECT_EQ(o[1], html.data.size());
        EXPECT_EQ(o[1] - o[3], 32u);
        EXPECT_TRUE(html.data.substr(o[0]).starts_with("<!DOCTYPE HTML PUBLIC"));
        EXPECT_TRUE(html.data.substr(0, o[2]).ends_with("<!--StartFragment-->"));
        EXPECT_EQ(html.data.substr(o[2], o[3] - o[2]), fragment);
        EXPECT_TRUE(html.data.substr(o[3]).starts_with("<!--EndFragment-->"));
        EXPECT_EQ(html.data, HTMLClipboardDocument(fragment));
    }
}

}  // namespace
}  // namespace rv::test
