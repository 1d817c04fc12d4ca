#include "tree/legacy_options.h"

#include <array>
#include <string_view>

namespace rv {

namespace {

// The option names in bit order, as each set declares its values.
constexpr std::array<std::string_view, 17> kPaintNames = {
    "HideFocusRect",      "HideSelection",      "HotTrack",          "PopupMode",
    "ShowBackground",     "ShowButtons",        "ShowDropmark",      "ShowHorzGridLines",
    "ShowRoot",           "ShowTreeLines",      "ShowVertGridLines", "ThemeAware",
    "UseBlendedImages",   "GhostedIfUnfocused", "FullVertGridLines", "AlwaysHideSelection",
    "UseBlendedSelection"};
constexpr std::array<std::string_view, 1> kAnimationNames = {"AnimatedToggle"};
constexpr std::array<std::string_view, 12> kAutoNames = {
    "AutoDropExpand",           "AutoExpand",      "AutoScroll",
    "AutoScrollOnExpand",       "AutoSort",        "AutoSpanColumns",
    "AutoTristateTracking",     "AutoHideButtons", "AutoDeleteMovedNodes",
    "DisableAutoscrollOnFocus", "AutoChangeScale", "AutoFreeOnCollapse"};
constexpr std::array<std::string_view, 10> kSelectionNames = {
    "DisableDrawSelection", "ExtendedFocus",      "FullRowSelect",    "LevelSelectConstraint",
    "MiddleClickSelect",    "MultiSelect",        "RightClickSelect", "SiblingSelectConstraint",
    "CenterScrollIntoView", "SimpleDrawSelection"};
constexpr std::array<std::string_view, 12> kMiscNames = {
    "AcceptOLEDrop",  "CheckSupport", "Editable",           "FullRepaintOnResize",
    "GridExtensions", "InitOnSave",   "ReportMode",         "ToggleOnDblClick",
    "WheelPanning",   "ReadOnly",     "VariableNodeHeight", "FullRowDrag"};
constexpr std::array<std::string_view, 3> kStringNames = {"SaveCaptions", "ShowStaticText",
                                                          "AutoAcceptEditChange"};

static_assert(kPaintNames.size() == std::size_t(toUseBlendedSelection) + 1);
static_assert(kAutoNames.size() == std::size_t(toAutoFreeOnCollapse) + 1);
static_assert(kSelectionNames.size() == std::size_t(toSimpleDrawSelection) + 1);
static_assert(kMiscNames.size() == std::size_t(toFullRowDrag) + 1);
static_assert(kStringNames.size() == std::size_t(toAutoAcceptEditChange) + 1);

// Adds the option called `name` to `set` when the set has one; answers whether it had.
template <class Set, std::size_t N>
bool AddNamed(Set& set, const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == name) {
            set = set + Set::FromBits(1u << i);
            return true;
        }
    return false;
}

// Appends the names of the options in `set`, with `prefix`.
template <class Set, std::size_t N>
void AddNames(std::vector<std::string>& out, Set set, const std::array<std::string_view, N>& names,
              std::string_view prefix) {
    for (std::size_t i = 0; i < N; ++i)
        if (set.ToBits() & (1u << i)) out.push_back(std::string(prefix) + std::string(names[i]));
}

}  // namespace

std::vector<std::string> LegacyOptionNames(const TCustomVirtualTreeOptions& options) {
    std::vector<std::string> names;
    AddNames(names, options.PaintOptions(), kPaintNames, "vo");
    AddNames(names, options.AnimationOptions(), kAnimationNames, "vo");
    AddNames(names, options.AutoOptions(), kAutoNames, "vo");
    AddNames(names, options.SelectionOptions(), kSelectionNames, "vo");
    AddNames(names, options.MiscOptions(), kMiscNames, "vo");
    if (auto* text = dynamic_cast<const TStringTreeOptions*>(&options))
        AddNames(names, text->StringOptions(), kStringNames, "so");
    return names;
}

TVTOptionSets MapLegacyOptions(const std::vector<std::string>& names,
                               std::vector<std::string>* unknown) {
    TVTOptionSets sets;
    for (const std::string& name : names) {
        const std::string_view prefix = std::string_view(name).substr(0, 2);
        const std::string_view rest = name.size() > 2 ? std::string_view(name).substr(2) : "";
        bool known = false;
        if (prefix == "vo")
            known = AddNamed(sets.Paint, kPaintNames, rest) ||
                    AddNamed(sets.Animation, kAnimationNames, rest) ||
                    AddNamed(sets.Auto, kAutoNames, rest) ||
                    AddNamed(sets.Selection, kSelectionNames, rest) ||
                    AddNamed(sets.Misc, kMiscNames, rest);
        else if (prefix == "so")
            known = AddNamed(sets.String, kStringNames, rest);
        if (!known && unknown) unknown->push_back(name);
    }
    return sets;
}

void ReadLegacyOptions(TCustomVirtualTreeOptions& options, const std::vector<std::string>& names,
                       std::vector<std::string>* unknown) {
    const TVTOptionSets sets = MapLegacyOptions(names, unknown);
    options.SetPaintOptions(sets.Paint);
    options.SetAnimationOptions(sets.Animation);
    options.SetAutoOptions(sets.Auto);
    options.SetSelectionOptions(sets.Selection);
    options.SetMiscOptions(sets.Misc);
    if (auto* text = dynamic_cast<TStringTreeOptions*>(&options))
        text->SetStringOptions(sets.String);
}

}  // namespace rv
