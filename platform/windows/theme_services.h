#pragma once

#include <functional>

#include "platform/graphics/canvas.h"
#include "platform/graphics/geometry.h"

namespace rv {

// Visual styles: controls that draw themselves ask here whether the desktop's look is to be
// used and have its elements drawn. There is no theme library on this platform; the elements
// come from the toolkit's own style, so they follow whatever style the application runs with.

// The theme classes, numbered as the visual-style binding numbers them.
enum class TThemedElement {
    teButton,
    teClock,
    teComboBox,
    teEdit,
    teExplorerBar,
    teHeader,
    teListView,
    teMenu,
    tePage,
    teProgress,
    teRebar,
    teScrollBar,
    teSpin,
    teStartPanel,
    teStatus,
    teTab,
    teTaskBand,
    teTaskBar,
    teToolBar,
    teToolTip,
    teTrackBar,
    teTrayNotify,
    teTreeview,
    teWindow,
};
using enum TThemedElement;

// One element of a theme class: a part and its state (1 is a part's normal state).
struct TThemedElementDetails {
    TThemedElement Element = teButton;
    int Part = 0;
    int State = 0;
    friend bool operator==(const TThemedElementDetails&, const TThemedElementDetails&) = default;
};

// Parts of the classes the controls draw, with the visual styles' numbers.
inline constexpr int BP_PUSHBUTTON = 1;  // states 1 normal, 2 hot, 3 pressed, 4 disabled, 5 default
inline constexpr int BP_RADIOBUTTON =
    2;  // 1–4 unchecked, 5–8 checked (normal, hot, pressed, disabled)
inline constexpr int BP_CHECKBOX = 3;  // 1–4 unchecked, 5–8 checked, 9–12 mixed
inline constexpr int EP_EDITTEXT = 1;
inline constexpr int EP_CARET = 2;
inline constexpr int HP_HEADERITEM = 1;  // states 1 normal, 2 hot, 3 pressed
inline constexpr int HP_HEADERITEMLEFT = 2;
inline constexpr int HP_HEADERITEMRIGHT = 3;
inline constexpr int HP_HEADERSORTARROW = 4;  // states 1 sorted up, 2 sorted down
inline constexpr int TVP_TREEITEM = 1;
inline constexpr int TVP_GLYPH = 2;  // states 1 closed, 2 opened
inline constexpr int TVP_BRANCH = 3;

// The element kinds GetElementDetails maps, by their detail values (0 "don't care", 1 the
// class's root).
enum class TThemedEdit {
    teEditDontCare,
    teEditRoot,
    teEditTextNormal,
    teEditTextHot,
    teEditTextSelected,
    teEditTextDisabled,
    teEditTextFocused,
    teEditTextReadOnly,
    teEditTextAssist,
    teEditCaret,
};
using enum TThemedEdit;

enum class TThemedHeader {
    thHeaderDontCare,
    thHeaderRoot,
    thHeaderItemNormal,
    thHeaderItemHot,
    thHeaderItemPressed,
    thHeaderItemLeftNormal,
    thHeaderItemLeftHot,
    thHeaderItemLeftPressed,
    thHeaderItemRightNormal,
    thHeaderItemRightHot,
    thHeaderItemRightPressed,
    thHeaderSortArrowSortedUp,
    thHeaderSortArrowSortedDown,
};
using enum TThemedHeader;

enum class TThemedTreeview {
    ttTreeviewDontCare,
    ttTreeviewRoot,
    ttItemNormal,
    ttItemHot,
    ttItemSelected,
    ttItemDisabled,
    ttItemSelectedNotFocus,
    ttGlyphClosed,
    ttGlyphOpened,
    ttBranch,
};
using enum TThemedTreeview;

class TThemeServices {
public:
    TThemeServices();
    TThemeServices(const TThemeServices&) = delete;
    TThemeServices& operator=(const TThemeServices&) = delete;

    // The style can be asked for its elements (there is always one once the toolkit runs).
    bool ThemesAvailable() const { return available_; }
    // Visual styles are switched on for the process (SetVisualStylesEnabled) and the style is
    // there; ControlsEnabled: the application lets controls use them.
    bool UseThemes() const { return useThemes_; }
    bool ControlsEnabled() const { return controlsEnabled_; }
    bool ThemesEnabled() const { return available_ && useThemes_ && controlsEnabled_; }

    static TThemedElementDetails GetElementDetails(TThemedEdit detail);
    static TThemedElementDetails GetElementDetails(TThemedHeader detail);
    static TThemedElementDetails GetElementDetails(TThemedTreeview detail);

    // Draws the element filling `r` (logical coordinates of the canvas), only inside `clip` when
    // one is given. False when the style has no picture for the element.
    bool DrawElement(TCanvas& canvas, const TThemedElementDetails& details, const TRect& r,
                     const TRect* clip = nullptr) const;
    // The themed border of a window with the client edge: `canvas` in window coordinates,
    // `window` the whole window. Only the two-pixel band at the edge is drawn; with
    // `scrollCorner` > 0 (both scroll bars shown) the square of that size in the lower right
    // corner inside the band is filled with the button face. Nothing without `clientEdge`.
    void PaintBorder(TCanvas& canvas, const TRect& window, bool clientEdge,
                     int scrollCorner = 0) const;

    // Takes the current style and the process switch again.
    void UpdateThemes();
    // Fired after the style (or the process switch) changed and UpdateThemes ran; every window
    // with a face then gets WM_THEMECHANGED, as on the desktop after a theme switch.
    std::function<void()> OnThemeChange;
    void ThemeChanged();

    bool available_ = false;
    bool useThemes_ = false;
    bool controlsEnabled_ = false;
};

// The services of the application, made on first use (which also starts watching the style).
TThemeServices& ThemeServices();

// The process switch of visual styles: on unless switched off (a test forces the look it
// checks). Changing it updates the services at once.
void SetVisualStylesEnabled(bool on);
bool VisualStylesEnabled();

}  // namespace rv
