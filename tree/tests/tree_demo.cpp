// tree_demo [FOLDER]: renders a string tree — three levels, four columns under a header, a
// selection with the focus, check boxes of every type, images, grid and tree lines, a hot node
// and a drop mark — with the check image sets of every kind below it, into PNG files for a
// person to look at: the classic and the themed look, each at 100 % and at 200 %. Then the
// header in each of its looks (thick and flat buttons, plates, XP, themed) with a hot and a
// pressed column, a disabled one and the sort arrow, and a column being dragged; the tooltip of
// a text that is cut off and a column's hint; the in-place editor open on a node, and on a
// multi-line node; a frame of the toggle animation and of a column's animated resize. Then a
// column of unchecked boxes in both looks; a tree whose cells and hint the application draws, with
// flat scroll bars; a tree read right to left, its vertical bar at the left; and the header with
// parts the application draws itself.

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework/form.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/text/format.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/theme_services.h"
#include "platform/windows/window_host.h"
#include "platform/windows/window_image.h"
#include "tree/check_images.h"
#include "tree/draw_tree.h"
#include "tree/hint_window.h"
#include "tree/string_edit_link.h"
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
    c.SetOrigin(0, 0);
    DrawCheckSets(c, 8, window.Height() + 16, themed);
    return picture.SaveToFile(path);
}

// A point of the header strip (the tree's client X, pixels below the strip's top) on the screen
// and as a client point.
TPoint HeaderOnScreen(DemoTree& tree, int x, int y) {
    const TRect window = GetWindowRect(tree.Handle());
    const TRect strip = tree.HeaderRect();
    return {window.Left + strip.Left + x, window.Top + strip.Top + y};
}

int ColumnMiddle(DemoTree& tree, TColumnIndex column, int shift = 0) {
    const TVirtualTreeColumn& c = tree.Header().Columns()[column];
    return c.Left() + c.Width() / 2 + shift;
}

void Label(TCanvas& c, int x, int y, const char* text) {
    c.Font = TFont{};
    c.Brush.Style = bsClear;
    c.TextOut(x, y, text);
}

// The header strip in each look: first with column 1 hot, column 2 pressed, column 3 disabled and
// the sort arrow on column 0; then with column 0 dragged onto the right half of column 2.
bool RenderHeaders(DemoTree& tree, double ratio, const std::string& path) {
    struct Look {
        const char* name;
        TVTHeaderStyle style;
        bool themed;
    };
    const Look looks[] = {{"hsThickButtons", hsThickButtons, false},
                          {"hsFlatButtons", hsFlatButtons, false},
                          {"hsPlates", hsPlates, false},
                          {"hsXPStyle", hsXPStyle, false},
                          {"themed", hsThickButtons, true}};
    TVTHeader& header = tree.Header();
    TVirtualTreeColumns& columns = header.Columns();
    const int height = header.Height();
    const int width = tree.HeaderRect().Width();
    const int labels = 110, row = height + 10;
    TBitmap picture(labels + width + 16, 16 + 2 * row * int(std::size(looks)), pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    header.SetOptions(header.Options() + TVTHeaderOptions{hoHotTrack, hoShowSortGlyphs});
    columns[3].SetOptions(columns[3].Options() - TVTColumnOptions{coEnabled});
    int y = 8;
    for (const Look& look : looks) {
        SetVisualStylesEnabled(look.themed);
        header.SetStyle(look.style);
        header.SetSortDirection(sdAscending);
        columns.HoverIndex = 1;
        columns.DownIndex = 2;
        Label(c, 8, y + 2, look.name);
        header.PaintHeader(c, Bounds(labels, y, width, height));
        columns.HoverIndex = columns.DownIndex = NoColumn;
        y += row;
        // A drag: pressed on column 0, moved onto the right half of column 2.
        header.SetSortDirection(sdDescending);
        const TPoint press = HeaderOnScreen(tree, ColumnMiddle(tree, 0), height / 2);
        tree.Perform(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(press.X, press.Y));
        tree.Perform(WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(ColumnMiddle(tree, 2, 10), height / 2 - height));
        Label(c, 8, y + 2, "  dragging");
        header.PaintHeader(c, Bounds(labels, y, width, height));
        tree.Perform(WM_KEYDOWN, VK_ESCAPE, 1);
        y += row;
    }
    columns[3].SetOptions(columns[3].Options() + TVTColumnOptions{coEnabled});
    header.SetStyle(hsThickButtons);
    header.SetSortDirection(sdAscending);
    return picture.SaveToFile(path);
}

// The tree with a window of its own laid over it where the screen has it.
void DrawWindowOver(TCanvas& c, DemoTree& tree, HWND over, double ratio) {
    const TRect base = GetWindowRect(tree.Handle());
    const TRect r = GetWindowRect(over);
    c.Draw(r.Left - base.Left, r.Top - base.Top, WindowImage(over, ratio));
}

// The tooltip of a title that its column cuts off, then a column's hint over the header.
bool RenderHint(DemoTree& tree, PVirtualNode cutOff, double ratio, const std::string& path) {
    SetVisualStylesEnabled(false);
    tree.ShowHint = true;
    tree.SetHintAnimation(hatNone);
    tree.SetHintMode(hmTooltip);
    TVTHeader& header = tree.Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoShowHint});
    header.Columns()[2].SetHint("Playing time of the track");
    const TRect window = GetWindowBounds(tree.Handle());
    TBitmap picture(window.Width() + 100, 2 * window.Height() + 24, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    const TRect text = tree.GetDisplayRect(cutOff, 0, true);
    const TPoint points[] = {{text.Left + 20, (text.Top + text.Bottom) / 2},
                             {ColumnMiddle(tree, 2), -header.Height() / 2}};
    bool shown = true;
    for (int i = 0; i < 2; ++i) {
        tree.CancelHint();
        THintInfo info;
        info.CursorPos = points[i];
        tree.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        shown = shown && tree.HintWindow().Visible();
        const int top = 8 + i * (window.Height() + 8);
        c.SetOrigin(8, top);
        PaintWindowTo(tree.Handle(), c);
        DrawWindowOver(c, tree, tree.HintWindow().Handle(), ratio);
        c.SetOrigin(0, 0);
    }
    tree.CancelHint();
    tree.SetHintMode(hmDefault);
    return shown && picture.SaveToFile(path);
}

// The editor open on `node` with `text` in it (a multi-line node: 40 pixels high, over its cell),
// as the screen shows it.
bool RenderEditor(DemoTree& tree, PVirtualNode node, bool multiLine, const std::string& text,
                  double ratio, const std::string& path) {
    SetVisualStylesEnabled(false);
    TStringTreeOptions& options = tree.TreeOptions();
    options.SetMiscOptions(options.MiscOptions() + TVTMiscOptions{toEditable});
    if (multiLine) {
        node->Include(nsMultiline);
        tree.SetNodeHeight(node, 40);
    }
    const bool opened = tree.EditNode(node, 0);
    auto* link = dynamic_cast<TStringEditLink*>(tree.EditLink());
    if (!opened || !link) return false;
    link->Edit()->SetText(text);
    test::App().ProcessMessages();
    const TRect window = GetWindowBounds(tree.Handle());
    TBitmap picture(window.Width() + 16, window.Height() + 16, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    c.Draw(8, 8, WindowImage(tree.Handle(), ratio));
    tree.CancelEditNode();
    if (multiLine) {
        node->Exclude(nsMultiline);
        tree.SetNodeHeight(node, tree.DefaultNodeHeight());
    }
    options.SetMiscOptions(options.MiscOptions() - TVTMiscOptions{toEditable});
    return picture.SaveToFile(path);
}

// Ten unchecked boxes under each other, with tree and grid lines, classic and themed.
bool RenderUncheckedBoxes(double ratio, const std::string& path) {
    TBitmap picture(2 * 160 + 24, 10 * 18 + 16, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    for (bool themed : {false, true}) {
        SetVisualStylesEnabled(themed);
        DemoTree tree(nullptr);
        tree.SetBounds(0, 0, 160, 200);
        tree.SetColor(clWindow);
        tree.SetNodeDataSize(sizeof(const Entry*));
        TStringTreeOptions& options = tree.TreeOptions();
        options.SetMiscOptions(options.MiscOptions() + TVTMiscOptions{toCheckSupport});
        options.SetPaintOptions(options.PaintOptions() + TVTPaintOptions{toShowHorzGridLines});
        tree.OnGetText = [](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex, TVSTTextType,
                            std::string& text) { text = "Track " + std::to_string(n->Index + 1); };
        for (int i = 0; i < 10; ++i) tree.SetCheckType(tree.AddChild(nullptr), ctCheckBox);
        tree.PaintTree(c, {0, 0, 160, 10 * 18}, {8 + (themed ? 168 : 0), 8}, kWindowPaintOptions);
    }
    return picture.SaveToFile(path);
}

// A tree whose cells the application draws (a swatch and a name, as wide as it says), with flat
// scroll bars, and its hint over the third row; beside it a tree of one column read right to left,
// with 3-D flat bars.
bool RenderDrawnAndRightToLeft(double ratio, const std::string& path) {
    SetVisualStylesEnabled(false);
    TForm form(nullptr);
    form.SetBounds(0, 0, 460, 200);
    static const std::pair<TColor, const char*> swatches[] = {
        {RGB(0xC0, 0x30, 0x30), "Crimson"}, {RGB(0x30, 0x90, 0x40), "Forest"},
        {RGB(0x30, 0x50, 0xC0), "Cobalt"},  {RGB(0xE0, 0xA0, 0x20), "Amber"},
        {RGB(0x80, 0x40, 0xA0), "Violet"},  {RGB(0x20, 0x20, 0x20), "Ink"}};
    auto* drawn = new TVirtualDrawTree(&form);
    drawn->SetParent(&form);
    drawn->SetBounds(0, 0, 200, 160);
    drawn->SetNodeDataSize(sizeof(int));
    drawn->ScrollBarOptions().SetScrollBarStyle(sbmFlat);
    drawn->OnGetNodeWidth = [](TCustomVirtualDrawTree*, TCanvas& canvas, PVirtualNode node,
                               TColumnIndex, int& width) {
        width = 20 + canvas.TextWidth(swatches[node->Index % 6].second) + 4;
    };
    drawn->OnDrawNode = [](TCustomVirtualDrawTree*, const TVTPaintInfo& info) {
        TCanvas& canvas = *info.Canvas;
        const auto& [color, name] = swatches[info.Node->Index % 6];
        const int top = info.CellRect.Top + 3;
        canvas.Pen = TPen{clBlack};
        canvas.Brush = TBrush{};
        canvas.Brush.Color = color;
        canvas.Rectangle(info.ContentRect.Left, top, info.ContentRect.Left + 16, top + 12);
        canvas.Brush.Style = bsClear;
        canvas.TextOut(info.ContentRect.Left + 20, top - 1, name);
    };
    // Its hint, sized and drawn by the application: a large swatch with the colour's name and
    // value.
    drawn->ShowHint = true;
    drawn->Hint = "swatch";
    drawn->SetHintMode(hmHint);
    drawn->SetHintAnimation(hatNone);
    drawn->OnGetHintSize = [](TCustomVirtualDrawTree*, PVirtualNode, TColumnIndex, TRect& r) {
        r = {0, 0, 130, 40};
    };
    drawn->OnDrawHint = [](TCustomVirtualDrawTree*, TCanvas& canvas, PVirtualNode node,
                           const TRect& r, TColumnIndex) {
        if (!node) return;
        const auto& [color, name] = swatches[node->Index % 6];
        canvas.Pen = TPen{clBlack};
        canvas.Brush.Color = color;
        canvas.Rectangle(r.Left + 6, r.Top + 6, r.Left + 34, r.Bottom - 6);
        canvas.Brush.Style = bsClear;
        canvas.TextOut(r.Left + 42, r.Top + 5, name);
        canvas.TextOut(
            r.Left + 42, r.Top + 20,
            Format("#%.2X%.2X%.2X", GetRValue(color), GetGValue(color), GetBValue(color)));
    };
    for (int i = 0; i < 12; ++i) {
        PVirtualNode n = drawn->AddChild(nullptr);
        if (i % 4 == 0) drawn->AddChild(n);
    }
    drawn->FullExpand();

    auto* rtl = new DemoTree(&form);
    rtl->SetParent(&form);
    rtl->SetBounds(220, 0, 220, 160);
    rtl->SetNodeDataSize(sizeof(int));
    rtl->SetBiDiMode(bdRightToLeft);
    rtl->SetAlignment(taRightJustify);
    rtl->ScrollBarOptions().SetScrollBarStyle(sbm3D);
    // One column under a header: the vertical bar at the left takes the strip's start too.
    TVirtualTreeColumn& albums = rtl->Header().Columns().Add();
    albums.SetText("Albums");
    albums.SetWidth(180);
    albums.SetAlignment(taRightJustify);
    rtl->Header().SetOptions(rtl->Header().Options() + TVTHeaderOptions{hoVisible});
    TStringTreeOptions& options = rtl->TreeOptions();
    options.SetMiscOptions(options.MiscOptions() + TVTMiscOptions{toCheckSupport});
    rtl->OnGetText = [](TCustomVirtualStringTree* sender, PVirtualNode n, TColumnIndex,
                        TVSTTextType, std::string& text) {
        text = (sender->GetNodeLevel(n) == 0 ? "Album " : "Track ") + std::to_string(n->Index + 1);
    };
    for (int i = 0; i < 5; ++i) {
        PVirtualNode album = rtl->AddChild(nullptr);
        rtl->SetCheckType(album, ctTriStateCheckBox);
        for (int t = 0; t < 3; ++t) rtl->SetCheckType(rtl->AddChild(album), ctCheckBox);
    }
    rtl->FullExpand();
    rtl->SetSelected(rtl->GetFirst()->FirstChild, true);
    rtl->SetFocusedNode(rtl->GetFirst()->FirstChild);
    form.Show();
    test::App().ProcessMessages();
    TBitmap picture(form.Width() + 16, 176, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    c.Draw(8, 8, WindowImage(drawn->Handle(), ratio));
    c.Draw(8 + 220, 8, WindowImage(rtl->Handle(), ratio));
    // The hint of the third row, where the screen has it.
    THintInfo info;
    info.CursorPos = {40, 2 * 18 + 9};
    drawn->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    const HWND hint = drawn->HintWindow().Handle();
    const TRect base = GetWindowRect(drawn->Handle());
    const TRect at = GetWindowRect(hint);
    c.Draw(8 + at.Left - base.Left, 8 + at.Top - base.Top, WindowImage(hint, ratio));
    const bool shown = drawn->HintWindow().Visible();
    drawn->CancelHint();
    return shown && picture.SaveToFile(path);
}

// The header with parts the application draws: the title column's background and the format
// column's caption, the rest the header's own.
bool RenderOwnerDrawnHeader(DemoTree& tree, double ratio, const std::string& path) {
    SetVisualStylesEnabled(false);
    TVTHeader& header = tree.Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoOwnerDraw, hoShowSortGlyphs});
    tree.OnHeaderDrawQueryElements = [](TVTHeader*, THeaderPaintInfo& info,
                                        THeaderPaintElements& elements) {
        if (!info.Column)
            elements = {hpeBackground};
        else if (info.Column->Index() == 0)
            elements = {hpeBackground};
        else if (info.Column->Index() == 3)
            elements = {hpeText};
    };
    tree.OnAdvancedHeaderDraw = [](TVTHeader*, THeaderPaintInfo& info,
                                   THeaderPaintElements elements) {
        TCanvas& c = *info.TargetCanvas;
        if (elements.Contains(hpeBackground)) {
            const TRect r = info.PaintRectangle;
            for (int y = r.Top; y < r.Bottom; ++y) {
                const int shade = 0xF0 - 0x50 * (y - r.Top) / std::max(1, r.Height());
                FillSolid(c, {r.Left, y, r.Right, y + 1}, RGB(shade, shade, 0xFF));
            }
        }
        if (elements.Contains(hpeText)) {
            c.Font.Style = fsBold | fsItalic;
            c.Font.Color = RGB(0x80, 0x20, 0x20);
            c.Brush.Style = bsClear;
            TRect text = info.TextRectangle;
            text.Right = info.PaintRectangle.Right;
            c.DrawText(info.Column->Text(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    };
    const int width = tree.HeaderRect().Width(), height = header.Height();
    TBitmap picture(width + 16, height + 16, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    header.PaintHeader(c, Bounds(8, 8, width, height));
    header.SetOptions(header.Options() - TVTHeaderOptions{hoOwnerDraw});
    tree.OnHeaderDrawQueryElements = nullptr;
    tree.OnAdvancedHeaderDraw = nullptr;
    return picture.SaveToFile(path);
}

// The toggle animation and a column's animated resize part of the way: the rows below an
// opening node sliding down over the strip they uncover, then the columns right of a widened one
// sliding right, header included.
bool RenderAnimations(DemoTree& tree, PVirtualNode node, double ratio, const std::string& path) {
    SetVisualStylesEnabled(false);
    TStringTreeOptions& options = tree.TreeOptions();
    tree.SetExpanded(node, false);
    options.SetAnimationOptions({toAnimatedToggle});
    const TRect window = GetWindowBounds(tree.Handle());
    TBitmap picture(window.Width() + 16, 2 * window.Height() + 24, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, picture.Width(), picture.Height()});
    const auto frame = [&](int ticks, int top) {
        for (int i = 0; i < ticks && tree.Slide(); ++i)
            tree.Perform(WM_TIMER, TBaseVirtualTree::kAnimationTimer);
        const bool sliding = tree.Slide() != nullptr;
        c.SetOrigin(8, top);
        PaintWindowTo(tree.Handle(), c);
        c.SetOrigin(0, 0);
        tree.FinishSlide();
        return sliding;
    };
    tree.ToggleNode(node);
    const bool toggled = frame(5, 8);
    TVirtualTreeColumn& column = tree.Header().Columns()[1];
    const int width = column.Width();
    tree.Header().Columns().AnimatedResize(1, width + 96);
    const bool resized = frame(2, 16 + window.Height());
    column.SetWidth(width);
    options.SetAnimationOptions({});
    return toggled && resized && picture.SaveToFile(path);
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
    const auto report = [&](bool written, const std::string& path) {
        if (written) {
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
    };
    for (double ratio : {1.0, 2.0}) {
        const std::string scale = Format("_%d.png", int(ratio * 100));
        for (bool themed : {false, true}) {
            const std::string path =
                folder + "/tree_demo_" + (themed ? "themed" : "classic") + scale;
            report(Render(*tree, themed, ratio, path), path);
        }
        report(RenderHeaders(*tree, ratio, folder + "/tree_demo_headers" + scale),
               folder + "/tree_demo_headers" + scale);
        report(RenderHint(*tree, all[11], ratio, folder + "/tree_demo_hint" + scale),
               folder + "/tree_demo_hint" + scale);
        const std::string editor = folder + "/tree_demo_editor" + scale;
        report(RenderEditor(*tree, all[2], false, "So What (take 2)", ratio, editor), editor);
        const std::string multi = folder + "/tree_demo_editor_multiline" + scale;
        report(RenderEditor(*tree, all[11], true,
                            "Symphony No. 9 \"From the New World\"\nSecond line, typed in place",
                            ratio, multi),
               multi);
        const std::string boxes = folder + "/tree_demo_unchecked" + scale;
        report(RenderUncheckedBoxes(ratio, boxes), boxes);
        const std::string drawn = folder + "/tree_demo_drawn_rtl" + scale;
        report(RenderDrawnAndRightToLeft(ratio, drawn), drawn);
        const std::string owner = folder + "/tree_demo_header_parts" + scale;
        report(RenderOwnerDrawnHeader(*tree, ratio, owner), owner);
        const std::string animations = folder + "/tree_demo_animations" + scale;
        report(RenderAnimations(*tree, all[1], ratio, animations), animations);
    }
    return failures ? 1 : 0;
}
