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
// The old string set knew the first two string options only.
constexpr std::array<std::string_view, 2> kOldStringNames = {"SaveCaptions", "ShowStaticText"};
constexpr TVTStringOptions kOldStringOptions = {toSaveCaptions, toShowStaticText};

static_assert(kPaintNames.size() == std::size_t(toUseBlendedSelection) + 1);
static_assert(kAutoNames.size() == std::size_t(toAutoFreeOnCollapse) + 1);
static_assert(kSelectionNames.size() == std::size_t(toSimpleDrawSelection) + 1);
static_assert(kMiscNames.size() == std::size_t(toFullRowDrag) + 1);
static_assert(kOldStringNames.size() == std::size_t(toShowStaticText) + 1);

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

// The name without its two-letter prefix when it has `prefix`, else nothing.
std::string_view After(std::string_view prefix, std::string_view name) {
    return name.size() > 2 && name.substr(0, 2) == prefix ? name.substr(2) : std::string_view();
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
    return names;
}

TVTOptionSets MapLegacyOptions(const std::vector<std::string>& names,
                               std::vector<std::string>* unknown) {
    TVTOptionSets sets;
    for (const std::string& name : names) {
        const std::string_view option = After("vo", name);
        const bool known = AddNamed(sets.Paint, kPaintNames, option) ||
                           AddNamed(sets.Animation, kAnimationNames, option) ||
                           AddNamed(sets.Auto, kAutoNames, option) ||
                           AddNamed(sets.Selection, kSelectionNames, option) ||
                           AddNamed(sets.Misc, kMiscNames, option) ||
                           AddNamed(sets.String, kOldStringNames, After("so", name));
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
}

void ReadLegacyStringOptions(TStringTreeOptions& options, const std::vector<std::string>& names,
                             std::vector<std::string>* unknown) {
    TVTStringOptions read;
    for (const std::string& name : names)
        if (!AddNamed(read, kOldStringNames, After("so", name)) && unknown)
            unknown->push_back(name);
    options.SetStringOptions(options.StringOptions() - kOldStringOptions + read);
}

TPropInfo LegacySetProperty(std::string name,
                            std::function<void(const std::vector<std::string>& names)> read) {
    TPropInfo info = StringProperty(
        std::move(name), [] { return std::string(); },
        [read = std::move(read)](const std::string& text) {
            std::vector<std::string> words;
            std::string word;
            for (char c : text + " ") {
                if (c == ' ' || c == ',' || c == '[' || c == ']') {
                    if (!word.empty()) words.push_back(word);
                    word.clear();
                } else {
                    word += c;
                }
            }
            if (!text.empty()) read(words);  // "[]" is a set without members
        });
    info.Stored = [] { return false; };
    return info;
}

}  // namespace rv
