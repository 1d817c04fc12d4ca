// The header stream: a round trip, streams of the older versions built byte by byte from the
// format, and broken or hostile streams, which raise and leave the header as it was or load
// with every value brought into range.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// A stream written field by field, as the format describes it.
struct Bytes {
    std::string s;
    Bytes& Int(std::int64_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& Ints(std::initializer_list<std::int64_t> values) {
        for (std::int64_t v : values) Int(v);
        return *this;
    }
    Bytes& Wide(const std::u16string& text) {
        Int(std::int64_t(text.size()));
        for (char16_t c : text) s += {char(c & 0xFF), char(c >> 8)};
        return *this;
    }
    Bytes& Ansi(const std::string& bytes) {
        Int(std::int64_t(bytes.size()));
        s += bytes;
        return *this;
    }
    // One column: text, hint, then the fields from Width to Options.
    Bytes& Column(const std::u16string& text, int width, std::uint32_t options) {
        return Wide(text).Wide(u"").Ints({width, 10, 10000, 0, -1, 0, 4, 4, 0, options});
    }
    // Everything after the positions, up to the font.
    Bytes& HeaderFields(int autoSizeIndex, std::uint32_t options) {
        Ints({autoSizeIndex, std::int64_t(clBtnFace), 20, options, 1, clRed, -12});
        return Ansi("Tahoma").Ints({2, fsBold});
    }
};

std::string Saved(const TVTHeader& header) {
    std::string s;
    header.SaveToStream(s);
    return s;
}

void Fill(TVTHeader& header) {
    TVirtualTreeColumns& c = header.Columns();
    for (int i = 0; i < 3; ++i) c.Add();
    c[0].SetText("T\xC3\xADtulek \xE2\x80\x94 n\xC3\xA1zev");
    c[0].SetHint("first");
    c[0].SetMinWidth(20);
    c[0].SetMaxWidth(300);
    c[0].SetWidth(120);
    c[1].SetStyle(vsOwnerDraw);
    c[1].SetImageIndex(3);
    c[1].SetLayout(blGlyphBottom);
    c[1].SetMargin(7);
    c[1].SetSpacing(2);
    c[1].SetTag(-42);
    c[1].SetAlignment(taRightJustify);
    c[2].SetColor(clAqua);
    c[2].SetBiDiMode(bdRightToLeft);
    c[2].SetOptions(c[2].Options() + TVTColumnOptions{coAutoSpring} -
                    TVTColumnOptions{coDraggable});
    c[2].SetPosition(0);
    header.SetAutoSizeIndex(1);
    header.SetBackground(clYellow);
    header.SetHeight(22);
    header.SetStyle(hsFlatButtons);
    TFont font;
    font.Name = "Tahoma";
    font.Height = -13;
    font.Color = clNavy;
    font.Pitch = fpVariable;
    font.Style = fsItalic | fsUnderline;
    header.SetFont(font);
    header.SetMainColumn(2);
    header.SetSortColumn(1);
    header.SetSortDirection(sdDescending);
    header.SetOptions(header.Options() + TVTHeaderOptions{hoShowSortGlyphs, hoDblClickResize});
}

TEST(TreeHeaderStream, RoundTrip) {
    IdTree source, target;
    Fill(source.Header());
    const std::string stream = Saved(source.Header());
    EXPECT_EQ(target.Header().LoadFromStream(stream + "trailing"), stream.size());
    const TVTHeader& h = target.Header();
    EXPECT_TRUE(h.Columns().Equals(source.Header().Columns()));
    EXPECT_EQ(h.Columns().PositionToIndex(), (std::vector<TColumnIndex>{2, 0, 1}));
    EXPECT_EQ(h.Columns()[0].Text(), "T\xC3\xADtulek \xE2\x80\x94 n\xC3\xA1zev");
    EXPECT_EQ(h.AutoSizeIndex(), 1);
    EXPECT_EQ(h.Background(), clYellow);
    EXPECT_EQ(h.Height(), 22);
    EXPECT_EQ(h.Style(), hsFlatButtons);
    EXPECT_EQ(h.Font(), source.Header().Font());
    EXPECT_EQ(h.MainColumn(), 2);
    EXPECT_EQ(h.SortColumn(), 1);
    EXPECT_EQ(h.SortDirection(), sdDescending);
    EXPECT_EQ(h.Options(), source.Header().Options());
    EXPECT_EQ(Saved(h), stream);
}

// Versions before 3 keep the column options in older layouts: until version 1 without
// coParentColor at bit 4, in version 2 with nothing above bit 7.
TEST(TreeHeaderStream, ReadsOlderVersions) {
    IdTree tree;
    tree.Header().SetSortColumn(-1);
    // Version -1: no marker, no Tag, Alignment or Color, no main and sort column.
    const std::string v0 = Bytes()
                               .Int(2)
                               .Column(u"One", 80, 0x55)  // old bits 0, 2, 4, 6
                               .Column(u"Two", 90, 0x80)
                               .Ints({1, 0})
                               .HeaderFields(-1, 0x400)
                               .s;
    EXPECT_EQ(tree.Header().LoadFromStream(v0), v0.size());
    const TVirtualTreeColumns& c = tree.Header().Columns();
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c[0].Text(), "One");
    EXPECT_EQ(c[0].Width(), 80);
    EXPECT_EQ(c[0].Options(), (TVTColumnOptions{coAllowClick, coEnabled, coResizable, coVisible}));
    EXPECT_EQ(c[1].Options(), TVTColumnOptions{coAutoSpring});
    EXPECT_EQ(c.PositionToIndex(), (std::vector<TColumnIndex>{1, 0}));
    EXPECT_EQ(tree.Header().Options(), TVTHeaderOptions{hoVisible});
    EXPECT_EQ(tree.Header().Font().Name, "Tahoma");
    EXPECT_EQ(tree.Header().Font().Pitch, fpFixed);
    EXPECT_EQ(tree.Header().MainColumn(), 0);
    EXPECT_EQ(tree.Header().SortColumn(), -1);

    // Version 1: Tag and Alignment, the main and sort column; the old option layout.
    const std::string v1 = Bytes()
                               .Ints({-1, 1, 1})
                               .Column(u"A", 60, 0x10)
                               .Ints({7, 2, 0})  // Tag, Alignment; the positions
                               .HeaderFields(0, 0)
                               .Ints({0, 0, 1})
                               .s;
    EXPECT_EQ(tree.Header().LoadFromStream(v1), v1.size());
    EXPECT_EQ(c[0].Tag(), 7);
    EXPECT_EQ(c[0].Alignment(), taCenter);
    EXPECT_EQ(c[0].Options(), TVTColumnOptions{coResizable});
    EXPECT_EQ(tree.Header().SortColumn(), 0);
    EXPECT_EQ(tree.Header().SortDirection(), sdDescending);

    // Version 2: with Color; bits 8 and above do not count yet.
    const std::string v2 = Bytes()
                               .Ints({-1, 2, 1})
                               .Column(u"B", 60, 0x3A0)
                               .Ints({0, 0, std::int64_t(clTeal), 0})
                               .HeaderFields(0, 0)
                               .Ints({0, -1, 0})
                               .s;
    EXPECT_EQ(tree.Header().LoadFromStream(v2), v2.size());
    EXPECT_EQ(c[0].Color(), clTeal);
    EXPECT_EQ(c[0].Options(), (TVTColumnOptions{coResizable, coVisible}));
}

// A stream that breaks off, claims more than it holds or says nothing valid raises EReadError
// before anything changes.
TEST(TreeHeaderStream, BrokenStreamsLeaveTheHeaderAsItWas) {
    IdTree source, tree;
    Fill(source.Header());
    Fill(tree.Header());
    tree.Header().Columns()[0].SetText("kept");
    const std::string before = Saved(tree.Header());
    const std::string good = Saved(source.Header());
    const auto expectRefused = [&](const std::string& stream) {
        EXPECT_THROW(tree.Header().LoadFromStream(stream), EReadError);
        EXPECT_EQ(Saved(tree.Header()), before);
    };
    for (std::size_t cut : {std::size_t(0), std::size_t(3), std::size_t(12), good.size() - 1})
        expectRefused(good.substr(0, cut));
    expectRefused(Bytes().Ints({-1, 3, 100000}).s);  // more columns than bytes
    expectRefused(Bytes().Ints({-1, 3, -2}).s);
    expectRefused(Bytes().Ints({-1, -7}).s);  // no such version
    std::string longText = good;
    longText.replace(12, 4, Bytes().Int(0x7FFFFFFF).s);  // the first text's length
    expectRefused(longText);
    EXPECT_EQ(tree.Header().Columns()[0].Text(), "kept");
}

// Values out of range are brought into it: enumerations are clamped, the display order must be
// a permutation, and the column indices go through their setters once the columns exist.
TEST(TreeHeaderStream, OutOfRangeValuesAreClamped) {
    IdTree tree;
    // Each column with Tag, Alignment and Color; the positions {0, 0, 1} are no permutation;
    // MainColumn -5, SortColumn 7, SortDirection 9.
    const std::string stream = Bytes()
                                   .Ints({-1, 3, 3})
                                   .Column(u"a", -5, 0x80)
                                   .Ints({0, 5, 0})
                                   .Column(u"b", 60, 0xFFFFFFFF)
                                   .Ints({0, -3, 0})
                                   .Column(u"c", 60, 0x80)
                                   .Ints({0, 0, 0, 0, 0, 1})
                                   .HeaderFields(99, 0xFFFFFFFF)
                                   .Ints({-5, 7, 9})
                                   .s;
    std::string styled = stream;
    // Column 0's Style, Layout and BiDiMode far out of range.
    const std::size_t column0 = 12 + 4 + 2 + 4;  // past the count, the text "a" and the hint
    styled.replace(column0 + 12, 4, Bytes().Int(7).s);
    styled.replace(column0 + 20, 4, Bytes().Int(-3).s);
    styled.replace(column0 + 32, 4, Bytes().Int(99).s);
    tree.Header().LoadFromStream(styled);
    const TVirtualTreeColumns& c = tree.Header().Columns();
    EXPECT_EQ(c[0].Style(), vsOwnerDraw);
    EXPECT_EQ(c[0].Layout(), blGlyphLeft);
    EXPECT_EQ(c[0].BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(c[0].Width(), 10);  // its MinWidth
    EXPECT_EQ(c[0].Alignment(), taCenter);
    EXPECT_EQ(c[1].Alignment(), taLeftJustify);
    EXPECT_EQ(c[1].Options().ToBits(), 0x1FFu);
    EXPECT_EQ(c.PositionToIndex(), (std::vector<TColumnIndex>{0, 1, 2}));
    EXPECT_EQ(tree.Header().Options().ToBits(), 0xFFFu);
    EXPECT_EQ(tree.Header().Style(), hsFlatButtons);
    EXPECT_EQ(tree.Header().MainColumn(), 0);
    EXPECT_EQ(tree.Header().SortColumn(), 2);
    EXPECT_EQ(tree.Header().SortDirection(), sdDescending);
    EXPECT_TREE_OK(tree);
}

// Columns as wide as an int allows: the edges after them stop at the largest int.
TEST(TreeHeaderStream, HugeWidthsSaturateThePositions) {
    IdTree tree;
    Bytes b;
    b.Ints({-1, 3, 3});
    for (int i = 0; i < 3; ++i)
        b.Wide(u"").Wide(u"").Ints({0x70000000, 0, 0x7FFFFFFF, 0, -1, 0, 4, 4, 0, 0x80, 0, 0, 0});
    tree.Header().LoadFromStream(b.Ints({0, 1, 2}).HeaderFields(-1, 0).Ints({0, -1, 0}).s);
    const TVirtualTreeColumns& c = tree.Header().Columns();
    EXPECT_EQ(c[1].Left(), 0x70000000);
    EXPECT_EQ(c[2].Left(), 0x7FFFFFFF);
    EXPECT_EQ(c.TotalWidth(), 0x7FFFFFFF);
    EXPECT_EQ(tree.RangeX(), 0x7FFFFFFF);
    tree.SetOffsetX(INT_MIN);
    EXPECT_EQ(tree.OffsetX(), 196 - 0x7FFFFFFF);
}

// Mutated copies of a real stream either load, with every value in range, or raise and leave
// the header as it was; nothing reads outside the stream (AddressSanitizer watches).
TEST(TreeHeaderStream, MutatedStreamsLoadOrRaiseCleanly) {
    IdTree source, tree;
    Fill(source.Header());
    const std::string good = Saved(source.Header());
    std::mt19937 random(2024);
    auto pick = [&](std::size_t n) { return std::size_t(random() % n); };
    const std::int64_t interesting[] = {0, 1, -1, 2, 3, 0x7FFFFFFF, -0x7FFFFFFF - 1, 0xFFFF, 300};
    int loaded = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string s = good;
        for (std::size_t m = 0, count = 1 + pick(4); m < count && !s.empty(); ++m) {
            switch (pick(4)) {
                case 0:
                    s[pick(s.size())] = char(random());
                    break;
                case 1:
                    if (s.size() >= 4)
                        s.replace(pick(s.size() / 4) * 4, 4,
                                  Bytes().Int(interesting[pick(std::size(interesting))]).s);
                    break;
                case 2:
                    s.resize(pick(s.size()));
                    break;
                default:
                    s.insert(pick(s.size()), std::string(1 + pick(8), char(random())));
                    break;
            }
        }
        const std::string before = Saved(tree.Header());
        try {
            tree.Header().LoadFromStream(s);
            ++loaded;
        } catch (const EReadError&) {
            ASSERT_EQ(Saved(tree.Header()), before) << "round " << round;
        }
        const TVirtualTreeColumns& c = tree.Header().Columns();
        std::vector<TColumnIndex> order = c.PositionToIndex();
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < order.size(); ++i) ASSERT_EQ(order[i], TColumnIndex(i));
        ASSERT_GE(tree.Header().SortColumn(), NoColumn);
        ASSERT_LT(tree.Header().SortColumn(), std::max(c.Count(), 1));
        ASSERT_TRUE(c.Count() == 0 || c.IsValidColumn(tree.Header().MainColumn()));
        for (int i = 0; i < c.Count(); ++i)
            ASSERT_TRUE(c[i].MinWidth() <= c[i].Width() && c[i].Width() <= c[i].MaxWidth());
    }
    EXPECT_GT(loaded, 1000);
    EXPECT_TREE_OK(tree);
}

}  // namespace
}  // namespace rv::test
