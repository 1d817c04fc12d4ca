#include "widgets/placement_defaults.h"

#include "platform/dirs/full_path.h"
#include "platform/framework/form.h"
#include "platform/messages/application.h"

namespace rv {

std::string DefCompanyName;
bool RegUseAppTitle = false;
std::function<std::string()> OnGetDefaultIniName;

namespace {

// The executable's name without folder and extension.
std::string ProgramName() {
    std::string name = ExecutableFileName();
    name.erase(0, name.rfind('/') + 1);
    if (size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

std::string DefaultSectionOf(const TComponent* component) {
    if (!component) return {};
    if (dynamic_cast<const TCustomForm*>(component)) return component->ClassName();
    if (auto* control = dynamic_cast<const TControl*>(component)) {
        if (TCustomForm* form = control->GetParentForm())
            return form->ClassName() + control->Name();
        return (control->Parent() ? control->Parent()->Name() : std::string()) + control->Name();
    }
    if (auto* form = dynamic_cast<const TCustomForm*>(component->Owner()))
        return form->ClassName() + "." + component->Name();
    return component->Name();
}

std::string DefaultRegistryKey() {
    std::string program = ProgramName();
    if (RegUseAppTitle && Application && !Application->Title.empty()) program = Application->Title;
    if (!DefCompanyName.empty()) program = DefCompanyName + "\\" + program;
    return "Software\\" + program;
}

std::string DefaultIniFileName() {
    if (OnGetDefaultIniName) return OnGetDefaultIniName();
    return ProgramName() + ".INI";
}

}  // namespace rv
