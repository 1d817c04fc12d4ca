// Theme elements drawn by the toolkit's style: buttons, check boxes and radio buttons, header
// items and sort arrows, tree items and their expand glyphs, edit fields and the themed border.

#include <QApplication>
#include <QStyle>
#include <QStyleOption>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/theme_services.h"

namespace rv {
namespace {

// Normal, hot, pressed and disabled, as the button states count them within each group of four.
QStyle::State ButtonState(int stateInGroup) {
    switch (stateInGroup) {
        case 1:
            return QStyle::State_Enabled | QStyle::State_MouseOver;
        case 2:
            return QStyle::State_Enabled | QStyle::State_Sunken;
        case 3:
            return QStyle::State_None;
        default:
            return QStyle::State_Enabled;
    }
}

// The style's indicator of a check box or radio button, centred in `box`.
QRect IndicatorRect(const QRect& box, QStyle::PixelMetric width, QStyle::PixelMetric height) {
    QStyle* style = QApplication::style();
    const int w = std::min(box.width(), style->pixelMetric(width));
    const int h = std::min(box.height(), style->pixelMetric(height));
    return QRect(box.left() + (box.width() - w) / 2, box.top() + (box.height() - h) / 2, w, h);
}

bool DrawButton(QPainter& p, const QRect& r, int part, int state) {
    QStyle* style = QApplication::style();
    QStyleOptionButton o;
    o.palette = QApplication::palette();
    if (part == BP_PUSHBUTTON && state >= 1 && state <= 5) {
        o.rect = r;
        o.state = ButtonState((state - 1) % 4) | QStyle::State_Raised;
        if (state == 5) o.features = QStyleOptionButton::DefaultButton;
        style->drawControl(QStyle::CE_PushButtonBevel, &o, &p, nullptr);
        return true;
    }
    if (part == BP_RADIOBUTTON && state >= 1 && state <= 8) {
        o.rect = IndicatorRect(r, QStyle::PM_ExclusiveIndicatorWidth,
                               QStyle::PM_ExclusiveIndicatorHeight);
        o.state =
            ButtonState((state - 1) % 4) | (state >= 5 ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &o, &p, nullptr);
        return true;
    }
    if (part == BP_CHECKBOX && state >= 1 && state <= 12) {
        o.rect = IndicatorRect(r, QStyle::PM_IndicatorWidth, QStyle::PM_IndicatorHeight);
        const int group = (state - 1) / 4;
        o.state = ButtonState((state - 1) % 4) | (group == 0   ? QStyle::State_Off
                                                  : group == 1 ? QStyle::State_On
                                                               : QStyle::State_NoChange);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &o, &p, nullptr);
        return true;
    }
    return false;
}

bool DrawHeader(QPainter& p, const QRect& r, int part, int state) {
    QStyle* style = QApplication::style();
    QStyleOptionHeader o;
    o.palette = QApplication::palette();
    o.rect = r;
    o.orientation = Qt::Horizontal;
    if (part >= HP_HEADERITEM && part <= HP_HEADERITEMRIGHT && state >= 1 && state <= 3) {
        o.state = ButtonState(state - 1) | QStyle::State_Raised | QStyle::State_Horizontal;
        o.position = part == HP_HEADERITEMLEFT    ? QStyleOptionHeader::Beginning
                     : part == HP_HEADERITEMRIGHT ? QStyleOptionHeader::End
                                                  : QStyleOptionHeader::Middle;
        style->drawControl(QStyle::CE_HeaderSection, &o, &p, nullptr);
        return true;
    }
    if (part == HP_HEADERSORTARROW && (state == 1 || state == 2)) {
        o.state = QStyle::State_Enabled;
        o.sortIndicator = state == 1 ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
        style->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &o, &p, nullptr);
        return true;
    }
    return false;
}

bool DrawTreeview(QPainter& p, const QRect& r, int part, int state) {
    QStyle* style = QApplication::style();
    if (part == TVP_GLYPH && (state == 1 || state == 2)) {
        QStyleOption o;
        o.palette = QApplication::palette();
        o.rect = r;
        o.state = QStyle::State_Enabled | QStyle::State_Children | QStyle::State_Item;
        if (state == 2) o.state |= QStyle::State_Open;
        style->drawPrimitive(QStyle::PE_IndicatorBranch, &o, &p, nullptr);
        return true;
    }
    if (part == TVP_TREEITEM && state >= 1 && state <= 5) {
        QStyleOptionViewItem o;
        o.palette = QApplication::palette();
        o.rect = r;
        o.state = state == 4 ? QStyle::State_None : QStyle::State_Enabled;
        if (state == 2) o.state |= QStyle::State_MouseOver;
        if (state == 3) o.state |= QStyle::State_Selected | QStyle::State_Active;
        if (state == 5) o.state |= QStyle::State_Selected;
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, &p, nullptr);
        return true;
    }
    return false;
}

bool DrawEdit(QPainter& p, const QRect& r, int part, int state) {
    if (part != EP_EDITTEXT || state < 1 || state > 7) return false;
    QStyleOptionFrame o;
    o.palette = QApplication::palette();
    o.rect = r;
    o.lineWidth = QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    o.state = state == 4 ? QStyle::State_None : QStyle::State_Enabled;
    if (state == 2) o.state |= QStyle::State_MouseOver;
    if (state == 5) o.state |= QStyle::State_HasFocus;
    if (state == 6) o.state |= QStyle::State_ReadOnly;
    QApplication::style()->drawPrimitive(QStyle::PE_PanelLineEdit, &o, &p, nullptr);
    return true;
}

}  // namespace

bool TThemeServices::DrawElement(TCanvas& canvas, const TThemedElementDetails& details,
                                 const TRect& r, const TRect* clip) const {
    if (!available_ || r.IsEmpty()) return false;
    CanvasImpl& impl = canvas.Impl();
    const QRect device = ToQRect(OffsetRect(r, impl.origin.x(), impl.origin.y()));
    QRegion visible = impl.VisibleRegion();
    if (clip) visible &= ToQRect(OffsetRect(*clip, impl.origin.x(), impl.origin.y()));
    QPainter& p = impl.Painter();
    p.save();
    p.setClipRegion(visible);
    bool drawn = false;
    switch (details.Element) {
        case teButton:
            drawn = DrawButton(p, device, details.Part, details.State);
            break;
        case teHeader:
            drawn = DrawHeader(p, device, details.Part, details.State);
            break;
        case teTreeview:
            drawn = DrawTreeview(p, device, details.Part, details.State);
            break;
        case teEdit:
            drawn = DrawEdit(p, device, details.Part, details.State);
            break;
        default:
            break;
    }
    p.restore();
    impl.ApplyClip();
    return drawn;
}

void TThemeServices::PaintBorder(TCanvas& canvas, const TRect& window, bool clientEdge,
                                 int scrollCorner) const {
    if (!clientEdge || window.IsEmpty()) return;
    const TRect inner = InflateRect(window, -2, -2);
    const int level = canvas.SaveState();
    if (scrollCorner > 0) {
        canvas.Brush = TBrush{};
        canvas.Brush.Color = clBtnFace;
        canvas.FillRect(IntersectRect(
            inner,
            {inner.Right - scrollCorner, inner.Bottom - scrollCorner, inner.Right, inner.Bottom}));
    }
    canvas.ExcludeClipRect(inner);
    DrawElement(canvas, GetElementDetails(teEditTextNormal), window);
    canvas.RestoreState(level);
}

}  // namespace rv
