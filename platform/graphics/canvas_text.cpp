// Text output of the canvas: TextOut, TextRect and DrawText with the platform's flags.

#include <QString>
#include <vector>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {
namespace {

struct Line {
    QString text;
    int underline = -1;  // index of the character marked by '&', or -1
};

// Removes the '&' marks: "&&" is one '&', "&x" underlines x.
Line StripPrefix(const QString& text, bool usePrefix) {
    Line line;
    if (!usePrefix) {
        line.text = text;
        return line;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&') line.underline = int(line.text.size());
        } else if (text[i] == u'&') {
            continue;
        }
        line.text += text[i];
    }
    return line;
}

QString ExpandTabs(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == u'\t') {
            do out += u' ';
            while (out.size() % 8 != 0);
        } else {
            out += c;
        }
    }
    return out;
}

// Breaks one paragraph at spaces so that every line fits `width`; a word wider than the width
// stays whole on its own line.
void WrapParagraph(const Line& para, const QFontMetrics& fm, int width, std::vector<Line>& out) {
    const QString& s = para.text;
    qsizetype start = 0;
    while (true) {
        if (fm.horizontalAdvance(s.mid(start)) <= width) break;
        qsizetype lastBreak = -1;
        for (qsizetype i = start + 1; i <= s.size(); ++i) {
            if (i < s.size() && s[i] != u' ') continue;
            if (fm.horizontalAdvance(s.mid(start, i - start)) > width) break;
            lastBreak = i;
        }
        if (lastBreak < 0) {  // the first word alone is too wide
            lastBreak = s.indexOf(u' ', start);
            if (lastBreak < 0) break;
        }
        Line line{s.mid(start, lastBreak - start), -1};
        if (para.underline >= start && para.underline < lastBreak)
            line.underline = int(para.underline - start);
        out.push_back(line);
        start = lastBreak;
        while (start < s.size() && s[start] == u' ') ++start;
        if (start >= s.size()) return;
    }
    Line rest{s.mid(start), para.underline >= start ? int(para.underline - start) : -1};
    out.push_back(rest);
}

QString Ellipsize(const QString& text, const QFontMetrics& fm, int width) {
    if (fm.horizontalAdvance(text) <= width) return text;
    const QString dots = QStringLiteral("...");
    for (qsizetype n = text.size() - 1; n > 0; --n) {
        QString candidate = text.left(n) + dots;
        if (fm.horizontalAdvance(candidate) <= width) return candidate;
    }
    return dots;
}

void PaintLine(CanvasImpl& impl, const TCanvas& canvas, const QFontMetrics& fm, const QFont& font,
               int x, int y, const Line& line) {
    QPainter& p = impl.Painter();
    int width = fm.horizontalAdvance(line.text);
    if (canvas.Brush.Style == bsSolid)
        p.fillRect(QRect(x, y, width, fm.height()), ToQColor(canvas.Brush.Color));
    p.setFont(font);
    p.setPen(ToQColor(canvas.Font.Color));
    p.drawText(QPoint(x, y + fm.ascent()), line.text);
    if (line.underline >= 0 && line.underline < line.text.size()) {
        int from = x + fm.horizontalAdvance(line.text.left(line.underline));
        int to = from + fm.horizontalAdvance(line.text.at(line.underline));
        int uy = y + fm.ascent() + std::max(1, fm.underlinePos());
        p.fillRect(QRect(from, uy, std::max(1, to - from), 1), ToQColor(canvas.Font.Color));
    }
}

}  // namespace

TSize TCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics& fm = impl_->FontFor(Font).metrics;
    return {fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const auto& [font, fm] = impl_->FontFor(Font);
    Line line{QString::fromStdString(text), -1};
    PaintLine(*impl_, *this, fm, font, x + impl_->origin.x(), y + impl_->origin.y(), line);
    penPos_ = {x + fm.horizontalAdvance(line.text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    SaveState();
    IntersectClipRect(r);
    FillRect(r);
    TextOut(x, y, text);
    RestoreState();
}

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned flags) {
    const auto& [font, fm] = impl_->FontFor(Font);
    QString all = QString::fromStdString(text);
    if (flags & DT_EXPANDTABS) all = ExpandTabs(all);
    bool usePrefix = !(flags & DT_NOPREFIX);
    int width = r.Width();

    std::vector<Line> lines;
    if (flags & DT_SINGLELINE) {
        QString one = all;
        one.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        one.replace(u'\r', u' ').replace(u'\n', u' ');
        lines.push_back(StripPrefix(one, usePrefix));
    } else {
        QString normal = all;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        for (const QString& para : normal.split(u'\n')) {
            Line stripped = StripPrefix(para, usePrefix);
            if (flags & DT_WORDBREAK)
                WrapParagraph(stripped, fm, width, lines);
            else
                lines.push_back(stripped);
        }
    }
    if (flags & DT_END_ELLIPSIS)
        for (Line& line : lines) {
            QString cut = Ellipsize(line.text, fm, width);
            if (cut != line.text) line = Line{cut, -1};
        }

    int lineHeight = fm.height();
    int textHeight = lineHeight * int(lines.size());
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, fm.horizontalAdvance(line.text));

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + widest;
        r.Bottom = r.Top + textHeight;
        return textHeight;
    }

    int top = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            top = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            top = r.Bottom - lineHeight;
    }
    bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        SaveState();
        IntersectClipRect(r);
    }
    int y = top;
    for (const Line& line : lines) {
        int w = fm.horizontalAdvance(line.text);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (width - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        PaintLine(*impl_, *this, fm, font, x + impl_->origin.x(), y + impl_->origin.y(), line);
        y += lineHeight;
    }
    if (clip) RestoreState();
    return (flags & DT_SINGLELINE) ? top - r.Top + lineHeight : textHeight;
}

}  // namespace rv
