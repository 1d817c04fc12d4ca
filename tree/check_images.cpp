// The check, radio and push-button images of the tree, drawn by our own code in each of the
// looks the tree offers.

#include "tree/check_images.h"
#include "tree/paint_types.h"

#include <array>

#include "platform/graphics/bitmap.h"

namespace rv {
namespace {

enum class Look { Normal, Hot, Pressed, Disabled };

// The colours of one look of a set.
struct Palette {
    TColor frame;       // the box's outline
    TColor face;        // inside the box
    TColor mark;        // the check, the dot, the mixed square
    TColor innerFrame;  // a second outline inside the first (clNone: none)
    bool sunken;        // a 3-D sunken edge instead of the outline
};

Palette PaletteOf(TCheckImageKind kind, Look look) {
    const bool hot = look == Look::Hot, pressed = look == Look::Pressed,
               disabled = look == Look::Disabled;
    const TColor greyMark = RGB(0xA0, 0xA0, 0xA0);
    switch (kind) {
        case ckDarkCheck:
        case ckDarkTick:
            return {disabled ? clBtnShadow : clBlack,
                    pressed    ? RGB(0xA8, 0xA8, 0xA8)
                    : hot      ? RGB(0xD8, 0xD8, 0xD8)
                    : disabled ? RGB(0xE4, 0xE4, 0xE4)
                               : RGB(0xC8, 0xC8, 0xC8),
                    disabled ? greyMark : RGB(0x00, 0x00, 0x60), clNone, false};
        case ckFlat:
        case ckSystemFlat:
            return {disabled ? clBtnShadow
                    : hot    ? clHighlight
                             : clWindowFrame,
                    pressed || disabled ? clBtnFace : clWindow, disabled ? greyMark : clWindowText,
                    clNone, false};
        case ckXP:
            return {disabled ? RGB(0xCA, 0xC8, 0xBB) : RGB(0x1C, 0x51, 0x80),
                    pressed    ? RGB(0xB0, 0xB0, 0xA7)
                    : disabled ? RGB(0xFF, 0xFF, 0xFF)
                               : RGB(0xF4, 0xF4, 0xF0),
                    disabled ? RGB(0xCA, 0xC8, 0xBB) : RGB(0x21, 0xA1, 0x21),
                    hot ? RGB(0xF8, 0xB3, 0x30) : clNone, false};
        case ckSystem:
            return {clNone, pressed || disabled ? clBtnFace : clWindow,
                    disabled ? clBtnShadow : clWindowText, clNone, true};
        default:  // the light sets
            return {disabled ? RGB(0xC0, 0xC0, 0xC0) : RGB(0x80, 0x80, 0x80),
                    pressed    ? RGB(0xD4, 0xD0, 0xC8)
                    : hot      ? RGB(0xE8, 0xF0, 0xFF)
                    : disabled ? RGB(0xF4, 0xF4, 0xF4)
                               : clWhite,
                    disabled ? greyMark : clBlack, clNone, false};
    }
}

// The square box, 13 × 13 pixels from (x + 1, y + 1).
void DrawBox(TCanvas& c, const Palette& p, int x, int y) {
    TRect box = Bounds(x + 1, y + 1, 13, 13);
    if (p.sunken) {
        c.DrawEdge(box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolid(c, box, p.face);
        return;
    }
    FillSolid(c, box, p.frame);
    box = InflateRect(box, -1, -1);
    if (p.innerFrame != clNone) {
        FillSolid(c, box, p.innerFrame);
        box = InflateRect(box, -1, -1);
    }
    FillSolid(c, box, p.face);
}

// The bold check: three pixels high, the classic shape, seven columns from x + 4.
void DrawCheck(TCanvas& c, TColor color, int x, int y) {
    static constexpr std::array<int, 7> kTops = {6, 7, 8, 7, 6, 5, 4};
    for (int i = 0; i < 7; ++i) FillSolid(c, Bounds(x + 4 + i, y + kTops[i], 1, 3), color);
}

// The thin tick: a one-pixel line down to the right, then up to the right.
void DrawTick(TCanvas& c, TColor color, int x, int y) {
    c.Pen = TPen{color};
    const TPoint tick[] = {{x + 3, y + 7}, {x + 6, y + 10}, {x + 12, y + 4}};
    c.Polyline(tick);
}

void DrawMixed(TCanvas& c, TColor color, int x, int y) {
    FillSolid(c, Bounds(x + 5, y + 5, 5, 5), color);
}

void DrawRadio(TCanvas& c, const Palette& p, bool checked, int x, int y) {
    c.Pen = TPen{p.sunken ? clBtnShadow : p.frame};
    c.Brush = TBrush{};
    c.Brush.Color = p.face;
    c.Ellipse(Bounds(x + 2, y + 2, 12, 12));
    if (p.innerFrame != clNone) {
        c.Pen = TPen{p.innerFrame};
        c.Brush.Style = bsClear;
        c.Ellipse(Bounds(x + 3, y + 3, 10, 10));
    }
    if (!checked) return;
    c.Pen = TPen{p.mark};
    c.Brush = TBrush{};
    c.Brush.Color = p.mark;
    c.Ellipse(Bounds(x + 6, y + 6, 4, 4));
}

void DrawPushButton(TCanvas& c, Look look, int x, int y) {
    TRect box = Bounds(x + 1, y + 1, 14, 14);
    FillSolid(c, box, look == Look::Hot ? RGB(0xE8, 0xE6, 0xE0) : clBtnFace);
    c.DrawEdge(box, look == Look::Pressed ? EDGE_SUNKEN : EDGE_RAISED,
               BF_RECT | (look == Look::Disabled ? BF_FLAT : 0u));
}

}  // namespace

int CheckImageIndex(TCheckType type, TCheckState state, bool enabled, bool hot) {
    if (type == ctNone) return -1;
    const bool pressed = state != NormalCheckState(state);
    const TCheckState normal = NormalCheckState(state);
    const int look = !enabled ? 3 : pressed ? 2 : hot ? 1 : 0;
    if (type == ctRadioButton) return kFirstRadioImage + (normal == chkChecked ? 4 : 0) + look;
    const int group = normal == chkChecked ? 1 : normal == chkMixed ? 2 : 0;
    return kFirstCheckBoxImage + 4 * group + look;
}

TThemedElementDetails CheckImageThemeDetails(int index) {
    if (index < kFirstCheckBoxImage) return {teButton, BP_RADIOBUTTON, index};
    if (index < kFirstPushButtonImage)
        return {teButton, BP_CHECKBOX, index - kFirstCheckBoxImage + 1};
    return {teButton, BP_PUSHBUTTON, index - kFirstPushButtonImage + 1};
}

void DrawCheckImage(TCanvas& canvas, TCheckImageKind kind, int index, int x, int y) {
    if (kind == ckCustom || index < 1 || index >= kCheckImageCount) return;
    const int saved = canvas.SaveState();
    if (index >= kFirstPushButtonImage) {
        DrawPushButton(canvas, Look(index - kFirstPushButtonImage), x, y);
    } else if (index >= kFirstCheckBoxImage) {
        const int state = index - kFirstCheckBoxImage;
        const Palette p = PaletteOf(kind, Look(state % 4));
        DrawBox(canvas, p, x, y);
        if (state / 4 == 2)
            DrawMixed(canvas, p.mark, x, y);
        else if (state / 4 == 1 && (kind == ckLightTick || kind == ckDarkTick))
            DrawTick(canvas, p.mark, x, y);
        else if (state / 4 == 1)
            DrawCheck(canvas, p.mark, x, y);
    } else {
        const int state = index - kFirstRadioImage;
        DrawRadio(canvas, PaletteOf(kind, Look(state % 4)), state >= 4, x, y);
    }
    canvas.RestoreState(saved);
}

void LoadCheckImages(TImageList& list, TCheckImageKind kind) {
    list.SetSize(kCheckImageSize, kCheckImageSize);
    if (kind == ckCustom) return;
    const TColor key = clFuchsia;
    // Drawn again at the ratio of each canvas the list draws on.
    auto strip = [kind](double ratio) {
        TBitmap picture(kCheckImageSize * kCheckImageCount, kCheckImageSize, pf24bit, ratio);
        TCanvas& c = picture.Canvas();
        c.Brush.Color = key;
        c.FillRect({0, 0, picture.Width(), picture.Height()});
        for (int i = 0; i < kCheckImageCount; ++i)
            DrawCheckImage(c, kind, i, i * kCheckImageSize, 0);
        return picture;
    };
    list.AddMasked(TBitmap::Drawn(strip), key);
}

}  // namespace rv
