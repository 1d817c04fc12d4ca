// What each event of the tree is told and what its answer changes, as a table: every row gives
// a tree its handler, works the tree as the user or the program would (a key, a click, a scroll
// message, a drag, a paint into a bitmap) and says what the handler was told and what the tree
// did then; the table holds what must be said.

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include "platform/framework/menus.h"
#include "platform/text/format.h"
#include "platform/transfer/drag_drop.h"
#include "platform/windows/cursors.h"
#include "platform/windows/tests/toolkit_input.h"
#include "tree/tests/effect_fixture.h"
#include "tree/vt_data_object.h"
#include "tree/vt_drag_manager.h"

namespace rv::test {
namespace {

std::string Rect(const TRect& r) {
    return Format("(%d,%d)-(%d,%d)", r.Left, r.Top, r.Right, r.Bottom);
}

// What the handlers note; it outlives the tree, whose end may still reach a handler.
struct EventLog {
    std::ostringstream seen;
};

struct EventFixture : EventLog, EffectFixture {
    ~EventFixture() { SetDragLoop(nullptr); }

    std::string Id(PVirtualNode n) const { return n ? std::to_string(tree->Id(n)) : "nil"; }
    // A drag of row 1, pressed on its label, that the user cancels at once; `during` runs in
    // the drag loop with the drag's data object and drop source.
    void Drag(
        const std::function<void(const std::shared_ptr<IDataObject>&, IDropSource&)>& during) {
        SetDragLoop([during](HWND, const std::shared_ptr<IDataObject>& data, IDropSource& source,
                             DWORD, DWORD& effect) {
            during(data, source);
            effect = DROPEFFECT_NONE;
            return DRAGDROP_S_CANCEL;
        });
        Press(kLabelX, RowY(1));
        tree->BeginDrag(true);
    }
    // Whether the text of a row (40 pixels from x 22) shows: dark pixels there.
    static bool TextShows(const TBitmap& b, int row) {
        for (int y = row * 18; y < row * 18 + 18; ++y)
            for (int x = kLabelX - 8; x < kLabelX + 32; ++x) {
                const TColor c = b.Pixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) return true;
            }
        return false;
    }
    // A vertical run of pixels, '#' where it has `color`.
    static std::string Column(const TBitmap& b, int x, int top, int bottom, TColor color) {
        std::string s;
        for (int y = top; y < bottom; ++y) s += b.Pixel(x, y) == color ? '#' : '.';
        return s;
    }

    // A painting event of rows (or cells) of two columns whose handler notes what it is told and
    // fills row 0 (its cell in column 0) yellow; then where the yellow lies.
    std::string RowPainting(TVTAfterItemPaintEvent TBaseVirtualTree::*event) {
        Columns(60, 2);
        tree->*event = [this](TBaseVirtualTree*, TCanvas& canvas, PVirtualNode node,
                              const TRect& r) {
            seen << Id(node) << " " << Rect(r) << "; ";
            if (node == nodes[0]) FillSolid(canvas, r, clYellow);
        };
        return YellowOfRowZero();
    }
    std::string CellPainting(TVTCellPaintEvent TBaseVirtualTree::*event) {
        Columns(60, 2);
        tree->*event = [this](TBaseVirtualTree*, TCanvas& canvas, PVirtualNode node,
                              TColumnIndex column, const TRect& r) {
            if (node != nodes[0]) return;
            seen << "column " << column << " " << Rect(r) << "; ";
            if (column == 0) FillSolid(canvas, r, clYellow);
        };
        return YellowOfRowZero();
    }
    std::string YellowOfRowZero() {
        const TBitmap b = Paint();
        seen << (b.Pixel(5, RowY(0)) != clYellow ? "not seen"
                 : TextShows(b, 0)               ? "under the text"
                                                 : "over the text");
        return seen.str();
    }
};

std::string CursorName(TCursor c) {
    return c == crDefault       ? "default"
           : c == crHeaderSplit ? "split"
           : c == crHSplit      ? "split shown"
           : c == crHandPoint   ? "hand"
                                : std::to_string(c);
}

struct EventEffect {
    const char* event;
    std::function<std::string(EventFixture&)> run;
    std::string expected;
};

const EventEffect kEvents[] = {
    {"OnKeyAction",
     [](EventFixture& f) {
         f.tree->MultiSelect();
         f.Select(1);
         f.tree->OnKeyAction = [&f](TBaseVirtualTree*, int& key, TShiftState& shift,
                                    bool& doDefault) {
             f.seen << "key " << key << (shift & ssShift ? " with Shift" : "") << ", ";
             if (key == VK_UP) doDefault = false;
             if (key == VK_DOWN) {
                 key = VK_HOME;
                 shift = 0;
             }
         };
         f.Key(VK_UP);
         f.seen << "focus " << f.Id(f.tree->FocusedNode()) << "; ";
         f.Key(VK_DOWN, ssShift);  // taken for a plain Home
         f.seen << "focus " << f.Id(f.tree->FocusedNode()) << ", selected " << f.Selected();
         return f.seen.str();
     },
     "key 38, focus 1; key 40 with Shift, focus 0, selected 0 "},
    {"OnFocusChanging",
     [](EventFixture& f) {
         f.Columns(60, 2);
         f.Options({toExtendedFocus});
         f.tree->SetFocusedNode(f.nodes[0]);
         bool allow = false;
         f.tree->OnFocusChanging = [&](TBaseVirtualTree*, PVirtualNode from, PVirtualNode to,
                                       TColumnIndex fromColumn, TColumnIndex toColumn,
                                       bool& allowed) {
             f.seen << f.Id(from) << " to " << f.Id(to) << ", column " << fromColumn << " to "
                    << toColumn << (allowed ? "" : " refused") << ": ";
             allowed = allow;
         };
         for (bool answer : {false, true}) {
             allow = answer;
             f.Click(90, f.RowY(2));  // the label in column 1
             f.seen << "focus " << f.Id(f.tree->FocusedNode()) << " in column "
                    << f.tree->FocusedColumn() << "; ";
         }
         f.tree->OnFocusChanging = nullptr;
         return f.seen.str();
     },
     "0 to 2, column 0 to 1: focus 0 in column 0; 0 to 2, column 0 to 1: focus 2 in column 1; "},
    {"OnGetPopupMenu",
     [](EventFixture& f) {
         TPopupMenu own(nullptr), parents(nullptr);
         parents.AutoPopup = false;  // only the tree pops it up, not the form's right click
         f.form.form.SetPopupMenu(&parents);
         TPopupMenu* answer = &own;
         bool askParent = true;
         f.tree->OnGetPopupMenu = [&](TBaseVirtualTree*, PVirtualNode node, TColumnIndex column,
                                      TPoint p, bool& ask, TPopupMenu*& menu) {
             f.seen << "node " << f.Id(node) << " column " << column << " at " << p.X << "," << p.Y
                    << (ask ? " asking the parent" : "") << "; ";
             menu = answer;
             ask = askParent;
         };
         const auto rightClick = [&] {
             f.Press(kLabelX, f.RowY(1), 0, WM_RBUTTONDOWN);
             f.Release(kLabelX, f.RowY(1), 0, WM_RBUTTONUP);
         };
         rightClick();
         const TPoint screen = ClientToScreen(f.tree->Handle(), {kLabelX, f.RowY(1)});
         f.seen << "its menu " << own.PopupCount
                << (own.PopupPoint == screen ? " under the mouse; " : " elsewhere; ");
         answer = nullptr;
         rightClick();
         askParent = false;
         rightClick();
         f.seen << "the parent's " << parents.PopupCount;
         f.tree->OnGetPopupMenu = nullptr;
         f.form.form.SetPopupMenu(nullptr);
         return f.seen.str();
     },
     "node 1 column -1 at 30,27 asking the parent; its menu 1 under the mouse; "
     "node 1 column -1 at 30,27 asking the parent; node 1 column -1 at 30,27 asking the parent; "
     "the parent's 1"},
    {"OnScroll",
     [](EventFixture& f) {
         for (int i = 3; i < 20; ++i) f.tree->Add(nullptr, i);
         f.tree->OnScroll = [&f](TBaseVirtualTree*, int dx, int dy) {
             f.seen << dx << "," << dy << " ";
         };
         for (WPARAM code : {SB_LINEDOWN, SB_PAGEDOWN, SB_TOP})
             f.tree->Perform(WM_VSCROLL, code, 0);
         f.tree->Perform(WM_VSCROLL, SB_TOP, 0);  // no move, no event
         return f.seen.str();
     },
     "0,-20 0,-96 0,116 "},
    {"OnColumnDblClick",
     [](EventFixture& f) {
         f.Columns(60, 2);
         f.tree->OnColumnDblClick = [&f](TBaseVirtualTree*, TColumnIndex column,
                                         TShiftState shift) {
             f.seen << "column " << column << (shift & ssShift ? " with Shift" : "") << "; ";
         };
         // Down, up, double click, up, as the window gets them: in column 1, then with the
         // first press in column 0, which is no double click on a column.
         for (int firstX : {90, 30}) {
             f.Click(firstX, f.RowY(0), ssShift);
             f.Press(90, f.RowY(0), ssShift, WM_LBUTTONDBLCLK);
             f.Release(90, f.RowY(0), ssShift);
         }
         return f.seen.str();
     },
     "column 1 with Shift; "},
    {"OnGetLineStyle, lsCustomStyle",
     [](EventFixture& f) {
         f.tree->OnGetLineStyle = [&f](TBaseVirtualTree*, std::array<std::uint8_t, 8>& bits) {
             f.seen << "asked; ";
             bits = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0};
         };
         // Row 1's line runs through the whole row at x 12.
         f.seen << "dotted " << f.Column(f.Paint(), 12, 18, 36, kButtonShadow) << "; ";
         f.tree->SetLineStyle(lsCustomStyle);
         f.Paint();
         f.seen << "custom " << f.Column(f.Paint(), 12, 18, 36, kButtonShadow);  // y 20, 24 …
         return f.seen.str();
     },
     "dotted #.#.#.#.#.#.#.#.#.; asked; custom ..#...#...#...#..."},
    {"OnGetNodeDataSize",
     [](EventFixture& f) {
         f.tree->Clear();
         f.tree->SetNodeDataSize(-1);
         f.tree->OnGetNodeDataSize = [&f](TBaseVirtualTree*, int& size) {
             f.seen << "asked with " << size << "; ";
             size = 16;
         };
         static const int value = 7;
         try {
             PVirtualNode n = f.tree->AddChild(nullptr, &value);
             f.tree->AddChild(nullptr);
             const void* kept;
             std::memcpy(&kept, f.tree->GetNodeData(n), sizeof kept);
             f.seen << "size " << f.tree->NodeDataSize() << ", "
                    << (kept == &value ? "pointer kept" : "pointer lost");
         } catch (const EVirtualTreeError& e) {
             f.seen << "error " << e.HelpContext;
         }
         return f.seen.str();
     },
     "asked with 0; size 16, pointer kept"},
    {"OnGetCellIsEmpty",
     [](EventFixture& f) {
         f.Columns(60, 2);
         f.tree->SetAuto(toAutoSpanColumns, true);
         f.tree->OnGetText = [](TCustomVirtualStringTree*, PVirtualNode, TColumnIndex column,
                                TVSTTextType,
                                std::string& text) { text.assign(column == 0 ? 1 : 0, 'x'); };
         f.tree->OnGetCellIsEmpty = [&f](TBaseVirtualTree*, PVirtualNode node, TColumnIndex column,
                                         bool& isEmpty) {
             f.seen << "node " << f.Id(node) << " column " << column
                    << (isEmpty ? " empty" : " not empty") << ", ";
             isEmpty = node != f.nodes[1];
         };
         // Column 1 of a row whose cell is empty is taken for the cell it spans from.
         for (int row : {0, 1}) {
             const TColumnIndex hit = f.tree->GetHitTestInfoAt(90, f.RowY(row)).HitColumn;
             f.seen << "hit column " << hit << "; ";
         }
         return f.seen.str();
     },
     "node 0 column 1 empty, hit column 0; node 1 column 1 empty, hit column 1; "},
    {"OnCreateDragManager, OnCreateDataObject",
     [](EventFixture& f) {
         std::shared_ptr<IVTDragManager> manager;
         std::shared_ptr<IDataObject> data;
         f.tree->OnCreateDragManager = [&](TBaseVirtualTree* sender,
                                           std::shared_ptr<IVTDragManager>& made) {
             f.seen << "manager asked; ";
             manager = made = std::make_shared<TVTDragManager>(*sender);
         };
         f.tree->OnCreateDataObject = [&](TBaseVirtualTree* sender,
                                          std::shared_ptr<IDataObject>& made) {
             f.seen << "data asked; ";
             data = made = std::make_shared<TVTDataObject>(*sender, false);
         };
         for (int i = 0; i < 2; ++i)
             f.Drag([&](const std::shared_ptr<IDataObject>& dragged, IDropSource& source) {
                 f.seen << (&source == static_cast<IDropSource*>(manager.get()) ? "its manager"
                                                                                : "another")
                        << (dragged && dragged == data ? " drags its data; " : " drags other; ");
             });
         f.tree->OnCreateDataObject = nullptr;
         f.tree->OnCreateDragManager = nullptr;
         return f.seen.str();
     },
     "manager asked; data asked; its manager drags its data; "
     "data asked; its manager drags its data; "},
    {"DragImageKind",
     [](EventFixture& f) {
         f.Columns(60, 2);
         bool picturing = false;
         f.tree->OnStartDrag = [&](TObject*, std::unique_ptr<TDragObject>&) { picturing = true; };
         f.tree->OnAfterCellPaint = [&](TBaseVirtualTree*, TCanvas&, PVirtualNode node,
                                        TColumnIndex column, const TRect&) {
             if (picturing) f.seen << f.Id(node) << "/" << column << " ";
         };
         // The cells painted into the drag's picture, between its start and its loop.
         for (TVTDragImageKind kind : {diComplete, diMainColumnOnly, diNoImage}) {
             f.tree->SetDragImageKind(kind);
             f.Drag([&](const std::shared_ptr<IDataObject>&, IDropSource&) { picturing = false; });
             f.seen << "; ";
         }
         f.tree->OnAfterCellPaint = nullptr;
         f.tree->OnStartDrag = nullptr;
         return f.seen.str();
     },
     "1/0 1/1 ; 1/0 ; ; "},
    {"OnHeaderMouseMove",
     [](EventFixture& f) {
         f.Columns(60, 3);
         f.tree->OnHeaderMouseMove = [&f](TVTHeader* header, TShiftState shift, int x, int y) {
             f.seen << (header == &f.tree->Header() ? "header " : "? ") << x << "," << y
                    << (shift & ssShift ? " with Shift" : "") << "; ";
         };
         SendToolkitMouse(f.tree->Handle(), ToolkitMouse::Move,
                          {100, 8 - f.tree->Header().Height()}, ToolkitButton::Left, kToolkitShift);
         return f.seen.str();
     },
     "header 100,8 with Shift; "},
    {"OnGetHeaderCursor",
     [](EventFixture& f) {
         f.Columns(60, 3);
         f.tree->OnGetHeaderCursor = [&f](TVTHeader*, TCursor& cursor) {
             f.seen << CursorName(cursor) << " asked, ";
             if (cursor == crDefault) cursor = crHandPoint;
         };
         // On column 1, then on the splitter right of column 0.
         for (int x : {100, 58}) {
             SendToolkitMouse(f.tree->Handle(), ToolkitMouse::Move,
                              {x, 8 - f.tree->Header().Height()});
             f.seen << CursorName(GetWindowCursorShown(f.tree->Handle())) << "; ";
         }
         return f.seen.str();
     },
     "default asked, hand; split asked, split shown; "},
    {"OnBeforePaint",
     [](EventFixture& f) {
         TBitmap b(120, 40, pf24bit);
         f.tree->OnBeforePaint = [&](TBaseVirtualTree*, TCanvas& canvas) {
             f.seen << (&canvas == &b.Canvas() ? "the target; " : "another canvas; ");
             FillSolid(canvas, {0, 0, 120, 40}, clRed);
         };
         f.tree->PaintTree(b.Canvas(), {0, 0, 120, 40}, {0, 0}, kWindowPaintOptions);
         f.seen << (CountColor(b, {0, 0, 120, 40}, clRed) ? "seen" : "painted over");
         f.tree->OnBeforePaint = nullptr;
         return f.seen.str();
     },
     "the target; painted over"},
    {"OnBeforeItemErase, eaColor, eaNone",
     [](EventFixture& f) {
         // A blue background picture, which the tree's own erasing tiles into a row.
         f.tree->SetBackground(Filled(8, 8, clBlue));
         f.Paint(toShowBackground);
         f.tree->OnBeforeItemErase = [&f](TBaseVirtualTree*, TCanvas& canvas, PVirtualNode node,
                                          const TRect& r, TColor& color, TItemEraseAction& action) {
             f.seen << f.Id(node) << " " << Rect(r) << (color == clWhite ? " white" : " ?")
                    << (action == eaDefault ? " default; " : " ?; ");
             if (node == f.nodes[0]) {
                 color = clLime;
                 action = eaColor;
             } else if (node == f.nodes[1]) {
                 FillSolid(canvas, r, clRed);  // the handler's own background
                 action = eaNone;
             }
         };
         const TBitmap b = f.Paint();
         for (int row : {0, 1, 2})
             f.seen << (b.Pixel(150, f.RowY(row)) == clLime   ? "lime "
                        : b.Pixel(150, f.RowY(row)) == clRed  ? "red "
                        : b.Pixel(150, f.RowY(row)) == clBlue ? "picture "
                                                              : "other ");
         return f.seen.str();
     },
     "0 (0,0)-(196,18) white default; 1 (0,0)-(196,18) white default; "
     "2 (0,0)-(196,18) white default; lime red picture "},
    {"OnAfterItemErase",
     [](EventFixture& f) { return f.RowPainting(&TBaseVirtualTree::OnAfterItemErase); },
     "0 (0,0)-(196,18); 1 (0,0)-(196,18); 2 (0,0)-(196,18); under the text"},
    {"OnBeforeCellPaint",
     [](EventFixture& f) { return f.CellPainting(&TBaseVirtualTree::OnBeforeCellPaint); },
     "column 0 (0,0)-(60,18); column 1 (60,0)-(120,18); under the text"},
    {"OnAfterCellPaint",
     [](EventFixture& f) { return f.CellPainting(&TBaseVirtualTree::OnAfterCellPaint); },
     "column 0 (0,0)-(60,18); column 1 (60,0)-(120,18); over the text"},
    {"OnAfterItemPaint",
     [](EventFixture& f) { return f.RowPainting(&TBaseVirtualTree::OnAfterItemPaint); },
     "0 (0,0)-(196,18); 1 (0,0)-(196,18); 2 (0,0)-(196,18); over the text"},
    {"SelectionCurveRadius",
     [](EventFixture& f) {
         f.Select(1, 0);  // the focus rectangle goes elsewhere
         for (std::uint32_t radius : {0u, 8u}) {
             f.tree->SetSelectionCurveRadius(radius);
             const TBitmap b = f.Paint();
             // The selection's top-left corner and a point inside it.
             f.seen << radius << ": corner "
                    << (b.Pixel(22, 18) == kHighlight ? "highlight" : "tree colour") << ", inside "
                    << (b.Pixel(40, 20) == kHighlight ? "highlight" : "other") << "; ";
         }
         return f.seen.str();
     },
     "0: corner highlight, inside highlight; 8: corner tree colour, inside highlight; "},
    {"lmBands",
     [](EventFixture& f) {
         f.Paint(toShowHorzGridLines);
         for (TVTLineMode mode : {lmNormal, lmBands}) {
             f.tree->SetLineMode(mode);
             for (bool grid : {true, false}) {
                 const TBitmap b =
                     f.Paint(grid ? kWindowPaintOptions : kWindowPaintOptions & ~poGridLines);
                 // Row 1: the tree line through its level's middle, the band at the level's left
                 // edge, and the grid line on the row's last pixel row.
                 int gridFrom = 0;
                 while (gridFrom < 40 && b.Pixel(gridFrom, 35) != kButtonFace) ++gridFrom;
                 f.seen << (mode == lmBands ? "bands" : "normal") << (grid ? "" : " ungridded")
                        << ": line " << f.Column(b, 12, 18, 28, kButtonShadow) << ", band "
                        << f.Column(b, 4, 18, 28, kButtonFace) << ", grid from " << gridFrom
                        << "; ";
             }
         }
         return f.seen.str();
     },
     "normal: line #.#.#.#.#., band .........., grid from 1; "
     "normal ungridded: line #.#.#.#.#., band .........., grid from 40; "
     "bands: line .........., band #.#.#.#.#., grid from 23; "
     "bands ungridded: line .........., band .........., grid from 40; "},
    {"fmShaded",
     [](EventFixture& f) {
         f.tree->TreeOptions().SetPaintOptions(f.tree->TreeOptions().PaintOptions() -
                                               TVTPaintOptions{toThemeAware});
         f.tree->Add(f.nodes[0], 3);
         for (TVTButtonFillMode mode : {fmTreeColor, fmShaded}) {
             f.tree->SetButtonFillMode(mode);
             const TBitmap b = f.Paint();
             // Row 0's button, 9 × 9 from (8, 5): its frame, and its inside at the top and the
             // bottom.
             f.seen << std::hex << "frame " << b.Pixel(8, 5) << ", inside " << b.Pixel(9, 6)
                    << " to " << b.Pixel(9, 12) << std::dec << "; ";
         }
         return f.seen.str();
     },
     // The tree line colour around the tree's colour; then a frame of its own around a shade
     // from white down.
     "frame 808080, inside ffffff to ffffff; frame a8927a, inside ffffff to b2c2c6; "},
    {"isInitializedOnly",
     [](EventFixture& f) {
         f.tree->Names = {"apple", "banana", "cherry", "date"};
         f.tree->SetIncrementalSearchStart(ssAlwaysStartOver);
         f.tree->OnInitNode = [&f](TBaseVirtualTree*, PVirtualNode parent, PVirtualNode node,
                                   TVirtualNodeInitStates& states) {
             if (node == f.nodes[0]) states |= ivsHasChildren;
             if (parent) f.tree->SetId(node, 3);
         };
         f.tree->OnInitChildren = [&f](TBaseVirtualTree*, PVirtualNode, std::uint32_t& count) {
             f.seen << "children made, ";
             count = 1;
         };
         f.tree->ReinitNode(f.nodes[0], false);  // it has children now, none made yet
         for (TVTIncrementalSearch mode : {isInitializedOnly, isAll}) {
             f.tree->SetIncrementalSearch(mode);
             f.Type("d");
             f.seen << "focus " << f.Id(f.tree->FocusedNode()) << "; ";
             f.tree->Perform(WM_TIMER, TBaseVirtualTree::kSearchTimer, 0);
         }
         return f.seen.str();
     },
     "focus nil; children made, focus 3; "},
};

TEST(TreeEventEffects, EachEventIsToldWhatItsRowSaysAndItsAnswerCounts) {
    for (const EventEffect& e : kEvents) {
        SCOPED_TRACE(e.event);
        EventFixture f;
        App().ProcessMessages();
        EXPECT_EQ(e.run(f), e.expected);
    }
}

}  // namespace
}  // namespace rv::test
