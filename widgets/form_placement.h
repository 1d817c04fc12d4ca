#pragma once

#include <memory>
#include <string>

#include "platform/framework/form.h"
#include "platform/registry/custom_ini_file.h"
#include "platform/registry/registry_roots.h"
#include "platform/windows/top_level_window.h"

namespace rv {

class TRxWindowHook;
class TFormPlacement;

enum TPlacementOption : unsigned { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
using TPlacementOptions = unsigned;
enum TPlacementRegRoot {
    prCurrentUser,
    prLocalMachine,
    prCurrentConfig,
    prClassesRoot,
    prUsers,
    prDynData
};
// The registry's root key of a placement root.
HKEY RootKeyOf(TPlacementRegRoot root);

// Limits a form placement puts on its form's size, and where the maximised form goes; a value
// of 0 leaves the system's own. All 0 (the default) puts no limits.
class TWinMinMaxInfo {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner = nullptr) : owner_(owner) {}
    TWinMinMaxInfo(const TWinMinMaxInfo& other) : info_(other.info_) {}
    // Copies the values (not the owner) and tells the owner.
    TWinMinMaxInfo& operator=(const TWinMinMaxInfo& other);

    int MaxPosLeft() const { return info_.ptMaxPosition.X; }
    void SetMaxPosLeft(int v) { Set(info_.ptMaxPosition.X, v); }
    int MaxPosTop() const { return info_.ptMaxPosition.Y; }
    void SetMaxPosTop(int v) { Set(info_.ptMaxPosition.Y, v); }
    int MaxSizeHeight() const { return info_.ptMaxSize.Y; }
    void SetMaxSizeHeight(int v) { Set(info_.ptMaxSize.Y, v); }
    int MaxSizeWidth() const { return info_.ptMaxSize.X; }
    void SetMaxSizeWidth(int v) { Set(info_.ptMaxSize.X, v); }
    int MaxTrackHeight() const { return info_.ptMaxTrackSize.Y; }
    void SetMaxTrackHeight(int v) { Set(info_.ptMaxTrackSize.Y, v); }
    int MaxTrackWidth() const { return info_.ptMaxTrackSize.X; }
    void SetMaxTrackWidth(int v) { Set(info_.ptMaxTrackSize.X, v); }
    int MinTrackHeight() const { return info_.ptMinTrackSize.Y; }
    void SetMinTrackHeight(int v) { Set(info_.ptMinTrackSize.Y, v); }
    int MinTrackWidth() const { return info_.ptMinTrackSize.X; }
    void SetMinTrackWidth(int v) { Set(info_.ptMinTrackSize.X, v); }

    bool DefaultMinMaxInfo() const;
    // Every value that is not 0 overwrites its field of `info`.
    void ApplyTo(TMinMaxInfo& info) const;

private:
    void Set(int& field, int value);
    TFormPlacement* owner_;
    TMinMaxInfo info_;
};

// Remembers across runs where its form was and in which state, optionally which control had
// the focus: in the registry (UseRegistry), key IniFileName of RegistryRoot, sub-key IniSection;
// or in the INI file IniFileName, section IniSection. It restores
// when the form is first shown and saves when the form may close or is freed, by chaining
// itself into the form's OnShow, OnCloseQuery and OnDestroy when the form has finished loading
// (TComponent::FinishLoading). It can also hold the form to one size (PreventResize) or between
// tracking sizes (MinMaxInfo).
//
// Failures of the automatic restore and saves go to the application's exception handling and
// never stop the form; a save that cannot be written says so there.
class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* owner);
    ~TFormPlacement() override;
    std::string ClassName() const override { return "TFormPlacement"; }

    // Off: no automatic restore or save.
    bool Active = true;
    // The registry key (below RegistryRoot), or the INI file's name (a name without a folder
    // lies in the settings folder); empty reads as DefaultRegistryKey() or DefaultIniFileName().
    std::string IniFileName() const;
    void SetIniFileName(const std::string& name) { iniFileName_ = name; }
    // Empty reads as DefaultSectionOf(the owner).
    std::string IniSection() const;
    void SetIniSection(const std::string& section) { iniSection_ = section; }
    const TWinMinMaxInfo& MinMaxInfo() const { return minMaxInfo_; }
    TWinMinMaxInfo& MinMaxInfo() { return minMaxInfo_; }
    void SetMinMaxInfo(const TWinMinMaxInfo& info) { minMaxInfo_ = info; }
    // [fpState, fpPosition] when a form owns the placement, [] otherwise.
    TPlacementOptions Options = 0;
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool value);
    // The registry's root key of IniFileName. A read-only restore creates no key.
    TPlacementRegRoot RegistryRoot = prCurrentUser;
    // The registry is where the values go; without it, an INI file.
    bool UseRegistry = false;
    // A stored "FormVersion" below this skips the whole restore.
    int Version = 0;

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    void SaveAll();
    void RestoreAll();

    // One value of IniSection, with a store of its own unless one is open (inside a save or a
    // restore). A write outside a save is written at once and raises when it cannot be.
    std::string ReadItem(const std::string& ident, const std::string& defaultValue);
    void WriteItem(const std::string& ident, const std::string& value);
    int ReadNumber(const std::string& ident, int defaultValue);
    void WriteNumber(const std::string& ident, int value);

protected:
    void Loaded() override;

    virtual void WritePlacement();
    virtual void ReadPlacement();
    virtual std::string ReadText(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue);
    virtual void WriteText(const std::string& section, const std::string& ident,
                           const std::string& value);
    virtual void DoSavePlacement();
    virtual void DoRestorePlacement();

    // The open store (nullptr when none is open or none is kept).
    TCustomIniFile* IniFileObject() const { return store_.get(); }
    TCustomForm* Form() const;
    bool restored_ = false;

private:
    class StoreUse;
    friend class TWinMinMaxInfo;

    // The tracking limits or the fixed size changed: the hook and the form follow.
    void MinMaxInfoModified();
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);
    void WndMessage(TObject* sender, TMessage& msg, bool& handled);
    void UpdatePlacement();
    void CheckToggleHook();

    std::string iniFileName_;
    std::string iniSection_;
    TWinMinMaxInfo minMaxInfo_{this};
    bool preventResize_ = false;

    std::unique_ptr<TCustomIniFile> store_;
    bool storeWritable_ = false;
    bool saved_ = false;
    bool formDestroying_ = false;
    bool defaultMaximize_ = false;
    TRxWindowHook* hook_;
    bool chained_ = false;
    TNotifyEvent savedShow_;
    TCloseQueryEvent savedCloseQuery_;
    TNotifyEvent savedDestroy_;
};

}  // namespace rv
