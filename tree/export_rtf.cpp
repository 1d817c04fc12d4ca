// The string tree as an RTF table: one row per node (and one for the header), a cell per
// column, every text in its font and colour, written as UTF-16 units so that the document is
// plain ASCII.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/text/utf8.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

// Pixels as twips (1/1440 inch) at the screen's resolution, rounded.
std::int64_t Twips(std::int64_t pixels) {
    return (pixels * 1440 + kPixelsPerInch / 2) / kPixelsPerInch;
}

// A character as its UTF-16 units, each as \uN (N the unit as a signed 16-bit number) with "?"
// for readers that do not know the control word.
void AddCharacter(TBufferedString& out, char32_t cp) {
    auto addUnit = [&](char32_t unit) {
        out.Add("\\u");
        AddNumber(out, std::int16_t(std::uint16_t(unit)));
        out.Add("\\'3f");
    };
    if (cp < 0x10000) {
        addUnit(cp);
    } else {
        addUnit(0xD800 + ((cp - 0x10000) >> 10));
        addUnit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// The document's font and colour tables and the font, colour and size the text so far ends in.
class TRtfWriter {
public:
    TBufferedString Body;

    // The text in the font: switched on styles, a changed font, colour or size, then the text.
    void AddText(std::string_view rawText, const TFont& font) {
        const std::string_view text = ExportText(rawText, scratch_);
        if (text.empty()) return;
        if (font.Style & fsUnderline) Body.Add("\\ul");
        if (font.Style & fsItalic) Body.Add("\\i");
        if (font.Style & fsBold) Body.Add("\\b");
        const int fontIndex = IndexOf(fonts_, font.Name);
        if (fontIndex != font_) {
            Body.Add("\\f");
            AddNumber(Body, fontIndex);
            font_ = fontIndex;
        }
        const int colorIndex = IndexOf(colors_, ColorToRGB(font.Color));
        if (colorIndex != color_) {
            Body.Add("\\cf");
            AddNumber(Body, colorIndex + 1);
            color_ = colorIndex;
        }
        if (font.Size() != size_) {
            Body.Add("\\fs");
            AddNumber(Body, 2 * std::int64_t(font.Size()));
            size_ = font.Size();
        }
        Body.Add(" ");
        for (std::size_t pos = 0; pos < text.size();) AddCharacter(Body, DecodeUtf8(text, pos));
        if (font.Style & fsUnderline) Body.Add("\\ul0");
        if (font.Style & fsItalic) Body.Add("\\i0");
        if (font.Style & fsBold) Body.Add("\\b0");
    }

    // The whole document around the body.
    std::string Document() const {
        TBufferedString out;
        out.Add("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl");
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out.Add("{\\f");
            AddNumber(out, std::int64_t(i));
            out.Add(" ");
            AddFontName(out, fonts_[i]);
            out.Add(";}");
        }
        out.Add("}{\\colortbl;");
        for (TColor color : colors_) {
            for (auto [word, value] :
                 {std::pair{"\\red", GetRValue(color)}, std::pair{"\\green", GetGValue(color)},
                  std::pair{"\\blue", GetBValue(color)}}) {
                out.Add(word);
                AddNumber(out, value);
            }
            out.Add(";");
        }
        out.Add("}");
        out.Add(Body.View());
        out.Add("}");
        return out.TakeString();
    }

private:
    template <class T>
    static int IndexOf(std::vector<T>& list, const T& value) {
        const auto it = std::find(list.begin(), list.end(), value);
        if (it != list.end()) return int(it - list.begin());
        list.push_back(value);
        return int(list.size()) - 1;
    }

    // A font name as table text: RTF's own characters escaped, controls left out, characters
    // beyond ASCII as units.
    static void AddFontName(TBufferedString& out, std::string_view name) {
        std::string scratch;
        const std::string_view text = ExportText(name, scratch);
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t cp = DecodeUtf8(text, pos);
            const char c = char(cp);
            if (cp == '\\' || cp == '{' || cp == '}') {
                out.Add("\\");
                out.Add(std::string_view(&c, 1));
            } else if (cp == ';') {
                out.Add("\\'3b");
            } else if (cp >= 0x20 && cp < 0x80) {
                out.Add(std::string_view(&c, 1));
            } else if (cp >= 0x80) {
                AddCharacter(out, cp);
            }
        }
    }

    std::vector<std::string> fonts_;
    std::vector<TColor> colors_;
    int font_ = -1;
    int color_ = -1;
    std::optional<int> size_;
    std::string scratch_;
};

// Right-to-left columns show their alignment mirrored.
void AddAlignment(TBufferedString& out, TAlignment alignment, bool rightToLeft) {
    if (rightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    if (alignment == taRightJustify) out.Add("\\qr");
    if (alignment == taCenter) out.Add("\\qc");
}

}  // namespace

std::string TCustomVirtualStringTree::ContentToRTF(TVSTTextSourceType source) {
    const TExportContent content = CollectExportContent(*this, source);
    TCanvas& canvas = MeasureCanvas();
    const TSavedCanvasFont savedFont(canvas);
    const TVirtualTreeColumns& columns = Header().Columns();
    TRtfWriter rtf;
    TBufferedString& body = rtf.Body;

    body.Add("\\uc1\\trowd\\trgaph70");
    std::int64_t right = content.UseColumns ? 0 : ClientWidth();
    for (TColumnIndex index : content.Cells) {
        if (content.UseColumns) right += columns[index].Width();
        body.Add("\\cellx");
        AddNumber(body, Twips(right));
    }
    if (content.UseColumns) {
        body.Add("\\pard\\intbl");
        for (TColumnIndex index : content.Cells) {
            const TVirtualTreeColumn& column = columns[index];
            AddAlignment(body, column.Alignment(), column.BiDiMode() != bdLeftToRight);
            rtf.AddText(column.Text(), Header().Font());
            body.Add("\\cell");
        }
        body.Add("\\row");
    }
    for (const TExportContent::Row& row : content.Rows) {
        for (TColumnIndex index : content.Cells) {
            body.Add("\\pard\\intbl");
            if (content.UseColumns)
                AddAlignment(body, columns[index].Alignment(),
                             columns[index].BiDiMode() != bdLeftToRight);
            else
                AddAlignment(body, Alignment(), false);
            ExportCellFont(canvas, row.Node, index);
            // A tab per level. The text's own blank ends the last \tab; a blank here as well
            // would be read as a space before the text.
            if (index == content.MainColumn)
                for (unsigned level = 0; level < row.Level; ++level) body.Add("\\tab");
            rtf.AddText(GetText(row.Node, index), canvas.Font);
            body.Add("\\cell");
        }
        body.Add("\\row");
    }
    body.Add("\\pard\\par");
    return rtf.Document();
}

}  // namespace rv
