#include "widgets/mru_list.h"

#include <algorithm>

#include "platform/dirs/full_path.h"
#include "platform/registry/registry.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"
#include "widgets/str_utils.h"

namespace rv {

namespace {

std::string ValueName(size_t index) {
    return Format("File %zu", index);
}

// "File <n>" with n at or beyond the list's length: left from a longer list.
bool StaleValue(const std::string& name, size_t count) {
    if (name.size() <= 5 || !SameText(name.substr(0, 5), "File ")) return false;
    std::string digits = name.substr(5);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
    return digits.size() > 9 || size_t(std::stoul(digits)) >= count;
}

}  // namespace

Lorvix_MRUList::Lorvix_MRUList(TComponent* owner) : TComponent(owner) {}

Lorvix_MRUList::~Lorvix_MRUList() {
    Save();
}

void Lorvix_MRUList::KeyChanging(std::string& part, const std::string& value) {
    if (part == value) return;
    if (loaded_) Save();
    part = value;
    loaded_ = false;
}

void Lorvix_MRUList::SetApplication(const std::string& value) {
    KeyChanging(application_, value);
}

void Lorvix_MRUList::SetManufacturer(const std::string& value) {
    KeyChanging(manufacturer_, value);
}

void Lorvix_MRUList::SetVersion(const std::string& value) {
    KeyChanging(version_, value);
}

void Lorvix_MRUList::SetCapacity(int value) {
    capacity_ = std::max(1, value);
}

std::string Lorvix_MRUList::GetRegKey() const {
    return Format("SOFTWARE\\%s\\%s\\%s\\Recent Files", manufacturer_.c_str(), application_.c_str(),
                  version_.c_str());
}

void Lorvix_MRUList::Load() {
    if (loaded_) return;
    files_.clear();
    TRegistry reg(KEY_READ);
    if (!manufacturer_.empty() && reg.OpenKeyReadOnly(GetRegKey())) {
        for (size_t i = 0; int(files_.size()) < capacity_; ++i) {
            std::string name = ValueName(i);
            if (!reg.ValueExists(name)) break;
            std::string file = reg.ReadString(name);
            if (!file.empty() && std::find(files_.begin(), files_.end(), file) == files_.end())
                files_.push_back(file);
        }
    }
    loaded_ = true;
}

const std::vector<std::string>& Lorvix_MRUList::GetFiles() {
    Load();
    return files_;
}

void Lorvix_MRUList::AddFile(const std::string& fileName) {
    std::string name = ExpandFileName(fileName);
    if (name.empty()) return;
    Load();
    std::erase(files_, name);
    while (int(files_.size()) >= capacity_) files_.pop_back();
    files_.insert(files_.begin(), name);
    RebuildPopupMenu();
    RebuildMainMenu();
}

void Lorvix_MRUList::Save() {
    if (manufacturer_.empty() || !loaded_) return;
    try {
        TRegistry reg;
        if (files_.empty()) {
            reg.DeleteKey(GetRegKey());
            return;
        }
        if (!reg.OpenKey(GetRegKey(), true)) return;
        for (size_t i = 0; i < files_.size(); ++i) reg.WriteString(ValueName(i), files_[i]);
        for (const std::string& name : reg.GetValueNames())
            if (StaleValue(name, files_.size())) reg.DeleteValue(name);
        reg.CloseKey();
    } catch (const ERegistryException&) {
        // Not reported: the list is a convenience, and the next save tries again.
    }
}

void Lorvix_MRUList::SetPopupMenu(TPopupMenu* menu) {
    if (SetLink(popupMenu_, menu)) RebuildPopupMenu();
}

void Lorvix_MRUList::SetMainMenuItem(TMenuItem* item) {
    if (SetLink(mainMenuItem_, item)) RebuildMainMenu();
}

void Lorvix_MRUList::RebuildMainMenu() {
    TMenuItem* menu = mainMenuItem_;
    if (!menu) return;
    bool empty = GetFiles().empty();
    TMenu* owner = menu->GetParentMenu();
    if (owner && menu->Parent() == owner->Items()) {
        // A menu of the bar: the list follows the menu's own items after a separator of its own.
        for (int i = 0; i < menu->Count(); ++i) {
            if (!menu->Items(i)->IsLine() || menu->Items(i)->Tag != -1) continue;
            while (menu->Count() > i) delete menu->Items(menu->Count() - 1);
            break;
        }
        if (!empty && menu->Count() > 0) {
            auto* separator = new TMenuItem(this);
            separator->SetCaption("-");
            separator->Tag = -1;
            menu->Add(separator);
        }
    } else {
        menu->Clear();
        menu->SetEnabled(!empty);
    }
    AddItems(menu, true);
}

void Lorvix_MRUList::RebuildPopupMenu() {
    if (!popupMenu_) return;
    popupMenu_->Items()->Clear();
    AddItems(popupMenu_->Items(), false);
}

void Lorvix_MRUList::AddItems(TMenuItem* parent, bool mainMenu) {
    const std::vector<std::string>& files = GetFiles();
    for (size_t i = 0; i < files.size(); ++i) {
        auto* item = new TMenuItem(this);
        // An "&" of the name is doubled so that it shows.
        item->SetCaption(
            Format("&%zX %s", i, ReplaceAll(SanitizeUtf8(files[i]), "&", "&&").c_str()));
        if (mainMenu) item->Tag = int(i);
        item->OnClick = [this, mainMenu](TObject* sender) {
            mainMenu ? DoMenuItemClick(sender) : DoPopupMenuClick(sender);
        };
        parent->Add(item);
    }
}

void Lorvix_MRUList::DoMenuItemClick(TObject* sender) {
    if (OnMenuItemClick) OnMenuItemClick(sender);
}

void Lorvix_MRUList::DoPopupMenuClick(TObject* sender) {
    if (OnPopupMenuClick) OnPopupMenuClick(sender);
}

void Lorvix_MRUList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == popupMenu_) popupMenu_ = nullptr;
    if (component == mainMenuItem_) mainMenuItem_ = nullptr;
}

}  // namespace rv
