// The platform's flat scroll bars: a style for a host's bars that draws their arrow buttons,
// thumb and track flat, in whole logical pixels, marking the part under the mouse. Everything
// else (sizes, hit testing, the thumb's place) is the desktop style's.

#include <QPainter>
#include <QPolygon>
#include <QProxyStyle>
#include <QStyleOption>

#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

class FlatScrollBarStyle : public QProxyStyle {
public:
    explicit FlatScrollBarStyle(int mode) : mode_(mode) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QPalette& palette = bar->palette;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillRect(bar->rect, palette.color(QPalette::Button).lighter(110));
        const bool enabled = bar->state & State_Enabled;
        for (SubControl part : {SC_ScrollBarSubLine, SC_ScrollBarAddLine, SC_ScrollBarSlider}) {
            const QRect r = subControlRect(control, bar, part, widget);
            if (r.isEmpty() || (part == SC_ScrollBarSlider && !enabled)) continue;
            const bool active = enabled && (bar->activeSubControls & part);
            DrawPart(*painter, palette, r, active && (bar->state & State_MouseOver),
                     active && (bar->state & State_Sunken));
            if (part != SC_ScrollBarSlider)
                DrawArrow(*painter, r, bar->orientation, part == SC_ScrollBarAddLine,
                          palette.color(enabled ? QPalette::ButtonText : QPalette::Mid));
        }
        painter->restore();
    }

private:
    // A part's face: flat mode frames it in the shadow colour (the highlight colour when hot);
    // the other mode leaves it unframed until hot, when it stands out with a 3-D edge. Pressed,
    // it sinks in.
    void DrawPart(QPainter& p, const QPalette& palette, const QRect& r, bool hot,
                  bool pressed) const {
        p.fillRect(r, palette.color(QPalette::Button));
        const QColor light = palette.color(QPalette::Light), dark = palette.color(QPalette::Mid);
        auto frame = [&](const QColor& topLeft, const QColor& bottomRight) {
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
            p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
            p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        };
        if (pressed) {
            frame(dark, light);
        } else if (mode_ == FSB_FLAT_MODE) {
            const QColor edge = hot ? palette.color(QPalette::Highlight) : dark;
            frame(edge, edge);
        } else if (hot) {
            frame(light, dark);
        }
    }

    // A small solid triangle pointing the way the button scrolls.
    static void DrawArrow(QPainter& p, const QRect& r, Qt::Orientation orientation, bool forward,
                          const QColor& color) {
        const int size = std::max(2, std::min(r.width(), r.height()) / 4);
        const QPoint c = r.center();
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        QPolygon arrow;
        if (orientation == Qt::Vertical) {
            const int tip = forward ? c.y() + size / 2 + 1 : c.y() - size / 2;
            const int base = forward ? tip - size : tip + size;
            arrow << QPoint(c.x() - size, base) << QPoint(c.x() + size + 1, base)
                  << QPoint(c.x() + 1, tip + (forward ? 1 : 0)) << QPoint(c.x(), tip);
        } else {
            const int tip = forward ? c.x() + size / 2 + 1 : c.x() - size / 2;
            const int base = forward ? tip - size : tip + size;
            arrow << QPoint(base, c.y() - size) << QPoint(base, c.y() + size + 1)
                  << QPoint(tip + (forward ? 1 : 0), c.y() + 1) << QPoint(tip, c.y());
        }
        p.drawPolygon(arrow);
    }

    int mode_;
};

QStyle* FlatStyle(int mode) {
    // Made once each; they live as long as the program's bars may use them.
    static FlatScrollBarStyle* flat = new FlatScrollBarStyle(FSB_FLAT_MODE);
    static FlatScrollBarStyle* encarta = new FlatScrollBarStyle(FSB_ENCARTA_MODE);
    return mode == FSB_FLAT_MODE ? flat : encarta;
}

}  // namespace

void SetScrollBarLook(HWND wnd, int bar, int mode) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    for (int which : {SB_HORZ, SB_VERT}) {
        if (bar != SB_BOTH && bar != which) continue;
        QScrollBar* widget = h->bars[which].widget;
        // The desktop's own style again: the application's.
        widget->setStyle(mode == FSB_FLAT_MODE || mode == FSB_ENCARTA_MODE ? FlatStyle(mode)
                                                                           : nullptr);
        widget->update();
    }
}

}  // namespace rv
