// The string tree as an HTML table: a style block with the tree's and the header's fonts and the
// grid lines, a header row, and per node its indentation cells and one cell per column.

#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/text/format.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

// "#RRGGBB" with system colours resolved.
std::string HtmlColor(TColor color) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const TColor rgb = ColorToRGB(color);
    std::string text = "#";
    for (std::uint8_t byte : {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)}) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

// Text between tags: markup characters as entities.
void AddContent(TBufferedString& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity = text[i] == '&'   ? "&amp;"
                             : text[i] == '<' ? "&lt;"
                             : text[i] == '>' ? "&gt;"
                                              : nullptr;
        if (!entity) continue;
        out.Add(text.substr(start, i - start));
        out.Add(entity);
        start = i + 1;
    }
    out.Add(text.substr(start));
}

// A value inside a double-quoted attribute.
std::string AttributeValue(std::string_view text) {
    std::string value;
    for (char c : text) {
        if (c == '&')
            value += "&amp;";
        else if (c == '"')
            value += "&quot;";
        else
            value += c;
    }
    return value;
}

// A font name inside a quoted CSS string: quotes, the backslash and the markup characters as
// CSS escapes, so that the name can end neither the string, the attribute nor the style block.
std::string CssFontName(std::string_view name) {
    std::string text;
    for (char c : name) {
        if (c == '\\' || c == '"' || c == '\'' || c == '<' || c == '>' || c == '&') {
            constexpr char kDigits[] = "0123456789ABCDEF";
            text += '\\';
            text += kDigits[(c >> 4) & 15];
            text += kDigits[c & 15];
            text += ' ';
        } else {
            text += c;
        }
    }
    return text;
}

// The font as a CSS rule for a class, or without a class name as a style attribute (the name
// then in single quotes, inside the attribute's double quotes).
std::string FontCss(const std::string& className, const TFont& font) {
    const bool inlineStyle = className.empty();
    const std::string start = inlineStyle ? " style=\"{font:" : "." + className + "{font:";
    const char quote = inlineStyle ? '\'' : '"';
    return Format("%s%s%s%s %dpt %c%s%c;color:%s;}%s", start.c_str(),
                  font.Style & fsUnderline ? " underline" : "",
                  font.Style & fsItalic ? " italic" : "", font.Style & fsBold ? " bold" : "",
                  font.Size(), quote, CssFontName(font.Name).c_str(), quote,
                  HtmlColor(font.Color).c_str(), inlineStyle ? "\"" : "");
}

const char* AlignAttribute(TAlignment alignment) {
    return alignment == taRightJustify ? " align=right"
           : alignment == taCenter     ? " align=center"
                                       : " align=left";
}

TAlignment Mirrored(TAlignment alignment) {
    return alignment == taLeftJustify    ? taRightJustify
           : alignment == taRightJustify ? taLeftJustify
                                         : alignment;
}

}  // namespace

std::string TCustomVirtualStringTree::ContentToHTML(TVSTTextSourceType source,
                                                    const std::string& caption) {
    const TExportContent content = CollectExportContent(*this, source);
    TCanvas& canvas = MeasureCanvas();
    const TSavedCanvasFont savedFont(canvas);
    const TVirtualTreeColumns& columns = Header().Columns();
    const std::string cellPadding = "padding-left:" + std::to_string(Margin()) +
                                    "px;padding-right:" + std::to_string(Margin()) + "px;";
    std::string tableAttributes = " ";
    if (!caption.empty()) {
        std::string scratch;
        tableAttributes += "caption=\"" + AttributeValue(ExportText(caption, scratch)) + "\"";
    }
    if (BorderStyle() == bsSingle)
        tableAttributes +=
            "border=\"" + std::to_string(BorderDecoration().BorderWidth + 1) + "\" frame=box";

    TBufferedString out;
    // The styles: the fonts, and the grid lines as borders.
    const std::string lineStyle = LineStyle() == lsSolid ? "solid;" : "dotted;";
    const auto& lines = TreeOptions().PaintOptions();
    out.Add("<style type=\"text/css\">");
    out.AddNewLine();
    out.Add(FontCss("default", Font()));
    out.AddNewLine();
    out.Add(FontCss("header", Header().Font()));
    out.AddNewLine();
    if (lines.Contains(toShowHorzGridLines))
        out.Add(".noborder{border-style:" + lineStyle +
                " border-bottom:1;border-left:0;border-right:0; border-top:0;");
    else
        out.Add(".noborder{border-style:none;");
    out.Add(cellPadding + "}");
    out.AddNewLine();
    out.Add(".normalborder {border-top:none; border-left:none; ");
    out.Add(lines.Contains(toShowVertGridLines) ? "border-right:1 " + lineStyle
                                                : std::string("border-right:none;"));
    out.Add(lines.Contains(toShowHorzGridLines) ? "border-bottom:1 " + lineStyle
                                                : std::string("border-bottom:none;"));
    out.Add(cellPadding + "}</style>");
    out.AddNewLine();

    out.Add("<table class=\"default\" bgcolor=" + HtmlColor(Color()) + tableAttributes +
            " cellspacing=\"0\" cellpadding=" + std::to_string(Margin()) + ">");
    out.AddNewLine();

    std::string scratch;
    if (content.UseColumns) {
        out.Add("<tr class=\"header\" style=\"" + cellPadding + "\">");
        out.AddNewLine();
        const std::string headerColor = HtmlColor(clBtnFace);
        for (TColumnIndex index : content.Cells) {
            const TVirtualTreeColumn& column = columns[index];
            out.Add("<th height=\"");
            AddNumber(out, Header().Height());
            out.Add("px\"");
            TAlignment alignment = column.Alignment();
            if (column.BiDiMode() != bdLeftToRight) {
                out.Add(" dir=\"rtl\"");
                alignment = Mirrored(alignment);
            }
            out.Add(AlignAttribute(alignment));
            if (index == content.MainColumn && content.MaxLevel > 0) {
                out.Add(" colspan=\"");
                AddNumber(out, content.MaxLevel + 1);
                out.Add("\"");
            }
            out.Add(" bgcolor=" + headerColor + " width=\"");
            AddNumber(out, column.Width());
            out.Add("px\">");
            AddContent(out, ExportText(column.Text(), scratch));
            out.Add("</th>");
        }
        out.Add("</tr>");
        out.AddNewLine();
    }

    // A column's own colour, or empty for the tree's (coParentColor, no columns).
    std::vector<std::string> cellColors;
    for (TColumnIndex index : content.Cells)
        cellColors.push_back(content.UseColumns && !columns[index].Options().Contains(coParentColor)
                                 ? HtmlColor(columns[index].Color())
                                 : std::string());
    for (const TExportContent::Row& row : content.Rows) {
        out.Add(" <tr class=\"default\">");
        out.AddNewLine();
        const std::int64_t height = NodeHeight(row.Node);
        for (std::size_t cell = 0; cell < content.Cells.size(); ++cell) {
            const TColumnIndex index = content.Cells[cell];
            const TVirtualTreeColumn* column = content.UseColumns ? &columns[index] : nullptr;
            const std::string& cellColor = cellColors[cell];
            const bool ownColor = !cellColor.empty();
            const bool fontChanged = ExportCellFont(canvas, row.Node, index);
            const bool main = index == content.MainColumn;
            for (unsigned level = 0; main && level < row.Level; ++level) {
                if (ownColor) {
                    out.Add("<td class=\"noborder\" width=\"");
                    AddNumber(out, Indent());
                    out.Add("\" height=\"");
                    AddNumber(out, height);
                    out.Add("px\" bgcolor=");
                    out.Add(cellColor);
                    out.Add(">&nbsp;</td>");
                } else if (level == 0) {
                    out.Add(" <td height=\"");
                    AddNumber(out, height);
                    out.Add("px\">&nbsp;</td>");
                } else {
                    out.Add(" <td>&nbsp;</td>");
                }
            }
            if (fontChanged)
                out.Add(" <td class=\"normalborder\" " + FontCss({}, canvas.Font) + " height=\"");
            else
                out.Add(" <td class=\"normalborder\"  height=\"");
            AddNumber(out, height);
            out.Add("px\"");
            if (column && column->BiDiMode() != bdLeftToRight) out.Add(" dir=\"rtl\"");
            out.Add(AlignAttribute(column ? column->Alignment() : Alignment()));
            if (main && row.Level < content.MaxLevel) {
                out.Add(" colspan=\"");
                AddNumber(out, content.MaxLevel - row.Level + 1);
                out.Add("\"");
            }
            if (ownColor) {
                out.Add(" bgcolor=");
                out.Add(cellColor);
            }
            out.Add(">");
            AddContent(out, ExportText(GetText(row.Node, index), scratch));
            out.Add("</td>");
        }
        out.Add(" </tr>");
        out.AddNewLine();
    }
    out.Add("</table>");
    return out.TakeString();
}

}  // namespace rv
