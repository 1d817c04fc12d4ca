#include "widgets/form_storage.h"

#include <algorithm>

namespace rv {

TFormStorage::TFormStorage(TComponent* owner)
    : TFormPlacement(owner), storedValues_(std::make_unique<TStoredValues>(this)) {}

TFormStorage::~TFormStorage() = default;

void TFormStorage::SetStoredProps(const TStoredPropList& list) {
    storedProps_ = list;
    WatchComponents();
}

void TFormStorage::WatchComponents() {
    for (const TStoredProp& entry : storedProps_)
        if (entry.Component) FreeNotification(entry.Component);
}

void TFormStorage::Loaded() {
    TFormPlacement::Loaded();
    SyncStoredList(Owner(), storedProps_, true);
    WatchComponents();
}

void TFormStorage::Notification(TComponent* component, TOperation operation) {
    TFormPlacement::Notification(component, operation);
    if (operation != TOperation::opRemove || Destroying()) return;
    for (size_t i = storedProps_.size(); i-- > 0;)
        if (storedProps_[i].Component == component)
            storedProps_.erase(storedProps_.begin() + std::ptrdiff_t(i));
}

void TFormStorage::PrepareProps(TPropsStorage& storage) {
    storage.Section = IniSection();
    storage.OnReadString = [this](const std::string& section, const std::string& ident,
                                  const std::string& defaultValue) {
        return ReadText(section, ident, defaultValue);
    };
    storage.OnWriteString = [this](const std::string& section, const std::string& ident,
                                   const std::string& value) { WriteText(section, ident, value); };
    storage.OnEraseSection = [this](const std::string& section) {
        if (TCustomIniFile* ini = IniFileObject()) ini->EraseSection(section);
    };
    storage.OnSectionSize = [this](const std::string& section) {
        TCustomIniFile* ini = IniFileObject();
        return ini ? int(ini->ReadSection(section).size()) : 0;
    };
}

void TFormStorage::WriteProps() {
    TPropsStorage storage;
    PrepareProps(storage);
    storage.StoreProps(Owner(), storedProps_);
}

void TFormStorage::ReadProps() {
    TPropsStorage storage;
    PrepareProps(storage);
    storage.LoadProps(Owner(), storedProps_);
}

void TFormStorage::WritePlacement() {
    TFormPlacement::WritePlacement();
    WriteProps();
    storedValues_->WriteAll();
}

void TFormStorage::ReadPlacement() {
    TFormPlacement::ReadPlacement();
    restored_ = true;
    try {
        ReadProps();
    } catch (const std::exception&) {
        // A property that cannot be restored keeps its value.
    }
    storedValues_->ReadAll();
}

}  // namespace rv
