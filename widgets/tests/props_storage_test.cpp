#include "widgets/props_storage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "widgets/prop_texts.h"
#include "widgets/tests/storage_fixture.h"

namespace rv {
namespace {

using Lines = std::vector<std::string>;
using test::ComboBox;
using test::OpenDialog;

// The store: sections of named values, as the registry holds them.
struct Store {
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
    int reads = 0;

    void Attach(TPropsStorage& s) {
        s.OnReadString = [this](const std::string& sec, const std::string& id,
                                const std::string& def) {
            ++reads;
            for (const auto& [name, value] : sections[sec])
                if (name == id) return value;
            return def;
        };
        s.OnWriteString = [this](const std::string& sec, const std::string& id,
                                 const std::string& value) {
            for (auto& [name, old] : sections[sec])
                if (name == id) return void(old = value);
            sections[sec].emplace_back(id, value);
        };
        s.OnEraseSection = [this](const std::string& sec) { sections.erase(sec); };
        s.OnSectionSize = [this](const std::string& sec) {
            auto it = sections.find(sec);
            return it == sections.end() ? 0 : int(it->second.size());
        };
    }
    std::string Get(const std::string& sec, const std::string& id) {
        for (const auto& [name, value] : sections[sec])
            if (name == id) return value;
        return "<missing>";
    }
};

struct PropsForm {
    PropsForm() {
        test::App();
        panel->SetName("TreePanel");
        panel->SetParent(&form);
        panel->SetBounds(0, 0, 231, 300);
        sites->SetName("cbSites");
        od->SetName("od");
        storage.Section = "1.x";
        store.Attach(storage);
    }
    TStoredPropList Entries(std::initializer_list<const char*> texts) {
        TStoredPropList list;
        for (const char* text : texts) list.push_back({text, nullptr});
        SyncStoredList(&form, list, true);
        return list;
    }
    TForm form{nullptr};
    TCustomControl* panel = new TCustomControl(&form);
    ComboBox* sites = new ComboBox(&form);
    OpenDialog* od = new OpenDialog(&form);
    TPropsStorage storage;
    Store store;
};

TEST(PropsStorage, PropertiesBecomeComponentUnderscorePropertyValues) {
    PropsForm f;
    // Unknown components go when the form loads; two dots name no property of the panel.
    TStoredPropList list = f.Entries({"TreePanel.Width", " od . InitialDir ", "Ghost.Width",
                                      "TreePanel.Font.Color", "nodot", ".Width"});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].Component, f.od);

    f.od->initialDir = "  /music/new  ";
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.store.sections["1.x"],
              (std::vector<std::pair<std::string, std::string>>{{"TreePanel_Width", "231"},
                                                                {"od_InitialDir", "/music/new"}}));
    EXPECT_EQ(list[1].Text, "od.InitialDir");  // renamed from the component

    f.store.sections["1.x"] = {{"TreePanel_Width", " 180 "}, {"od_InitialDir", " /music "}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.panel->Width(), 180);
    EXPECT_EQ(f.od->initialDir, "/music");

    // A stored width that is no number leaves the panel as it is.
    f.store.sections["1.x"] = {{"TreePanel_Width", "wide"}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.panel->Width(), 180);

    // A component renamed keeps its entry.
    f.panel->SetName("Tree");
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(list[0].Text, "Tree.Width");
    EXPECT_EQ(f.store.Get("1.x", "Tree_Width"), "180");
}

TEST(PropsStorage, StringListsLiveInASubSectionOfTheirOwn) {
    PropsForm f;
    TStoredPropList list = f.Entries({"cbSites.Items"});
    // Nothing stored, or a count of 0: the designed items stay.
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.sites->items, Lines{"designed site"});
    f.store.sections["1.x.cbSites_Items"] = {{"Count", "0"}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.sites->items, Lines{"designed site"});

    f.sites->items = {"freedb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 Random", "", " b "};
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.store.Get("1.x.cbSites_Items", "Count"), "3");
    EXPECT_EQ(f.store.Get("1.x.cbSites_Items", "Item2"), " b ");
    EXPECT_TRUE(f.store.sections["1.x"].empty());
    Lines stored = f.sites->items;
    f.sites->items.clear();
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.sites->items, stored);

    // An empty list erases the sub-section.
    f.sites->items.clear();
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.store.sections.count("1.x.cbSites_Items"), 0u);

    // A damaged count reads no more than the sub-section holds.
    f.store.sections["1.x.cbSites_Items"] = {
        {"Count", "2000000000"}, {"Item0", "a"}, {"Item1", "b"}};
    f.store.reads = 0;
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.sites->items, (Lines{"a", "b"}));
    EXPECT_LE(f.store.reads, 5);
    f.store.sections["1.x.cbSites_Items"] = {{"Count", "many"}, {"Item0", "a"}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(f.sites->items, (Lines{"a", "b"}));
}

// ---- every kind of property --------------------------------------------------------------------

enum class Shape { Circle, Square, Triangle };

// A column of a collection: properties of its own.
struct Column {
    int Width = 50;
    std::string Text;
    std::uint32_t Options = 0;
    TPropList Properties() {
        return {IntegerProperty(
                    "Width", [this] { return Width; }, [this](int v) { Width = v; }),
                StringProperty(
                    "Text", [this] { return Text; }, [this](const std::string& v) { Text = v; }),
                SetProperty(
                    "Options", {"coVisible", "coResizable"}, [this] { return Options; },
                    [this](std::uint32_t v) { Options = v; })};
    }
};

// A component with a property of every kind a form stores.
struct Gadget : TComponent {
    using TComponent::TComponent;
    char32_t letter = U'\u00e9';
    char32_t wide = U' ';
    Shape shape = Shape::Square;
    bool on = false;
    double ratio = 0.5;
    float single = 0.1f;
    long double big = 1e20L;
    std::uint32_t sides = 0b101;
    TVariant value;
    std::int64_t count = 5'000'000'000;
    TComponent* buddy = nullptr;
    std::vector<Column> columns{Column{40, "#", 1}, Column{150, "Artist", 3}};
    int updates = 0;
    bool hasFont = true;
    std::string fontName = "Sans";
    int fontSize = 9;

    void PublishProperties(TPropList& list) override {
        TComponent::PublishProperties(list);
        list.push_back(CharProperty(
            "Letter", [this] { return letter; }, [this](char32_t c) { letter = c; }));
        list.push_back(WideCharProperty(
            "Wide", [this] { return wide; }, [this](char32_t c) { wide = c; }));
        list.push_back(EnumerationProperty(
            "Shape", {"Circle", "Square", "Triangle"}, [this] { return shape; },
            [this](Shape v) { shape = v; }));
        list.push_back(BooleanProperty(
            "On", [this] { return on; }, [this](bool v) { on = v; }));
        list.push_back(FloatProperty(
            "Ratio", ftDouble, [this] { return ratio; },
            [this](long double v) { ratio = double(v); }));
        list.push_back(FloatProperty(
            "Single", ftSingle, [this] { return single; },
            [this](long double v) { single = float(v); }));
        list.push_back(FloatProperty(
            "Big", ftExtended, [this] { return big; }, [this](long double v) { big = v; }));
        list.push_back(SetProperty(
            "Sides", {"Top", "Left", "Bottom", "Right"}, [this] { return sides; },
            [this](std::uint32_t v) { sides = v; }));
        list.push_back(VariantProperty(
            "Value", [this] { return value; }, [this](const TVariant& v) { value = v; }));
        list.push_back(Int64Property(
            "Count", [this] { return count; }, [this](std::int64_t v) { count = v; }));
        list.push_back(ComponentProperty(
            "Buddy", [this] { return buddy; }, [this](TComponent* c) { buddy = c; }));
        TCollectionAccess access;
        access.Count = [this] { return int(columns.size()); };
        access.ItemProperties = [this](int i) { return columns.at(size_t(i)).Properties(); };
        access.Clear = [this] { columns.clear(); };
        access.Add = [this] { columns.emplace_back(); };
        access.BeginUpdate = [this] { ++updates; };
        access.EndUpdate = [this] { ++updates; };
        list.push_back(CollectionProperty("Columns", access));
        list.push_back(ObjectProperty("Font", [this](TPropList& props) {
            if (!hasFont) return false;
            props = {StringProperty(
                         "Name", [this] { return fontName; },
                         [this](const std::string& v) { fontName = v; }),
                     IntegerProperty(
                         "Size", [this] { return fontSize; }, [this](int v) { fontSize = v; })};
            return true;
        }));
    }
};

using Values = std::vector<std::pair<std::string, std::string>>;

struct GadgetForm : PropsForm {
    GadgetForm() {
        form.SetName("Main");
        gadget->SetName("Gadget");
        other.SetName("Other");
        button->SetName("Button");
        list = Entries({"Gadget.Letter", "Gadget.Wide", "Gadget.Shape", "Gadget.On", "Gadget.Ratio",
                        "Gadget.Single", "Gadget.Big", "Gadget.Sides", "Gadget.Value",
                        "Gadget.Count", "Gadget.Buddy", "Gadget.Columns", "Gadget.Font"});
    }
    Gadget* gadget = new Gadget(&form);
    TForm other{nullptr};
    TComponent* button = new TComponent(&other);
    TStoredPropList list;
};

TEST(PropsStorage, EveryKindIsWrittenAsItsTextAndReadBack) {
    GadgetForm f;
    f.gadget->buddy = f.button;
    f.storage.StoreProps(&f.form, f.list);
    EXPECT_EQ(f.store.sections["1.x"],
              (Values{{"Gadget_Letter", "\u00e9"},
                      {"Gadget_Wide", ""},  // blank, and written all the same
                      {"Gadget_Shape", "Square"},
                      {"Gadget_On", "False"},
                      {"Gadget_Ratio", "0.5"},
                      {"Gadget_Single", "0.1"},
                      {"Gadget_Big", "1E20"},
                      {"Gadget_Sides", "[Top,Bottom]"},
                      // an empty variant writes nothing
                      {"Gadget_Count", "5000000000"},
                      {"Gadget_Buddy", "Other.Button"},
                      {"Gadget_FontName", "Sans"},
                      {"Gadget_FontSize", "9"}}));
    // The items' properties by name, under "Item<n>_".
    EXPECT_EQ(f.store.sections["1.x.Gadget_Columns"],
              (Values{{"Count", "2"},
                      {"Item0_Options", "[coVisible]"},
                      {"Item0_Text", "#"},
                      {"Item0_Width", "40"},
                      {"Item1_Options", "[coVisible,coResizable]"},
                      {"Item1_Text", "Artist"},
                      {"Item1_Width", "150"}}));

    Gadget& g = *f.gadget;
    g.letter = U'x';
    g.wide = U'w';
    g.shape = Shape::Circle;
    g.on = true;
    g.ratio = g.big = 0;
    g.single = 0;
    g.sides = 0;
    g.value = 7;
    g.count = 0;
    g.buddy = nullptr;
    g.columns = {Column{}};
    g.fontName.clear();
    g.fontSize = 0;
    f.storage.LoadProps(&f.form, f.list);
    EXPECT_EQ(g.letter, U'\u00e9');
    EXPECT_EQ(g.wide, U'w');  // an empty text leaves a character
    EXPECT_EQ(g.shape, Shape::Square);
    EXPECT_FALSE(g.on);
    EXPECT_EQ(g.ratio, 0.5);
    EXPECT_EQ(g.single, 0.1f);
    EXPECT_EQ(g.big, 1e20L);
    EXPECT_EQ(g.sides, 0b101u);
    EXPECT_EQ(g.value, TVariant("7"));  // nothing stored: its own text, as a text
    EXPECT_EQ(g.count, 5'000'000'000);
    EXPECT_EQ(g.buddy, f.button);
    ASSERT_EQ(g.columns.size(), 2u);  // another count: emptied and filled again
    EXPECT_EQ(g.columns[1].Text, "Artist");
    EXPECT_EQ(g.columns[1].Width, 150);
    EXPECT_EQ(g.columns[1].Options, 3u);
    EXPECT_EQ(g.updates, 2);  // one update bracket
    EXPECT_EQ(g.fontName, "Sans");
    EXPECT_EQ(g.fontSize, 9);
}

TEST(PropsStorage, TextsThatNameNoValueLeaveThePropertyAndTheEmptySetIsKept) {
    GadgetForm f;
    Gadget& g = *f.gadget;
    auto load = [&](Values values) {
        f.store.sections["1.x"] = std::move(values);
        f.storage.LoadProps(&f.form, f.list);
    };
    load({{"Gadget_Letter", "xyz"},
          {"Gadget_Shape", "triangle"},
          {"Gadget_On", "TRUE"},
          {"Gadget_Ratio", " -1.25e3 "},
          {"Gadget_Sides", "[Right, Nowhere,,Top]"},
          {"Gadget_Count", "-9223372036854775808"},
          {"Gadget_Buddy", "(NULL)"}});
    EXPECT_EQ(g.letter, U'x');
    EXPECT_EQ(g.shape, Shape::Triangle);
    EXPECT_TRUE(g.on);
    EXPECT_EQ(g.ratio, -1250);
    EXPECT_EQ(g.sides, 0b1001u);
    EXPECT_EQ(g.count, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(g.buddy, nullptr);

    g.buddy = f.button;
    load({{"Gadget_Shape", "Hexagon"},
          {"Gadget_On", "maybe"},
          {"Gadget_Ratio", "1,5,"},
          {"Gadget_Count", "9223372036854775808"},
          {"Gadget_Buddy", "Ghost.Button"}});
    EXPECT_EQ(g.shape, Shape::Triangle);
    EXPECT_TRUE(g.on);
    EXPECT_EQ(g.ratio, -1250);
    EXPECT_EQ(g.count, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(g.buddy, f.button);  // no form of that name
    load({{"Gadget_Buddy", "Other.Missing"}});
    EXPECT_EQ(g.buddy, nullptr);  // the form has no such component
    f.gadget->SetName("Gadget");
    load({{"Gadget_Buddy", "gadget"}});
    EXPECT_EQ(g.buddy, f.gadget);  // without an owner: the storage's own form

    // The empty set is written "[]" and reads back empty.
    g.sides = 0;
    f.storage.StoreProps(&f.form, f.list);
    EXPECT_EQ(f.store.Get("1.x", "Gadget_Sides"), "[]");
    EXPECT_EQ(f.store.Get("1.x", "Gadget_Buddy"), "Gadget");
    g.sides = 0b1111;
    f.storage.LoadProps(&f.form, f.list);
    EXPECT_EQ(g.sides, 0u);

    // No object, nothing stored or loaded; a collection stored empty loads empty.
    g.hasFont = false;
    g.columns.clear();
    f.store.sections.clear();
    f.storage.StoreProps(&f.form, f.list);
    EXPECT_EQ(f.store.Get("1.x", "Gadget_FontName"), "<missing>");
    EXPECT_EQ(f.store.Get("1.x.Gadget_Columns", "Count"), "0");
    g.columns = {Column{}, Column{}};
    f.storage.LoadProps(&f.form, f.list);
    EXPECT_TRUE(g.columns.empty());
    // A damaged count asks for no more items than the section holds values.
    f.store.sections["1.x.Gadget_Columns"] = {{"Count", "2000000000"}, {"Item0_Width", "60"}};
    f.storage.LoadProps(&f.form, f.list);
    EXPECT_TRUE(g.columns.empty());
    f.store.sections["1.x.Gadget_Columns"] = {
        {"Count", "2"}, {"Item0_Width", "60"}, {"Item1_Width", "70"}};
    f.storage.LoadProps(&f.form, f.list);
    ASSERT_EQ(g.columns.size(), 2u);
    EXPECT_EQ(g.columns[1].Width, 70);
}

// A storage of its own kind names its values in capitals, inside nested objects too.
struct CapitalStorage : TPropsStorage {
    std::string ItemName(const std::string& propName) const override {
        return UpperCase(TPropsStorage::ItemName(propName));
    }
    std::unique_ptr<TPropsStorage> CreateStorage() const override {
        return std::make_unique<CapitalStorage>();
    }
};

TEST(PropsStorage, NestedObjectsAreHandledByAStorageOfTheSameKind) {
    GadgetForm f;
    CapitalStorage storage;
    storage.Section = "1.x";
    f.store.Attach(storage);
    storage.StoreProps(&f.form, f.list);
    EXPECT_EQ(f.store.Get("1.x", "GADGET_FONTNAME"), "Sans");
    EXPECT_EQ(f.store.Get("1.x.Gadget_Columns", "ITEM1_WIDTH"), "150");
}

TEST(PropTexts, FloatsAtTheirTypesPrecisionAndSetsAndCharacters) {
    const std::vector<std::tuple<long double, TFloatType, std::string>> floats = {
        {0, ftDouble, "0"},
        {1234.5, ftDouble, "1234.5"},
        {-2.5, ftDouble, "-2.5"},
        {1e-5, ftDouble, "0.00001"},
        {1e-6, ftDouble, "1E-6"},
        {-1.5e-7, ftDouble, "-1.5E-7"},
        {123456789012345.0, ftDouble, "123456789012345"},
        {1e15, ftDouble, "1E15"},
        {999999999999999.9, ftDouble, "1E15"},  // rounded up past the precision
        {1.0 / 3, ftDouble, "0.333333333333333"},
        {0.1 + 0.2, ftDouble, "0.3"},
        {1.0f / 3, ftSingle, "0.3333333"},
        {1234567.0f, ftSingle, "1234567"},
        {16777216.0f, ftSingle, "1.677722E7"},
        {123456789.0f, ftSingle, "1.234568E8"},
        {0.1L, ftExtended, "0.1"},
        {1.0L / 3, ftExtended, "0.333333333333333333"},
        {12345.6789L, ftCurr, "12345.6789"},
        {std::numeric_limits<long double>::quiet_NaN(), ftDouble, "NAN"},
        {-std::numeric_limits<long double>::infinity(), ftDouble, "-INF"}};
    for (const auto& [value, type, text] : floats) {
        EXPECT_EQ(FloatText(value, type), text);
        long double back = 0;
        ASSERT_TRUE(TextToFloat(text, back)) << text;
        if (!std::isnan(value) && type != ftSingle) {
            EXPECT_EQ(FloatText(back, type), text);
        }
    }
    long double value = 7;
    EXPECT_TRUE(TextToFloat(" +2 ", value));
    EXPECT_EQ(value, 2);
    for (const char* bad : {"", "abc", "1.5x", "1..5", "+-1", "1e999999"})
        EXPECT_FALSE(TextToFloat(bad, value)) << bad;
    EXPECT_EQ(value, 2);

    std::vector<std::string> names;
    for (int i = 0; i < 34; ++i) names.push_back(Format("n%d", i));
    EXPECT_EQ(SetText(names, 0), "[]");
    EXPECT_EQ(SetText(names, 0x80000001u), "[n0,n31]");
    EXPECT_EQ(TextToSet(names, "[N33 ,n1]"), 2u);  // past the 32 members of a set: skipped
    EXPECT_EQ(TextToSet(names, "[]"), 0u);
    EXPECT_EQ(EnumerationText({"a", "b"}, 2), "");
    char32_t c = U'q';
    EXPECT_FALSE(TextToChar("", c));
    EXPECT_TRUE(TextToChar("\u20ac uro", c));
    EXPECT_EQ(c, U'\u20ac');
    EXPECT_EQ(CharText(c), "\u20ac");
}

}  // namespace
}  // namespace rv
