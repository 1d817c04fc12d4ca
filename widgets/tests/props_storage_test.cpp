#include "widgets/props_storage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

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

// A component with a collection of bands, each a width and a caption, and a property older
// stores carry that is read and never written.
struct BandBar : TComponent {
    using TComponent::TComponent;
    struct Band {
        int width = 10;
        std::string caption;
    };
    std::vector<Band> bands{{}, {}};
    std::string legacy;
    int loads = 0, inLoad = 0, resets = 0;
    void PublishProperties(TPropList& list) override {
        TComponent::PublishProperties(list);
        TCollectionAccess access;
        access.Count = [this] { return int(bands.size()); };
        access.Reset = [this](int n) {
            ++resets;
            EXPECT_EQ(inLoad, 1);
            bands.assign(std::size_t(n), Band{});
        };
        access.Item = [this](int i) {
            Band& b = bands.at(std::size_t(i));
            return TPropList{IntegerProperty(
                                 "Width", [&b] { return b.width; },
                                 [this, &b](int v) {
                                     EXPECT_EQ(inLoad, 1);
                                     b.width = v;
                                 }),
                             StringProperty(
                                 "Caption", [&b] { return b.caption; },
                                 [&b](const std::string& v) { b.caption = v; })};
        };
        access.BeginLoad = [this] { ++loads, ++inLoad; };
        access.EndLoad = [this] { --inLoad; };
        list.push_back(CollectionProperty("Bands", std::move(access)));
        TPropInfo old = StringProperty(
            "Legacy", [this] { return legacy; }, [this](const std::string& v) { legacy = v; });
        old.Stored = [] { return false; };
        list.push_back(std::move(old));
    }
};

TEST(PropsStorage, CollectionsKeepTheirCountAndEachItemsPropertiesInASubSection) {
    PropsForm f;
    auto* bar = new BandBar(&f.form);
    bar->SetName("Bar");
    TStoredPropList list = f.Entries({"Bar.Bands", "Bar.Legacy"});
    ASSERT_EQ(list.size(), 2u);
    bar->bands = {{120, "Title"}, {40, " Year "}, {60, ""}};
    bar->legacy = "old";
    f.storage.StoreProps(&f.form, list);
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(f.store.sections["1.x.Bar_Bands"], (Values{{"Count", "3"},
                                                         {"Item0_Width", "120"},
                                                         {"Item0_Caption", "Title"},
                                                         {"Item1_Width", "40"},
                                                         {"Item1_Caption", "Year"},
                                                         {"Item2_Width", "60"},
                                                         {"Item2_Caption", ""}}));
    // The read-only property is not written; the outer section keeps nothing of the collection.
    EXPECT_TRUE(f.store.sections["1.x"].empty());

    // Loaded into a bar of another count: cleared, one band per index, all inside the bracket.
    bar->bands = {{}};
    f.storage.LoadProps(&f.form, list);
    ASSERT_EQ(bar->bands.size(), 3u);
    EXPECT_EQ(bar->bands[0].width, 120);
    EXPECT_EQ(bar->bands[1].caption, "Year");
    EXPECT_EQ(bar->bands[2].width, 60);
    EXPECT_EQ(bar->resets, 1);
    EXPECT_EQ(bar->inLoad, 0);
    // Of the same count the bands stay and take the stored values.
    bar->bands[1].width = 7;
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(bar->resets, 1);
    EXPECT_EQ(bar->bands[1].width, 40);

    // An empty collection is written as a count of 0 and read back as none.
    bar->bands.clear();
    f.storage.StoreProps(&f.form, list);
    EXPECT_EQ(f.store.sections["1.x.Bar_Bands"], (Values{{"Count", "0"}}));
    bar->bands = {{}, {}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_TRUE(bar->bands.empty());

    // Without a stored value, and with a damaged count, the bands stay as they are.
    f.store.sections.erase("1.x.Bar_Bands");
    bar->bands = {{33, "kept"}};
    f.storage.LoadProps(&f.form, list);
    ASSERT_EQ(bar->bands.size(), 1u);
    EXPECT_EQ(bar->bands[0].width, 33);
    f.store.sections["1.x.Bar_Bands"] = {{"Count", "2000000000"}, {"Item0_Width", "5"}};
    f.storage.LoadProps(&f.form, list);
    ASSERT_EQ(bar->bands.size(), 1u);
    EXPECT_EQ(bar->bands[0].width, 33);
    f.store.sections["1.x.Bar_Bands"] = {{"Count", "-1"}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(bar->bands.size(), 1u);

    // A read-only property is still read.
    f.store.sections["1.x"] = {{"Bar_Legacy", "from an older store"}};
    f.storage.LoadProps(&f.form, list);
    EXPECT_EQ(bar->legacy, "from an older store");
}

}  // namespace
}  // namespace rv
