#include "platform/framework/common_dialogs.h"

#include "platform/framework/form.h"
#include "platform/messages/application.h"

namespace rv {

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
    return Run(false);
}

bool TSaveDialog::Execute() {
    return Run(true);
}

bool TOpenDialog::Run(bool save) {
    TFileDialogRequest request;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        request.Owner = form->Handle();
    else if (Application)
        request.Owner = Application->MainWindow();
    request.Title = Title;
    request.Filter = Filter;
    request.FilterIndex = FilterIndex;
    request.InitialDir = InitialDir;
    request.FileName = FileName;
    request.DefaultExt = DefaultExt;
    request.Options = Options;
    TFileDialogResult result;
    bool chosen = save ? Dialogs().SaveFile(request, result) : Dialogs().OpenFiles(request, result);
    if (!chosen || result.Files.empty()) return false;
    files_ = result.Files;
    FileName = files_.front();
    FilterIndex = result.FilterIndex;
    return true;
}

void TOpenDialog::PublishProperties(TPropList& list) {
    TComponent::PublishProperties(list);
    auto text = [&list](const char* name, std::string& field) {
        list.push_back(StringProperty(
            name, [&field] { return field; }, [&field](const std::string& v) { field = v; }));
    };
    text("DefaultExt", DefaultExt);
    text("FileName", FileName);
    text("Filter", Filter);
    text("InitialDir", InitialDir);
    text("Title", Title);
    list.push_back(IntegerProperty(
        "FilterIndex", [this] { return FilterIndex; }, [this](int v) { FilterIndex = v; }));
}

}  // namespace rv
