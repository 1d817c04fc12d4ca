// The header's own stream. Every field is a 32-bit little-endian integer unless said otherwise:
//
//   -1, version (3 is written; a stream without these two starts with the column count and
//       reads as version -1)
//   column count, then per column in index order:
//       text (length in UTF-16 units, then the units), hint (the same), Width, MinWidth,
//       MaxWidth, Style, ImageIndex, Layout, Margin, Spacing, BiDiMode, Options;
//       from version 1 Tag and Alignment; from version 2 Color
//   PositionToIndex (one entry per column)
//   AutoSizeIndex, Background, Height, Options (the low 16 bits), Style (the low byte),
//   font colour, font height, font name (length, then that many windows-1252 bytes),
//   font pitch (the low 7 bits), font style (the low byte)
//   from version 1: MainColumn, SortColumn, SortDirection
//
// The stream is outside data: it is read completely into plain values first, with every count
// and length checked against what is left, and applied only when all of it was sound.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

constexpr std::int32_t kHeaderStreamVersion = 3;
// More columns than any header can show; a count above it is taken as a broken stream.
constexpr std::uint32_t kMaxStreamColumns = 4096;

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void Int(std::int64_t value) {
        const auto v = std::uint32_t(value);
        for (int shift = 0; shift < 32; shift += 8) out_.push_back(char((v >> shift) & 0xFF));
    }
    void WideText(const std::string& utf8) {
        const std::u16string units = Utf8ToUtf16(utf8);
        Int(std::int64_t(units.size()));
        for (char16_t u : units) {
            out_.push_back(char(u & 0xFF));
            out_.push_back(char(u >> 8));
        }
    }
    void AnsiText(const std::string& utf8) {
        const std::string bytes = EncodeCodePage(CodePage::Windows1252, utf8);
        Int(std::int64_t(bytes.size()));
        out_ += bytes;
    }

private:
    std::string& out_;
};

// Reads forward through the stream; every read past its end raises.
class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    void StepBack(std::size_t count) { pos_ -= count; }

    std::int32_t Int() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(data_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return std::int32_t(v);
    }
    // A length that must fit into what is left at `unit` bytes per element.
    std::size_t Length(std::size_t unit) {
        const std::int32_t length = Int();
        if (length < 0 || std::size_t(length) > Remaining() / unit)
            throw EReadError("The header stream is corrupt: a text is longer than the stream.");
        return std::size_t(length);
    }
    std::string WideText() {
        const std::size_t length = Length(2);
        std::u16string units(length, u'\0');
        for (std::size_t i = 0; i < length; ++i)
            units[i] = char16_t(std::uint8_t(data_[pos_ + 2 * i]) |
                                std::uint8_t(data_[pos_ + 2 * i + 1]) << 8);
        pos_ += 2 * length;
        return Utf16ToUtf8(units);
    }
    std::string AnsiText() {
        const std::size_t length = Length(1);
        const std::string_view bytes = data_.substr(pos_, length);
        pos_ += length;
        return DecodeCodePage(CodePage::Windows1252, bytes);
    }

private:
    void Need(std::size_t count) const {
        if (Remaining() < count) throw EReadError("The header stream is too short.");
    }
    std::string_view data_;
    std::size_t pos_ = 0;
};

template <class Enum>
Enum Clamped(std::int32_t value, Enum last) {
    return Enum(std::clamp<std::int32_t>(value, 0, std::int32_t(last)));
}

// Column options of older streams: version 3 on as stored; version 2 without bits 8 to 15;
// before, bits 4 to 7 move up by one to make room for the option inserted at bit 4.
std::uint32_t ConvertColumnOptions(std::uint32_t stored, std::int32_t version) {
    if (version >= 3) return stored;
    if (version == 2) return stored & ~0xFF00u;
    return (stored & 0x0Fu) | ((stored & 0xF0u) << 1) | (stored & ~0x7FFFu);
}

constexpr std::uint32_t kColumnOptionBits = (1u << (int(coAutoSpring) + 1)) - 1;
constexpr std::uint32_t kHeaderOptionBits = (1u << (int(hoAutoSpring) + 1)) - 1;

// The smallest number of bytes one column takes in a stream of `version`.
std::size_t MinimumColumnBytes(std::int32_t version) {
    return 4 * (12 + (version >= 1 ? 2 : 0) + (version >= 2 ? 1 : 0));
}

}  // namespace

// What a header stream holds, read and checked before anything of the header changes.
struct THeaderStreamData {
    struct Column {
        std::string text, hint;
        std::int32_t width = 0, minWidth = 0, maxWidth = 0, imageIndex = -1, margin = 0,
                     spacing = 0, tag = 0;
        TVirtualTreeColumnStyle style = vsText;
        TVTHeaderColumnLayout layout = blGlyphLeft;
        TBiDiMode biDiMode = bdLeftToRight;
        TVTColumnOptions options;
        TAlignment alignment = taLeftJustify;
        bool hasColor = false;
        TColor color = clWindow;
    };
    std::vector<Column> columns;
    std::vector<TColumnIndex> positions;
    TColumnIndex autoSizeIndex = NoColumn, mainColumn = NoColumn, sortColumn = NoColumn;
    bool hasSortData = false;
    TSortDirection sortDirection = sdAscending;
    TColor background = clBtnFace;
    std::int32_t height = TVTHeader::kDefaultHeight;
    TVTHeaderOptions options;
    TVTHeaderStyle style = hsThickButtons;
    TFont font;

    void Read(Reader& in);
    void ApplyTo(TVTHeader& header) const;
};

void THeaderStreamData::Read(Reader& in) {
    std::int32_t version = in.Int();
    if (version >= 0) {
        in.StepBack(4);
        version = -1;
    } else {
        version = in.Int();
        if (version < 0) throw EReadError("The header stream has an unknown version.");
    }

    const std::int32_t count = in.Int();
    if (count < 0 || std::uint32_t(count) > kMaxStreamColumns ||
        std::size_t(count) > in.Remaining() / MinimumColumnBytes(version))
        throw EReadError("The header stream is corrupt: the column count is wrong.");
    columns.resize(std::size_t(count));
    for (Column& c : columns) {
        c.text = in.WideText();
        c.hint = in.WideText();
        c.width = in.Int();
        c.minWidth = in.Int();
        c.maxWidth = in.Int();
        c.style = Clamped(in.Int(), vsOwnerDraw);
        c.imageIndex = in.Int();
        c.layout = Clamped(in.Int(), blGlyphBottom);
        c.margin = in.Int();
        c.spacing = in.Int();
        c.biDiMode = Clamped(in.Int(), bdRightToLeftReadingOnly);
        c.options = TVTColumnOptions::FromBits(
            ConvertColumnOptions(std::uint32_t(in.Int()), version) & kColumnOptionBits);
        if (version >= 1) {
            c.tag = in.Int();
            c.alignment = Clamped(in.Int(), taCenter);
        }
        if (version >= 2) {
            c.hasColor = true;
            c.color = TColor(in.Int());
        }
    }
    positions.resize(std::size_t(count));
    for (TColumnIndex& p : positions) p = in.Int();
    // Anything but a permutation of the column indices gives the plain order.
    std::vector<TColumnIndex> sorted = positions;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != TColumnIndex(i)) {
            std::iota(positions.begin(), positions.end(), 0);
            break;
        }

    autoSizeIndex = in.Int();
    background = TColor(in.Int());
    height = in.Int();
    options = TVTHeaderOptions::FromBits(std::uint32_t(in.Int()) & 0xFFFF & kHeaderOptionBits);
    style = Clamped(in.Int() & 0xFF, hsXPStyle);
    font.Color = TColor(in.Int());
    font.Height = in.Int();
    font.Name = in.AnsiText();
    font.Pitch = Clamped(in.Int() & 0x7F, fpFixed);
    font.Style = TFontStyles(in.Int()) & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    if (version >= 1) {
        hasSortData = true;
        mainColumn = in.Int();
        sortColumn = in.Int();
        sortDirection = Clamped(in.Int(), sdDescending);
    }
}

void THeaderStreamData::ApplyTo(TVTHeader& header) const {
    TVirtualTreeColumns& target = header.columns_;
    const TVTHeaderOptions before = header.options_;
    header.DoStateChange({hdLoading});
    header.options_ = {};
    if (!columns.empty()) {
        target.BeginUpdate();
        target.Clear();
        for (const Column& c : columns) {
            TVirtualTreeColumn& column = target.Add();
            column.SetText(c.text);
            column.SetHint(c.hint);
            column.SetMinWidth(0);
            column.SetMaxWidth(c.maxWidth);
            column.SetMinWidth(c.minWidth);
            column.SetWidth(c.width);
            column.SetStyle(c.style);
            column.SetImageIndex(c.imageIndex);
            column.SetLayout(c.layout);
            column.SetMargin(c.margin);
            column.SetSpacing(c.spacing);
            column.SetBiDiMode(c.biDiMode);
            column.SetTag(c.tag);
            column.SetAlignment(c.alignment);
            if (c.hasColor) column.SetColor(c.color);
            column.SetOptions(c.options);
        }
        target.EndUpdate();
        target.SetPositionToIndex(positions);
    }
    header.SetBackground(background);
    header.SetHeight(height);
    header.SetStyle(style);
    header.font_ = font;
    header.parentFont_ = false;
    header.DoStateChange({}, {hdLoading});

    // The indices go through their setters now that the columns are known.
    TColumnIndex& focused = header.tree_.focusedColumn_;
    if (focused != NoColumn && !target.IsValidColumn(focused)) focused = header.MainColumn();
    header.SetAutoSizeIndex(autoSizeIndex);
    if (hasSortData) {
        header.SetMainColumn(mainColumn);
        header.SetSortColumn(sortColumn);
        header.SetSortDirection(sortDirection);
    } else {
        header.SetMainColumn(header.mainColumn_);
        header.SetSortColumn(header.sortColumn_);
    }
    header.options_ = before;
    header.SetOptions(options);
    target.Update(nullptr);
}

void TVTHeader::SaveToStream(std::string& stream) const {
    Writer out(stream);
    out.Int(-1);
    out.Int(kHeaderStreamVersion);
    out.Int(columns_.Count());
    for (int i = 0; i < columns_.Count(); ++i) {
        const TVirtualTreeColumn& c = columns_[i];
        out.WideText(c.Text());
        out.WideText(c.Hint());
        for (std::int64_t v :
             {std::int64_t(c.Width()), std::int64_t(c.MinWidth()), std::int64_t(c.MaxWidth()),
              std::int64_t(c.Style()), std::int64_t(c.ImageIndex()), std::int64_t(c.Layout()),
              std::int64_t(c.Margin()), std::int64_t(c.Spacing()), std::int64_t(c.BiDiMode()),
              std::int64_t(c.Options().ToBits()), std::int64_t(c.Tag()),
              std::int64_t(c.Alignment()), std::int64_t(c.Color())})
            out.Int(v);
    }
    for (TColumnIndex index : columns_.PositionToIndex()) out.Int(index);
    out.Int(autoSizeIndex_);
    out.Int(background_);
    out.Int(height_);
    out.Int(options_.ToBits());
    out.Int(std::int64_t(style_));
    out.Int(font_.Color);
    out.Int(font_.Height);
    out.AnsiText(font_.Name);
    out.Int(std::int64_t(font_.Pitch));
    out.Int(font_.Style & 0xFF);
    out.Int(mainColumn_);
    out.Int(sortColumn_);
    out.Int(std::int64_t(sortDirection_));
}

std::size_t TVTHeader::LoadFromStream(std::string_view stream) {
    Reader in(stream);
    THeaderStreamData data;
    data.Read(in);
    data.ApplyTo(*this);
    return in.Position();
}

}  // namespace rv
