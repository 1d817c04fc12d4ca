#pragma once

#include <string>
#include <vector>

#include "platform/components/component.h"
#include "platform/windows/dialog_service.h"

namespace rv {

// The dialog for choosing files to open, through the dialog service in use. Execute shows it
// (owned by the form that owns the component, else by the main window) and, when the user
// confirms, sets FileName to the first chosen file, Files to all and FilterIndex to the filter
// in use.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);
    std::string ClassName() const override { return "TOpenDialog"; }

    std::string Title;
    // "description|patterns|description|patterns"; FilterIndex counts from 1.
    std::string Filter;
    int FilterIndex = 1;
    // Without a dot; added to a chosen name that has no extension.
    std::string DefaultExt;
    std::string FileName;
    std::string InitialDir;
    TOpenOptions Options = ofHideReadOnly;
    const std::vector<std::string>& Files() const { return files_; }

    // False when the user cancelled; nothing changes then.
    virtual bool Execute();

    // DefaultExt, FileName, Filter, FilterIndex, InitialDir, Title, besides the component's.
    void PublishProperties(TPropList& list) override;

protected:
    bool Run(bool save);

private:
    std::vector<std::string> files_;
};

// The dialog for choosing the name to save under; ofOverwritePrompt asks before an existing file
// is chosen.
class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    std::string ClassName() const override { return "TSaveDialog"; }
    bool Execute() override;
};

}  // namespace rv
