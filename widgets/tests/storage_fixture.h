#pragma once
// Forms with a form storage, as the program's windows carry them, over a settings sandbox, and
// components with the kinds of properties the program stores.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/custom_controls.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "platform/windows/tests/gui_app.h"
#include "widgets/form_storage.h"

namespace rv::test {

using Names = std::vector<std::string>;

// The test programs' offscreen screen keeps 800 by 800 logical pixels at any scale factor (see
// testsupport/main.cpp); windows keep logical pixels, and so does the screen's name in stored
// positions.
inline const int kScreenSide = 800;
inline const std::string kSuffix =
    "(" + std::to_string(kScreenSide) + "x" + std::to_string(kScreenSide) + ")";

class StorageTest : public SettingsSandbox {
protected:
    StorageTest() { App(); }
    ~StorageTest() override { App().OnException = nullptr; }

    // Posted messages and the toolkit's window events.
    static void Settle() {
        for (int i = 0; i < 3; ++i) App().ProcessMessages();
    }
    static Names ValueNames(const std::string& key) {
        TRegistry reg(KEY_READ);
        return reg.OpenKeyReadOnly(key) ? reg.GetValueNames() : Names{};
    }
    static std::string Value(const std::string& key, const std::string& name) {
        TRegistry reg(KEY_READ);
        if (!reg.OpenKeyReadOnly(key)) return "<no key>";
        return reg.ValueExists(name) ? reg.ReadString(name) : "<missing>";
    }
    static void Write(const std::string& key, const std::string& name, const std::string& value) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString(name, value);
    }
    // Failures the application was given to show.
    void CatchErrors() {
        App().OnException = [this](const std::exception& e) { errors.push_back(e.what()); };
    }
    Names errors;
};

// Components with the properties the program stores: a combo box's Items, a dialog's InitialDir.
struct ComboBox : TCustomControl {
    using TCustomControl::TCustomControl;
    Names items{"designed site"};
    void PublishProperties(TPropList& list) override {
        TCustomControl::PublishProperties(list);
        list.push_back(StringListProperty(
            "Items", [this] { return items; }, [this](const Names& v) { items = v; }));
    }
};

struct OpenDialog : TComponent {
    using TComponent::TComponent;
    std::string initialDir;
    void PublishProperties(TPropList& list) override {
        TComponent::PublishProperties(list);
        list.push_back(StringProperty(
            "InitialDir", [this] { return initialDir; },
            [this](const std::string& v) { initialDir = v; }));
    }
};

inline const std::string kMainKey = "SOFTWARE\\Lorvix\\Reelvault\\1.x";

// A window like the main one: a tree panel whose width is kept, the CDDB settings as stored
// values (the password coded), restored into `restoredSite` after the placement.
struct MainWindow {
    MainWindow() {
        treePanel->SetName("TreePanel");
        treePanel->SetParent(form.get());
        treePanel->SetBounds(0, 0, 231, 400);
        storage->SetName("Storage");
        storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault");
        storage->SetIniSection("1.x");
        storage->UseRegistry = true;
        storage->SetStoredProps({{"TreePanel.Width", nullptr}});
        TStoredValues& values = storage->StoredValues();
        auto add = [&](const char* name, TVariant value, const char* key = "") {
            TStoredValue* v = values.Add();
            v->SetName(name);
            v->Value = value;
            v->KeyString = key;
        };
        add("Site", "freedb.freedb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 Random");
        add("Proxy", false);
        add("ProxyAddr", "");
        add("ProxyPort", 80);
        add("ProxyUser", "");
        add("ProxyPwd", "", "Dudida");
        storage->OnRestorePlacement = [this](TObject*) {
            restoredSite = storage->StoredValues().ValueByName("site")->Value.AsString();
        };
        form->FinishLoading();
    }
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TCustomControl* treePanel = new TCustomControl(form.get());
    TFormStorage* storage = new TFormStorage(form.get());
    std::string restoredSite;
};

}  // namespace rv::test
