#pragma once

#include <memory>
#include <string>

#include "widgets/form_placement.h"
#include "widgets/props_storage.h"
#include "widgets/stored_values.h"

namespace rv {

// A form placement that also keeps chosen properties of the form's components (StoredProps,
// entries "Component.Property", saved as values "Component_Property") and named values of the
// program's own (StoredValues), in the same section. The properties and values are restored
// before OnRestorePlacement fires.
//
// StoredProps are found on the form when it finishes loading; entries naming no component of
// the form are dropped then, and an entry goes when its component is freed.
class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* owner);
    ~TFormStorage() override;
    std::string ClassName() const override { return "TFormStorage"; }

    TStoredPropList& StoredProps() { return storedProps_; }
    void SetStoredProps(const TStoredPropList& list);
    TStoredValues& StoredValues() { return *storedValues_; }
    void SetStoredValues(const TStoredValues& values) { *storedValues_ = values; }

protected:
    // Inside a save or a restore, when the store is open.
    virtual void WriteProps();
    virtual void ReadProps();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WritePlacement() override;
    void ReadPlacement() override;

private:
    void PrepareProps(TPropsStorage& storage);
    void WatchComponents();

    TStoredPropList storedProps_;
    std::unique_ptr<TStoredValues> storedValues_;
};

}  // namespace rv
