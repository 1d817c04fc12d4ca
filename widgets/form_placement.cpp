#include "widgets/form_placement.h"

#include "platform/messages/application.h"
#include "platform/registry/ini_file.h"
#include "platform/registry/registry_ini_file.h"
#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "widgets/placement_defaults.h"
#include "widgets/window_hook.h"
#include "widgets/window_placement_store.h"

namespace rv {

namespace {

// The classic frame a maximised window pushes off the screen, by border style.
TPoint FrameOf(TFormBorderStyle style) {
    switch (style) {
        case bsSingle:
        case bsToolWindow:
            return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
        case bsSizeable:
        case bsSizeToolWin:
            return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
        case bsDialog:
            return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
        default:
            return {0, 0};
    }
}

}  // namespace

HKEY RootKeyOf(TPlacementRegRoot root) {
    switch (root) {
        case prLocalMachine:
            return HKEY_LOCAL_MACHINE;
        case prCurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case prClassesRoot:
            return HKEY_CLASSES_ROOT;
        case prUsers:
            return HKEY_USERS;
        case prDynData:
            return HKEY_DYN_DATA;
        default:
            return HKEY_CURRENT_USER;
    }
}

// ---- min/max info -----------------------------------------------------------------------------

TWinMinMaxInfo& TWinMinMaxInfo::operator=(const TWinMinMaxInfo& other) {
    info_ = other.info_;
    if (owner_) owner_->MinMaxInfoModified();
    return *this;
}

void TWinMinMaxInfo::Set(int& field, int value) {
    if (field == value) return;
    field = value;
    if (owner_) owner_->MinMaxInfoModified();
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    for (const TPoint& p :
         {info_.ptMaxPosition, info_.ptMaxSize, info_.ptMaxTrackSize, info_.ptMinTrackSize})
        if (p.X != 0 || p.Y != 0) return false;
    return true;
}

void TWinMinMaxInfo::ApplyTo(TMinMaxInfo& info) const {
    auto apply = [](int& field, int value) {
        if (value != 0) field = value;
    };
    apply(info.ptMaxPosition.X, info_.ptMaxPosition.X);
    apply(info.ptMaxPosition.Y, info_.ptMaxPosition.Y);
    apply(info.ptMaxSize.X, info_.ptMaxSize.X);
    apply(info.ptMaxSize.Y, info_.ptMaxSize.Y);
    apply(info.ptMaxTrackSize.X, info_.ptMaxTrackSize.X);
    apply(info.ptMaxTrackSize.Y, info_.ptMaxTrackSize.Y);
    apply(info.ptMinTrackSize.X, info_.ptMinTrackSize.X);
    apply(info.ptMinTrackSize.Y, info_.ptMinTrackSize.Y);
}

// ---- the store --------------------------------------------------------------------------------

// The store of one operation: opened when none is open (or only a read-only one is, and this
// operation writes), closed again at the end; Commit writes what it opened.
class TFormPlacement::StoreUse {
public:
    StoreUse(TFormPlacement& placement, bool write) : p_(placement) {
        if (p_.store_ && (p_.storeWritable_ || !write)) return;
        outer_ = std::move(p_.store_);
        outerWritable_ = p_.storeWritable_;
        opened_ = true;
        p_.storeWritable_ = write;
        if (p_.UseRegistry)
            p_.store_ = std::make_unique<TRegistryIniFile>(
                p_.IniFileName(), write ? KEY_ALL_ACCESS : KEY_READ, RootKeyOf(p_.RegistryRoot));
        else
            p_.store_ = std::make_unique<TIniFile>(p_.IniFileName());
    }
    ~StoreUse() {
        if (!opened_) return;
        p_.store_ = std::move(outer_);
        p_.storeWritable_ = outerWritable_;
    }
    StoreUse(const StoreUse&) = delete;
    StoreUse& operator=(const StoreUse&) = delete;

    void Commit() {
        if (opened_ && p_.storeWritable_ && p_.store_) p_.store_->UpdateFile();
    }

private:
    TFormPlacement& p_;
    std::unique_ptr<TCustomIniFile> outer_;
    bool outerWritable_ = false;
    bool opened_ = false;
};

// ---- the component ----------------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* owner)
    : TComponent(owner), hook_(new TRxWindowHook(this)) {
    if (Form()) Options = fpState | fpPosition;
    hook_->AfterMessage = [this](TObject* sender, TMessage& msg, bool& handled) {
        WndMessage(sender, msg, handled);
    };
}

TFormPlacement::~TFormPlacement() {
    hook_->AfterMessage = nullptr;
    hook_->SetWinControl(nullptr);
    if (TCustomForm* form = Form(); form && chained_) {
        form->OnShow = savedShow_;
        form->OnCloseQuery = savedCloseQuery_;
        form->OnDestroy = savedDestroy_;
    }
}

TCustomForm* TFormPlacement::Form() const {
    return dynamic_cast<TCustomForm*>(Owner());
}

std::string TFormPlacement::IniFileName() const {
    if (!iniFileName_.empty()) return iniFileName_;
    return UseRegistry ? DefaultRegistryKey() : DefaultIniFileName();
}

std::string TFormPlacement::IniSection() const {
    return iniSection_.empty() ? DefaultSectionOf(Owner()) : iniSection_;
}

void TFormPlacement::Loaded() {
    TComponent::Loaded();
    if (TCustomForm* form = Form(); form && !chained_) {
        chained_ = true;
        savedShow_ = form->OnShow;
        savedCloseQuery_ = form->OnCloseQuery;
        savedDestroy_ = form->OnDestroy;
        form->OnShow = [this](TObject* sender) { FormShow(sender); };
        form->OnCloseQuery = [this](TObject* sender, bool& canClose) {
            FormCloseQuery(sender, canClose);
        };
        form->OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
        defaultMaximize_ = form->BorderIcons() & biMaximize;
    }
    CheckToggleHook();
}

void TFormPlacement::FormShow(TObject* sender) {
    if (Active) RunReported([this] { RestoreAll(); });
    if (savedShow_) savedShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
    if (savedCloseQuery_) savedCloseQuery_(sender, canClose);
    if (canClose && Active && Form() && Form()->Handle()) RunReported([this] { SaveAll(); });
}

void TFormPlacement::FormDestroy(TObject* sender) {
    if (Active && !saved_) {
        formDestroying_ = true;
        RunReported([this] { SaveAll(); });
        formDestroying_ = false;
    }
    if (savedDestroy_) savedDestroy_(sender);
}

void TFormPlacement::RestoreAll() {
    saved_ = false;
    {
        StoreUse use(*this, false);
        if (IniReadInteger(store_.get(), IniSection(), "FormVersion", 0) >= Version) {
            ReadPlacement();
            restored_ = true;
            DoRestorePlacement();
            TCustomForm* form = Form();
            if ((Options & fpActiveControl) && form) {
                std::string name = ReadText(IniSection(), "ActiveControl", "");
                auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
                if (control && control->CanFocus()) form->SetActiveControl(control);
            }
        }
        restored_ = true;
    }
    UpdatePlacement();
}

void TFormPlacement::SaveAll() {
    // A form never restored keeps what is stored.
    if (!restored_ && Active) return;
    StoreUse use(*this, true);
    IniWriteInteger(store_.get(), IniSection(), "FormVersion", Version);
    WritePlacement();
    DoSavePlacement();
    saved_ = true;
    use.Commit();
}

void TFormPlacement::ReadPlacement() {
    if (TCustomForm* form = Form())
        ReadWindowPlacement(form, store_.get(), IniSection(), Options & fpPosition,
                            Options & fpState);
}

void TFormPlacement::WritePlacement() {
    TCustomForm* form = Form();
    if (!form) return;
    if (Options & (fpState | fpPosition)) {
        WriteWindowPlacement(form, store_.get(), IniSection());
        IniWriteInteger(store_.get(), IniSection(), "Visible", formDestroying_ ? 1 : 0);
    }
    if ((Options & fpActiveControl) && form->ActiveControl())
        WriteText(IniSection(), "ActiveControl", form->ActiveControl()->Name());
}

std::string TFormPlacement::ReadText(const std::string& section, const std::string& ident,
                                     const std::string& defaultValue) {
    return IniReadString(store_.get(), section, ident, defaultValue);
}

void TFormPlacement::WriteText(const std::string& section, const std::string& ident,
                               const std::string& value) {
    IniWriteString(store_.get(), section, ident, value);
}

void TFormPlacement::DoSavePlacement() {
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::DoRestorePlacement() {
    if (OnRestorePlacement) OnRestorePlacement(this);
}

std::string TFormPlacement::ReadItem(const std::string& ident, const std::string& defaultValue) {
    StoreUse use(*this, false);
    return ReadText(IniSection(), ident, defaultValue);
}

void TFormPlacement::WriteItem(const std::string& ident, const std::string& value) {
    StoreUse use(*this, true);
    WriteText(IniSection(), ident, value);
    use.Commit();
}

int TFormPlacement::ReadNumber(const std::string& ident, int defaultValue) {
    StoreUse use(*this, false);
    return IniReadInteger(store_.get(), IniSection(), ident, defaultValue);
}

void TFormPlacement::WriteNumber(const std::string& ident, int value) {
    StoreUse use(*this, true);
    IniWriteInteger(store_.get(), IniSection(), ident, value);
    use.Commit();
}

// ---- size limits ------------------------------------------------------------------------------

void TFormPlacement::SetPreventResize(bool value) {
    TCustomForm* form = Form();
    if (!form || value == preventResize_) return;
    preventResize_ = value;
    UpdatePlacement();
    if (preventResize_) defaultMaximize_ = form->BorderIcons() & biMaximize;
    TBorderIcons icons = form->BorderIcons();
    if (!preventResize_ && defaultMaximize_ && form->BorderStyle() != bsDialog)
        icons |= biMaximize;
    else
        icons &= ~unsigned(biMaximize);
    form->SetBorderIcons(icons);
    if (!Loading()) CheckToggleHook();
}

void TFormPlacement::MinMaxInfoModified() {
    UpdatePlacement();
    if (!Loading()) CheckToggleHook();
}

void TFormPlacement::CheckToggleHook() {
    TCustomForm* form = Form();
    hook_->SetActive(form && (preventResize_ || !minMaxInfo_.DefaultMinMaxInfo()));
    hook_->SetWinControl(form);
    // The window asks for its limits when shown or sized; these apply now.
    if (form) UpdateWindowSizeLimits(form->Handle());
}

// A maximised form covers the screen with its frame pushed off it.
void TFormPlacement::UpdatePlacement() {
    TCustomForm* form = Form();
    if (!form || Loading() || preventResize_ || !minMaxInfo_.DefaultMinMaxInfo()) return;
    TWindowPlacement p;
    GetWindowPlacement(form->Handle(), p);
    if (!IsWindowVisible(form->Handle())) p.showCmd = SW_HIDE;
    TPoint frame = FrameOf(form->BorderStyle());
    p.ptMaxPosition = {-frame.X, -frame.Y};
    SetWindowPlacement(form->Handle(), p);
}

void TFormPlacement::WndMessage(TObject*, TMessage& msg, bool&) {
    TCustomForm* form = Form();
    if (!form) return;
    if (preventResize_) {
        if (msg.Msg == WM_GETMINMAXINFO && IsWindowVisible(form->Handle())) {
            auto* info = reinterpret_cast<TMinMaxInfo*>(msg.LParam);
            info->ptMinTrackSize = info->ptMaxTrackSize = {form->Width(), form->Height()};
            msg.Result = 1;
        } else if (msg.Msg == WM_NCHITTEST && msg.Result >= 10 && msg.Result <= 17) {
            msg.Result = HTNOWHERE;  // no sizing borders
        }
    } else if (msg.Msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<TMinMaxInfo*>(msg.LParam);
        if (minMaxInfo_.DefaultMinMaxInfo())
            info->ptMaxPosition = {0, 0};
        else
            minMaxInfo_.ApplyTo(*info);
        msg.Result = 1;
    }
}

}  // namespace rv
