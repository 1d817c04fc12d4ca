#pragma once

#include <array>

#include "platform/graphics/geometry.h"

namespace rv {

enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;

// The parts of the bar, in the order their rectangles are kept and hit-tested.
inline constexpr int kFirstArrow = 0;   // left or up
inline constexpr int kSecondArrow = 1;  // right or down
inline constexpr int kTrackBefore = 2;  // between the first arrow and the scroller
inline constexpr int kTrackAfter = 3;   // between the scroller and the second arrow
inline constexpr int kScroller = 4;
inline constexpr int kPartCount = 5;
inline constexpr int kNoPart = 5;

// What the layout depends on.
struct TFatScrollBarMetrics {
    TScrollBarKind Kind = sbHorizontal;
    int Width = 0, Height = 0;
    int ArrowWidth = 0;    // along the bar
    int ArrowStretch = 0;  // percent
    int ScrollerWidth = 0;
    int Min = 0, Max = 0, Position = 0;
};

struct TFatScrollBarLayout {
    std::array<TRect, kPartCount> Parts;
    // The triangles of the two arrows.
    std::array<std::array<TPoint, 3>, 2> Arrows;
};

// Lays the bar out. The scroller stands at the share of the range that Position has reached (at
// the start for an empty range); parts that find no room come out empty.
TFatScrollBarLayout LayOutFatScrollBar(const TFatScrollBarMetrics& m);

}  // namespace rv
