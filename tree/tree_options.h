#pragma once

#include <array>
#include <cstdint>

#include "platform/framework/scroll_style.h"
#include "platform/graphics/color.h"
#include "tree/option_set.h"

namespace rv {

class TBaseVirtualTree;

// The five option sets of every tree and the string tree's sixth; values in bit order.
enum class TVTPaintOption {
    toHideFocusRect,
    toHideSelection,
    toHotTrack,
    toPopupMode,
    toShowBackground,
    toShowButtons,
    toShowDropmark,
    toShowHorzGridLines,
    toShowRoot,
    toShowTreeLines,
    toShowVertGridLines,
    toThemeAware,
    toUseBlendedImages,
    toGhostedIfUnfocused,
    toFullVertGridLines,
    toAlwaysHideSelection,
    toUseBlendedSelection,
};
using enum TVTPaintOption;
using TVTPaintOptions = TSet<TVTPaintOption>;

enum class TVTAnimationOption { toAnimatedToggle };
using enum TVTAnimationOption;
using TVTAnimationOptions = TSet<TVTAnimationOption>;

enum class TVTAutoOption {
    toAutoDropExpand,
    toAutoExpand,
    toAutoScroll,
    toAutoScrollOnExpand,
    toAutoSort,
    toAutoSpanColumns,
    toAutoTristateTracking,
    toAutoHideButtons,
    toAutoDeleteMovedNodes,
    toDisableAutoscrollOnFocus,
    toAutoChangeScale,
    toAutoFreeOnCollapse,
};
using enum TVTAutoOption;
using TVTAutoOptions = TSet<TVTAutoOption>;

enum class TVTSelectionOption {
    toDisableDrawSelection,
    toExtendedFocus,
    toFullRowSelect,
    toLevelSelectConstraint,
    toMiddleClickSelect,
    toMultiSelect,
    toRightClickSelect,
    toSiblingSelectConstraint,
    toCenterScrollIntoView,
    toSimpleDrawSelection,
};
using enum TVTSelectionOption;
using TVTSelectionOptions = TSet<TVTSelectionOption>;

enum class TVTMiscOption {
    toAcceptOLEDrop,
    toCheckSupport,
    toEditable,
    toFullRepaintOnResize,
    toGridExtensions,
    toInitOnSave,
    toReportMode,
    toToggleOnDblClick,
    toWheelPanning,
    toReadOnly,
    toVariableNodeHeight,
    toFullRowDrag,
};
using enum TVTMiscOption;
using TVTMiscOptions = TSet<TVTMiscOption>;

enum class TVTStringOption { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using enum TVTStringOption;
using TVTStringOptions = TSet<TVTStringOption>;

inline constexpr TVTPaintOptions kDefaultPaintOptions = {
    toShowButtons, toShowDropmark, toShowRoot, toShowTreeLines, toThemeAware, toUseBlendedImages};
inline constexpr TVTAnimationOptions kDefaultAnimationOptions = {};
inline constexpr TVTAutoOptions kDefaultAutoOptions = {
    toAutoDropExpand, toAutoScrollOnExpand, toAutoTristateTracking, toAutoDeleteMovedNodes};
inline constexpr TVTSelectionOptions kDefaultSelectionOptions = {};
inline constexpr TVTMiscOptions kDefaultMiscOptions = {
    toAcceptOLEDrop, toFullRepaintOnResize, toInitOnSave, toToggleOnDblClick, toWheelPanning};
inline constexpr TVTStringOptions kDefaultStringOptions = {toSaveCaptions, toAutoAcceptEditChange};

// Which option set changed, for the tree's reaction to it.
enum class TVTOptionSetKind { oskPaint, oskAnimation, oskAuto, oskSelection, oskMisc, oskString };
using enum TVTOptionSetKind;

// The option sets of a tree. Each setter stores the new set and tells the owner tree which set
// changed and what it held before.
class TCustomVirtualTreeOptions {
public:
    explicit TCustomVirtualTreeOptions(TBaseVirtualTree* owner) : owner_(owner) {}
    virtual ~TCustomVirtualTreeOptions() = default;
    TCustomVirtualTreeOptions(const TCustomVirtualTreeOptions&) = delete;
    TCustomVirtualTreeOptions& operator=(const TCustomVirtualTreeOptions&) = delete;

    TBaseVirtualTree* Owner() const { return owner_; }

    TVTPaintOptions PaintOptions() const { return paint_; }
    TVTAnimationOptions AnimationOptions() const { return animation_; }
    TVTAutoOptions AutoOptions() const { return auto_; }
    TVTSelectionOptions SelectionOptions() const { return selection_; }
    TVTMiscOptions MiscOptions() const { return misc_; }

    void SetPaintOptions(TVTPaintOptions value);
    void SetAnimationOptions(TVTAnimationOptions value);
    void SetAutoOptions(TVTAutoOptions value);
    void SetSelectionOptions(TVTSelectionOptions value);
    void SetMiscOptions(TVTMiscOptions value);

    // Copies all five sets through their setters.
    virtual void Assign(const TCustomVirtualTreeOptions& source);

protected:
    void Changed(TVTOptionSetKind kind, std::uint32_t before);
    // Stores a changed set and tells the owner.
    template <class Set>
    void Store(Set& field, Set value, TVTOptionSetKind kind) {
        if (value == field) return;
        const std::uint32_t before = field.ToBits();
        field = value;
        Changed(kind, before);
    }

private:
    TBaseVirtualTree* owner_;
    TVTPaintOptions paint_ = kDefaultPaintOptions;
    TVTAnimationOptions animation_ = kDefaultAnimationOptions;
    TVTAutoOptions auto_ = kDefaultAutoOptions;
    TVTSelectionOptions selection_ = kDefaultSelectionOptions;
    TVTMiscOptions misc_ = kDefaultMiscOptions;
};

// The string tree's options: the five sets plus StringOptions.
class TStringTreeOptions : public TCustomVirtualTreeOptions {
public:
    using TCustomVirtualTreeOptions::TCustomVirtualTreeOptions;
    TVTStringOptions StringOptions() const { return string_; }
    void SetStringOptions(TVTStringOptions value);
    void Assign(const TCustomVirtualTreeOptions& source) override;

private:
    TVTStringOptions string_ = kDefaultStringOptions;
};

enum class TScrollBarStyle { sbmRegular, sbmFlat, sbm3D };
using enum TScrollBarStyle;

// The tree's scroll-bar settings with their defaults. AlwaysVisible and ScrollBars change
// which bars the window shows; the increments are the steps of the bars' arrows.
class TScrollBarOptions {
public:
    explicit TScrollBarOptions(TBaseVirtualTree* owner = nullptr) : owner_(owner) {}
    TScrollBarOptions(const TScrollBarOptions&) = delete;
    TScrollBarOptions& operator=(const TScrollBarOptions&) = delete;

    bool AlwaysVisible() const { return alwaysVisible_; }
    void SetAlwaysVisible(bool value);
    std::uint16_t HorizontalIncrement() const { return horizontalIncrement_; }
    void SetHorizontalIncrement(std::uint16_t value) { horizontalIncrement_ = value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TScrollBarStyle ScrollBarStyle() const { return scrollBarStyle_; }
    void SetScrollBarStyle(TScrollBarStyle value);
    std::uint16_t VerticalIncrement() const { return verticalIncrement_; }
    void SetVerticalIncrement(std::uint16_t value) { verticalIncrement_ = value; }

    // Copies all five values.
    void Assign(const TScrollBarOptions& source);

private:
    void Changed();

    TBaseVirtualTree* owner_;
    bool alwaysVisible_ = false;
    std::uint16_t horizontalIncrement_ = 20;
    TScrollStyle scrollBars_ = ssBoth;
    TScrollBarStyle scrollBarStyle_ = sbmRegular;
    std::uint16_t verticalIncrement_ = 20;
};

// The fifteen colours of a tree, kept by index.
class TVTColors {
public:
    enum Index {
        DisabledColor,
        DropMarkColor,
        DropTargetColor,
        FocusedSelectionColor,
        GridLineColor,
        TreeLineColor,
        UnfocusedSelectionColor,
        BorderColor,
        HotColor,
        FocusedSelectionBorderColor,
        UnfocusedSelectionBorderColor,
        DropTargetBorderColor,
        SelectionRectangleBlendColor,
        SelectionRectangleBorderColor,
        HeaderHotColor,
        Count
    };
    static constexpr std::array<TColor, Count> kDefaults = {
        clBtnShadow, clHighlight, clHighlight, clHighlight,  clBtnFace,
        clBtnShadow, clBtnFace,   clBtnFace,   clWindowText, clHighlight,
        clBtnFace,   clHighlight, clHighlight, clHighlight,  clBtnShadow,
    };

    explicit TVTColors(TBaseVirtualTree* owner = nullptr) : owner_(owner) {}
    TVTColors(const TVTColors&) = delete;
    TVTColors& operator=(const TVTColors&) = delete;

    TColor Get(Index index) const { return colors_[index]; }
    // A changed colour repaints the tree.
    void Set(Index index, TColor value);
    // Copies all fifteen.
    void Assign(const TVTColors& source);
    bool operator==(const TVTColors& other) const { return colors_ == other.colors_; }

private:
    TBaseVirtualTree* owner_;
    std::array<TColor, Count> colors_ = kDefaults;
};

}  // namespace rv
