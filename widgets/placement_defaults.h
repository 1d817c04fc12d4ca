#pragma once

#include <functional>
#include <string>

namespace rv {

class TComponent;

// Where a form placement keeps its values when it names no key or section of its own.

// Switches of the program: the company's name put before the program's in the default registry
// key, and whether the application title stands for the program's name there. Empty and off
// unless the program sets them.
extern std::string DefCompanyName;
extern bool RegUseAppTitle;

// The section of a component: empty for none; a form's class name; a control's name after its
// parent form's class name (or its parent's name when it has no form); any other component's
// name, after its owner form's class name and "." when a form owns it.
std::string DefaultSectionOf(const TComponent* component);

// "Software\[company\]<program>", the program being the executable's name without folder and
// extension (or the application title, see RegUseAppTitle).
std::string DefaultRegistryKey();

// When set, the program's own answer for DefaultIniFileName().
extern std::function<std::string()> OnGetDefaultIniName;

// The executable's file name without folder, with the extension ".INI" (or what
// OnGetDefaultIniName gives).
std::string DefaultIniFileName();

}  // namespace rv
