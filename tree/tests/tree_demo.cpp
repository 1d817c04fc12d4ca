// tree_demo [FOLDER]: renders a string tree — three levels, four columns under a header, a
// selection with the focus, check boxes of every type, images, grid and tree lines, a hot node
// and a drop mark — with the check image sets of every kind below it, into PNG files for a
// person to look at: the classic and the themed look, each at 100 % and at 200 %.

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework/form.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/theme_services.h"
#include "platform/windows/window_host.h"
#include "tree/check_images.h"
#include "tree/string_tree.h"

namespace rv {
namespace {

struct Entry {
    std::string title, year, time, format;
    int image;  // -1: none
    TCheckType check;
    TCheckState state;
    std::vector<Entry> children;
};

const std::vector<Entry>& Library() {
    static const std::vector<Entry> library = {
        {"Miles Davis",
         "",
         "",
         "",
         0,
         ctTriStateCheckBox,
         chkMixed,
         {{"Kind of Blue",
           "1959",
           "45:44",
           "FLAC",
           1,
           ctTriStateCheckBox,
           chkMixed,
           {{"So What", "1959", "09:22", "MPEG 1 Layer III", 2, ctCheckBox, chkChecked, {}},
            {"Freddie Freeloader",
             "1959",
             "09:46",
             "MPEG 1 Layer III",
             2,
             ctCheckBox,
             chkUnchecked,
             {}},
            {"Blue in Green", "1959", "05:37", "Ogg Vorbis", 2, ctCheckBox, chkChecked, {}}}},
          {"Sketches of Spain",
           "1960",
           "41:15",
           "Monkey's Audio",
           1,
           ctTriStateCheckBox,
           chkUnchecked,
           {}}}},
        {"Nina Simone",
         "",
         "",
         "",
         0,
         ctCheckBox,
         chkChecked,
         {{"Little Girl Blue",
           "1958",
           "43:26",
           "AAC",
           1,
           ctRadioButton,
           chkChecked,
           {{"Mood Indigo", "1958", "03:30", "AAC", 2, ctRadioButton, chkUnchecked, {}},
            {"Don't Smoke in Bed", "1958", "03:03", "AAC", 2, ctRadioButton, chkChecked, {}}}}}},
        {"Antonín Dvořák",
         "",
         "",
         "",
         0,
         ctNone,
         chkUnchecked,
         {{"Symphony No. 9 \"From the New World\"",
           "1893",
           "40:12",
           "WavPack",
           1,
           ctCheckBox,
           chkCheckedPressed,
           {{"Largo — Adagio",
             "1893",
             "12:31",
             "WavPack",
             2,
             ctCheckBox,
             chkUncheckedPressed,
             {}}}}}},
        {"Bill Evans Trio", "", "", "", 0, ctRadioButton, chkUnchecked, {}},
    };
    return library;
}

// Three small pictures drawn here: an artist, a record and a note.
void MakeImages(TImageList& images) {
    TBitmap strip(48, 16);
    TCanvas& c = strip.Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect({0, 0, 48, 16});
    c.Pen = TPen{RGB(0x40, 0x40, 0x40)};
    c.Brush.Color = RGB(0xF0, 0xC0, 0x90);
    c.Ellipse({4, 1, 12, 9});
    c.Brush.Color = RGB(0x30, 0x60, 0xB0);
    c.Ellipse({2, 9, 14, 20});
    c.Brush.Color = RGB(0x20, 0x20, 0x20);
    c.Ellipse({17, 1, 31, 15});
    c.Brush.Color = RGB(0xE0, 0x40, 0x30);
    c.Ellipse({21, 5, 27, 11});
    c.Pen = TPen{RGB(0x10, 0x70, 0x30)};
    c.Brush.Color = RGB(0x10, 0x70, 0x30);
    c.Ellipse({35, 9, 41, 14});
    c.FillRect({40, 2, 42, 12});
    c.FillRect({40, 2, 45, 4});
    images.AddMasked(strip, clFuchsia);
}

class DemoTree : public TVirtualStringTree {
public:
    using TVirtualStringTree::TVirtualStringTree;
    void MarkDrop(PVirtualNode node) {
        dropTargetNode_ = node;
        dropMode_ = dmBelow;
    }
    void MarkHot(PVirtualNode node) { hotNode_ = node; }
};

const Entry& EntryOf(TBaseVirtualTree* tree, PVirtualNode node) {
    return **static_cast<const Entry**>(tree->GetNodeData(node));
}

PVirtualNode AddEntries(DemoTree& tree, PVirtualNode parent, const std::vector<Entry>& entries,
                        std::vector<PVirtualNode>& all) {
    PVirtualNode last = nullptr;
    for (const Entry& e : entries) {
        last = tree.AddChild(parent, &e);
        all.push_back(last);
        tree.SetCheckType(last, e.check);
        last->CheckState = e.state;
        AddEntries(tree, last, e.children, all);
    }
    return last;
}

// The header in the window's header strip, as the header itself will draw it: its items, their
// captions and the sort arrow.
void DrawHeader(TCanvas& c, DemoTree& tree, bool themed) {
    const TRect strip = GetHeaderRect(tree.Handle());
    const TVirtualTreeColumns& columns = tree.Header().Columns();
    TThemeServices& themes = ThemeServices();
    auto item = [&](const TRect& r) {
        if (themed) {
            themes.DrawElement(c, TThemeServices::GetElementDetails(thHeaderItemNormal), r, &strip);
            return;
        }
        c.Brush = TBrush{};
        c.Brush.Color = clBtnFace;
        c.FillRect(IntersectRect(r, strip));
        TRect edge = r;
        c.DrawEdge(edge, EDGE_RAISED, BF_RECT);
    };
    int right = strip.Left;
    for (TColumnIndex index : columns.GetVisibleColumns()) {
        const TVirtualTreeColumn& column = columns[index];
        const TRect r{strip.Left + column.Left(), strip.Top,
                      strip.Left + column.Left() + column.Width(), strip.Bottom};
        item(r);
        TRect text = InflateRect(r, -column.Margin(), 0);
        c.Font = tree.Font();
        c.Font.Color = clBtnText;
        c.Brush.Style = bsClear;
        const unsigned align = column.Alignment() == taRightJustify ? DT_RIGHT
                               : column.Alignment() == taCenter     ? DT_CENTER
                                                                    : DT_LEFT;
        if (index == tree.Header().SortColumn()) {
            const TRect arrow{r.Right - 16, r.Top + 4, r.Right - 6, r.Bottom - 4};
            if (themed)
                themes.DrawElement(c, TThemeServices::GetElementDetails(thHeaderSortArrowSortedUp),
                                   arrow);
            else {
                c.Brush = TBrush{};
                c.Brush.Color = clBtnShadow;
                c.Pen = TPen{clBtnShadow};
                const TPoint up[] = {{arrow.Left, arrow.Bottom - 2},
                                     {arrow.Right - 1, arrow.Bottom - 2},
                                     {(arrow.Left + arrow.Right) / 2, arrow.Top + 1}};
                c.Polygon(up);
                c.Brush.Style = bsClear;
            }
            text.Right = arrow.Left - 2;
        }
        c.DrawText(column.Text(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
        right = r.Right;
    }
    if (right < strip.Right) item({right, strip.Top, strip.Right + 2, strip.Bottom});
}

// Every image of every check image set, one set a row, with the set's name.
void DrawCheckSets(TCanvas& c, int left, int top, bool themed) {
    static const std::pair<TCheckImageKind, const char*> kinds[] = {{ckLightCheck, "ckLightCheck"},
                                                                    {ckDarkCheck, "ckDarkCheck"},
                                                                    {ckLightTick, "ckLightTick"},
                                                                    {ckDarkTick, "ckDarkTick"},
                                                                    {ckFlat, "ckFlat"},
                                                                    {ckXP, "ckXP"},
                                                                    {ckSystem, "ckSystem"},
                                                                    {ckSystemFlat, "ckSystemFlat"}};
    c.Font = TFont{};
    c.Brush.Style = bsClear;
    int y = top;
    for (const auto& [kind, name] : kinds) {
        c.TextOut(left, y + 2, name);
        for (int i = 1; i < kCheckImageCount; ++i)
            DrawCheckImage(c, kind, i, left + 100 + 18 * (i - 1), y);
        y += 18;
    }
    if (!themed) return;
    c.TextOut(left, y + 2, "themed");
    for (int i = 1; i < kCheckImageCount; ++i) {
        ThemeServices().DrawElement(c, CheckImageThemeDetails(i),
                                    Bounds(left + 100 + 18 * (i - 1), y, 17, 16));
    }
}

bool Render(DemoTree& tree, bool themed, double ratio, const std::string& path) {
    SetVisualStylesEnabled(themed);
    const TRect window = GetWindowBounds(tree.Handle());
    const int legend = 9 * 18 + 8;
    TBitmap picture(window.Width() + 16, window.Height() + 16 + legend, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    c.SetOrigin(8, 8);
    PaintWindowTo(tree.Handle(), c);
    DrawHeader(c, tree, themed);
    c.SetOrigin(0, 0);
    DrawCheckSets(c, 8, window.Height() + 16, themed);
    return picture.SaveToFile(path);
}

}  // namespace
}  // namespace rv

// Qt keeps a few process-wide allocations until exit on purpose.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libdbus\n";
}

int main(int argc, char** argv) {
    using namespace rv;
    const std::string folder = argc > 1 ? argv[1] : ".";
    test::App();
    TForm form(nullptr);
    form.SetBounds(0, 0, 620, 330);
    auto* tree = new DemoTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 600, 300);
    form.Show();

    TImageList images;
    MakeImages(images);
    tree->SetImages(&images);
    tree->SetNodeDataSize(sizeof(const Entry*));
    tree->SetCheckImageKind(ckXP);
    for (auto [text, width, alignment] : {std::tuple{"Title", 260, taLeftJustify},
                                          {"Year", 50, taRightJustify},
                                          {"Time", 60, taRightJustify},
                                          {"Format", 110, taLeftJustify}}) {
        TVirtualTreeColumn& column = tree->Header().Columns().Add();
        column.SetText(text);
        column.SetWidth(width);
        column.SetAlignment(alignment);
    }
    tree->Header().SetOptions(tree->Header().Options() + TVTHeaderOptions{hoVisible});
    tree->Header().SetSortColumn(0);
    TStringTreeOptions& options = tree->TreeOptions();
    options.SetPaintOptions(options.PaintOptions() +
                            TVTPaintOptions{toShowHorzGridLines, toShowVertGridLines, toHotTrack});
    options.SetSelectionOptions({toMultiSelect, toExtendedFocus});
    options.SetMiscOptions(options.MiscOptions() + TVTMiscOptions{toCheckSupport});
    tree->OnGetText = [](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex column,
                         TVSTTextType, std::string& text) {
        const Entry& e = EntryOf(s, n);
        text = column == 1 ? e.year : column == 2 ? e.time : column == 3 ? e.format : e.title;
    };
    tree->OnGetImageIndex = [](TBaseVirtualTree* s, PVirtualNode n, TVTImageKind kind,
                               TColumnIndex column, bool&, int& index) {
        if (column <= 0 && (kind == ikNormal || kind == ikSelected)) index = EntryOf(s, n).image;
    };

    std::vector<PVirtualNode> all;
    AddEntries(*tree, nullptr, Library(), all);
    tree->FullExpand();
    // all: 0 Miles, 1 Kind of Blue, 2 So What, 3 Freddie, 4 Blue in Green, 5 Sketches,
    // 6 Nina, 7 Little Girl Blue, 8 Mood Indigo, 9 Don't Smoke, 10 Dvořák, 11 Symphony,
    // 12 Largo, 13 Bill Evans
    tree->SetSelected(all[3], true);
    tree->SetSelected(all[4], true);
    tree->SetFocusedNode(all[4]);
    tree->SetIsDisabled(all[12], true);
    tree->MarkDrop(all[8]);
    tree->MarkHot(all[7]);
    tree->SetFocus();

    int failures = 0;
    for (bool themed : {false, true})
        for (double ratio : {1.0, 2.0}) {
            const std::string path = folder + "/tree_demo_" + (themed ? "themed" : "classic") +
                                     "_" + std::to_string(int(ratio * 100)) + ".png";
            if (Render(*tree, themed, ratio, path))
                std::printf("%s\n", path.c_str());
            else {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                ++failures;
            }
        }
    return failures ? 1 : 0;
}
