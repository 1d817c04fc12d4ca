#include "widgets/stored_values.h"

#include <gtest/gtest.h>

#include "widgets/tests/storage_fixture.h"

namespace rv {
namespace {

using test::kMainKey;
using StoredValues = test::StorageTest;

struct Settings {
    Settings() {
        storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault");
        storage->SetIniSection("1.x");
        storage->UseRegistry = true;
        for (const char* name : {"Site", "Proxy", "ProxyPort", "ProxyUser", "ProxyPwd"})
            values().Add()->SetName(name);
        values().ValueByName("ProxyPwd")->KeyString = "Dudida";
    }
    TStoredValues& values() { return storage->StoredValues(); }
    TVariant& operator[](const char* name) { return values().ValueByName(name)->Value; }
    TForm form{nullptr};
    TFormStorage* storage = new TFormStorage(&form);
};

TEST_F(StoredValues, ValuesRoundTripAsTextTheCodedOneHexadecimal) {
    {
        Settings s;
        s["Site"] = "freedb.org http 80 /~cddb/cddb.cgi";
        s["Proxy"] = true;
        s["ProxyPort"] = 80;
        s["ProxyPwd"] = "secret!";
        s.values().WriteAll();  // each value written at once, outside any save
    }
    EXPECT_EQ(Value(kMainKey, "Proxy"), "True");
    EXPECT_EQ(Value(kMainKey, "ProxyPort"), "80");
    EXPECT_EQ(Value(kMainKey, "ProxyUser"), "");
    EXPECT_EQ(Value(kMainKey, "ProxyPwd"), "3710071b011565");  // worked by hand

    Settings again;
    again["ProxyUser"] = "kept";  // missing from the settings: stays
    again.values().ReadAll();
    EXPECT_EQ(again["Site"], TVariant("freedb.org http 80 /~cddb/cddb.cgi"));
    EXPECT_EQ(again["Proxy"], TVariant("True"));
    EXPECT_TRUE(again["Proxy"].AsBoolean());
    EXPECT_EQ(again["ProxyPort"], TVariant("80"));
    EXPECT_EQ(again["ProxyPwd"], TVariant("secret!"));

    // An empty coded value is stored empty; the events may change what goes and comes.
    again["ProxyPwd"] = "";
    TStoredValue* port = again.values().ValueByName("ProxyPort");
    port->OnSave = [](TStoredValue*, TVariant& v) { v = v.AsInteger() + 1; };
    port->OnRestore = [](TStoredValue*, TVariant& v) { v = "port " + v.AsString(); };
    again.values().WriteAll();
    EXPECT_EQ(Value(kMainKey, "ProxyPwd"), "");
    EXPECT_EQ(Value(kMainKey, "ProxyPort"), "81");
    port->ReadValue();
    EXPECT_EQ(port->Value, TVariant("port 81"));
}

TEST_F(StoredValues, NamesAreUniqueAndFoundWithoutCase) {
    Settings s;
    EXPECT_EQ(s.values().ValueByName("site"), s.values().Items(0));
    EXPECT_EQ(s.values().IndexOf("PROXYPWD"), 4);
    EXPECT_EQ(s.values().ValueByName("Nothing"), nullptr);
    TStoredValue* site = s.values().Items(0);
    EXPECT_THROW(site->SetName("proxy"), EComponentError);
    EXPECT_EQ(site->Name(), "Site");
    site->SetName("SITE");
    EXPECT_EQ(site->Name(), "SITE");

    TStoredValue* fresh = s.values().Add();
    EXPECT_TRUE(fresh->Value.IsEmpty());
    EXPECT_EQ(fresh->DisplayName(), "TStoredValue");
    EXPECT_THROW(fresh->Assign(*site), EComponentError);  // the name is taken
    s.values().Delete(0);

    // Without a storage a value has nowhere to go.
    TStoredValues loose;
    TStoredValue* other = loose.Add();
    other->SetName("Site");
    other->Value = 7;
    other->KeyString = "k";
    EXPECT_THROW(other->WriteValue(), EComponentError);
    fresh->Assign(*other);
    EXPECT_EQ(fresh->Name(), "Site");
    EXPECT_EQ(fresh->Value, TVariant(7));
    EXPECT_EQ(fresh->KeyString, "k");
    EXPECT_EQ(fresh->Index(), 4);
}

}  // namespace
}  // namespace rv
