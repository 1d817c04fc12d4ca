// The tree's properties as a form keeps them: "Columns", the header's columns kept by the tree,
// and "Options", the five option sets in one set of names as older forms have it, only read; the
// text tree's "WideDefaultText", and its old "StringOptions", only read.

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "platform/components/properties.h"
#include "tree/legacy_options.h"
#include "tree/tests/tree_fixture.h"
#include "widgets/props_storage.h"

namespace rv::test {
namespace {

// A form with a tree called "Tracks" and a store of named values in sections.
struct StoredForm {
    StoredForm() {
        tree->SetName("Tracks");
        storage.Section = "1.x";
        storage.OnReadString = [this](const std::string& sec, const std::string& id,
                                      const std::string& def) {
            const auto it = values.find({sec, id});
            return it == values.end() ? def : it->second;
        };
        storage.OnWriteString = [this](const std::string& sec, const std::string& id,
                                       const std::string& value) {
            values[{sec, id}] = value;
        };
        storage.OnEraseSection = [this](const std::string& sec) {
            std::erase_if(values, [&](const auto& v) { return v.first.first == sec; });
        };
        storage.OnSectionSize = [this](const std::string& sec) {
            return int(std::count_if(values.begin(), values.end(),
                                     [&](const auto& v) { return v.first.first == sec; }));
        };
    }
    TStoredPropList Entries(std::initializer_list<const char*> texts) {
        TStoredPropList list;
        for (const char* text : texts) list.push_back({text, nullptr});
        SyncStoredList(&form, list, true);
        return list;
    }
    std::string Get(const std::string& sec, const std::string& id) const {
        const auto it = values.find({sec, id});
        return it == values.end() ? "<missing>" : it->second;
    }

    TComponent form{nullptr};
    IdTree* tree = new IdTree(&form);
    TPropsStorage storage;
    std::map<std::pair<std::string, std::string>, std::string> values;
};

TEST(TreeStoredProperties, ColumnsRoundTripWithEveryPropertyAndTheDisplayOrder) {
    StoredForm f;
    TVTHeader& header = f.tree->Header();
    TVirtualTreeColumns& columns = header.Columns();
    for (const char* text : {"Title", "Artist", "Year"}) columns.Add().SetText(text);
    columns[0].SetWidth(180);
    columns[1].SetMinWidth(30);
    columns[1].SetMaxWidth(90);
    columns[1].SetAlignment(taCenter);
    columns[1].SetHint("who plays");
    columns[2].SetColor(RGB(0xF0, 0xE0, 0xD0));
    columns[2].SetOptions(columns[2].Options() - TVTColumnOptions{coVisible, coResizable});
    columns[2].SetLayout(blGlyphTop);
    columns[2].SetBiDiMode(bdRightToLeft);
    columns[0].SetPosition(2);  // Artist, Year, Title
    header.SetMainColumn(1);
    TStoredPropList list = f.Entries({"Tracks.Columns", "Tracks.Options"});
    ASSERT_EQ(list.size(), 2u);
    f.storage.StoreProps(&f.form, list);
    const std::string section = "1.x.Tracks_Columns";
    EXPECT_EQ(f.Get(section, "Count"), "3");
    EXPECT_EQ(f.Get(section, "Item0_WideText"), "Title");
    EXPECT_EQ(f.Get(section, "Item1_WideHint"), "who plays");
    // Reading order and colour only where the column has its own.
    EXPECT_EQ(f.Get(section, "Item0_BiDiMode"), "<missing>");
    EXPECT_EQ(f.Get(section, "Item0_Color"), "<missing>");
    EXPECT_EQ(f.Get(section, "Item2_BiDiMode"), "bdRightToLeft");
    EXPECT_EQ(f.Get(section, "Item2_Color"), std::to_string(RGB(0xF0, 0xE0, 0xD0)));
    EXPECT_EQ(f.Get(section, "Item0_Position"), "2");
    EXPECT_EQ(f.Get(section, "Item1_Alignment"), "taCenter");
    EXPECT_EQ(f.Get(section, "Item2_Options"),
              "[coAllowClick,coDraggable,coEnabled,coShowDropMark]");
    // "Options" is never written.
    EXPECT_EQ(f.Get("1.x", "Tracks_Options"), "<missing>");

    // Into a tree of another count: the same columns in the same order. The header's main and
    // sort columns stay through the clearing.
    StoredForm g;
    g.values = f.values;
    TVirtualTreeColumns& copy = g.tree->Header().Columns();
    for (int i = 0; i < 5; ++i) copy.Add();
    g.tree->Header().SetMainColumn(2);
    g.tree->Header().SetSortColumn(1);
    TStoredPropList other = g.Entries({"Tracks.Columns"});
    g.storage.LoadProps(&g.form, other);
    EXPECT_TRUE(copy.Equals(columns));
    EXPECT_EQ(copy.PositionToIndex(), (std::vector<TColumnIndex>{1, 2, 0}));
    EXPECT_EQ(copy[1].MaxWidth(), 90);
    EXPECT_EQ(copy[1].MinWidth(), 30);
    EXPECT_EQ(g.tree->Header().MainColumn(), 2);
    EXPECT_EQ(g.tree->Header().SortColumn(), 1);
    EXPECT_FALSE(g.tree->Header().States().Contains(hdLoading));

    // Narrow limits below the ones a column has are taken whole.
    g.values[{section, "Item0_MinWidth"}] = "5";
    g.values[{section, "Item0_MaxWidth"}] = "8";
    copy[0].SetMaxWidth(10000);
    copy[0].SetMinWidth(20);
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(copy[0].MinWidth(), 5);
    EXPECT_EQ(copy[0].MaxWidth(), 8);
    EXPECT_EQ(copy[0].Width(), 8);

    // A tree without columns writes an empty collection, and reading it takes every column away.
    StoredForm empty;
    TStoredPropList none = empty.Entries({"Tracks.Columns"});
    empty.storage.StoreProps(&empty.form, none);
    EXPECT_EQ(empty.Get("1.x.Tracks_Columns", "Count"), "0");
    g.values = empty.values;
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(copy.Count(), 0);
}

TEST(TreeStoredProperties, LegacyOptionsAreReadIntoEverySet) {
    StoredForm f;
    TStoredPropList list = f.Entries({"Tracks.Options"});
    const TPropList props = GetPropList(f.tree);
    const TPropInfo* options = FindPropInfo(props, "options");
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->Kind, tkString);
    ASSERT_TRUE(options->Stored);
    EXPECT_FALSE(options->Stored());

    // Nothing stored leaves every set as it is.
    IdTree fresh;
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(LegacyOptionNames(f.tree->TreeOptions()), LegacyOptionNames(fresh.TreeOptions()));

    // A stored value replaces every set; the words may be parted by spaces too.
    f.values[{"1.x", "Tracks_Options"}] = "[ voMultiSelect , voShowRoot ]";
    f.storage.LoadProps(&f.form, list);
    TStringTreeOptions& o = f.tree->TreeOptions();
    EXPECT_EQ(o.SelectionOptions(), TVTSelectionOptions{toMultiSelect});
    EXPECT_EQ(o.PaintOptions(), TVTPaintOptions{toShowRoot});
    EXPECT_TRUE(o.MiscOptions().Empty());
    EXPECT_TRUE(o.AutoOptions().Empty());
    // The text tree's own set was never part of the old one.
    EXPECT_EQ(o.StringOptions(), kDefaultStringOptions);

    // Every option of every set has its old name, so a tree's whole options survive the trip.
    o.SetPaintOptions({toShowRoot, toHotTrack});
    o.SetSelectionOptions({});
    o.SetAutoOptions({toAutoSort});
    o.SetMiscOptions({toCheckSupport, toFullRowDrag});
    o.SetStringOptions({toShowStaticText});
    std::string text = "[";
    for (const std::string& name : LegacyOptionNames(o))
        text += (text.size() > 1 ? "," : "") + name;
    text += "]";
    EXPECT_EQ(text, "[voHotTrack,voShowRoot,voAutoSort,voCheckSupport,voFullRowDrag]");
    StoredForm g;
    g.values[{"1.x", "Tracks_Options"}] = text;
    TStoredPropList other = g.Entries({"Tracks.Options"});
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(LegacyOptionNames(g.tree->TreeOptions()), LegacyOptionNames(o));

    // The empty set stored empties every set.
    g.values[{"1.x", "Tracks_Options"}] = "[]";
    g.storage.LoadProps(&g.form, other);
    EXPECT_TRUE(LegacyOptionNames(g.tree->TreeOptions()).empty());
}

TEST(TreeStoredProperties, TextTreeKeepsItsDefaultTextAndReadsTheOldStringSet) {
    StoredForm f;
    TStoredPropList list = f.Entries({"Tracks.WideDefaultText", "Tracks.StringOptions"});
    ASSERT_EQ(list.size(), 2u);
    // "Node" is not written, nor ever the old set.
    f.storage.StoreProps(&f.form, list);
    EXPECT_TRUE(f.values.empty());
    f.tree->SetDefaultText("Untitled");
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.Get("1.x", "Tracks_WideDefaultText"), "Untitled");
    EXPECT_EQ(f.Get("1.x", "Tracks_StringOptions"), "<missing>");
    // An empty text differs from "Node": it is kept, and read back empty.
    f.tree->SetDefaultText("");
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.Get("1.x", "Tracks_WideDefaultText"), "");

    // Read: a text of one-byte characters or of any others.
    StoredForm g;
    TStoredPropList other = g.Entries({"Tracks.WideDefaultText", "Tracks.StringOptions"});
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(g.tree->DefaultText(), "Node");
    for (const char* text : {"Untitled", "Без названия — 無題", ""}) {
        g.values[{"1.x", "Tracks_WideDefaultText"}] = text;
        g.storage.LoadProps(&g.form, other);
        EXPECT_EQ(g.tree->DefaultText(), text);
    }

    // The old string set names the first two string options; the third stays as it is.
    TStringTreeOptions& o = g.tree->TreeOptions();
    g.values[{"1.x", "Tracks_StringOptions"}] = "[soShowStaticText]";
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(o.StringOptions(), (TVTStringOptions{toShowStaticText, toAutoAcceptEditChange}));
    o.SetStringOptions({toShowStaticText});
    g.values[{"1.x", "Tracks_StringOptions"}] =
        "[soSaveCaptions, soAutoAcceptEditChange, voShowRoot]";
    g.storage.LoadProps(&g.form, other);
    EXPECT_EQ(o.StringOptions(), TVTStringOptions{toSaveCaptions});
    EXPECT_EQ(o.PaintOptions(), kDefaultPaintOptions);
}

}  // namespace
}  // namespace rv::test
