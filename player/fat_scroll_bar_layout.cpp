#include "player/fat_scroll_bar_layout.h"

#include <algorithm>

#include "platform/text/round.h"

namespace rv {

namespace {

// Percent of a length, rounded.
int P(int value, int percent) {
    return int(Round(value / 100.0 * percent));
}

}  // namespace

TFatScrollBarLayout LayOutFatScrollBar(const TFatScrollBarMetrics& m) {
    // Worked out along the bar (a) and across it (c); a vertical bar swaps the axes.
    const bool horizontal = m.Kind == sbHorizontal;
    const int length = horizontal ? m.Width : m.Height;
    const int across = horizontal ? m.Height : m.Width;
    auto rect = [&](int a0, int c0, int a1, int c1) {
        return horizontal ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
    };
    auto point = [&](int a, int c) { return horizontal ? TPoint{a, c} : TPoint{c, a}; };

    TFatScrollBarLayout l;
    const int aw = m.ArrowWidth, s = m.ArrowStretch;
    const int firstEnd = aw, secondStart = length - aw;
    l.Parts[kFirstArrow] = rect(0, 0, firstEnd, across);
    l.Parts[kSecondArrow] = rect(secondStart, 0, length, across);
    l.Arrows[0] = {point(P(aw, s), P(across, 50)), point(P(aw, 100 - s), P(across, s)),
                   point(P(aw, 100 - s), P(across, 100 - s))};
    l.Arrows[1] = {point(secondStart + aw - P(aw, s), P(across, 50)),
                   point(secondStart + aw - P(aw, 100 - s), P(across, s)),
                   point(secondStart + aw - P(aw, 100 - s), P(across, 100 - s))};

    const int track = std::max(secondStart - firstEnd - m.ScrollerWidth, 0);
    int scroller = firstEnd;
    if (m.Max > m.Min) {
        const double share = double(m.Position - m.Min) / double(m.Max - m.Min);
        scroller += int(Round(track * (share * 100) / 100));
    }
    l.Parts[kScroller] = rect(scroller, 0, scroller + m.ScrollerWidth, across);
    l.Parts[kTrackBefore] = rect(firstEnd, 0, scroller, across);
    l.Parts[kTrackAfter] = rect(scroller + m.ScrollerWidth, 0, secondStart, across);
    return l;
}

}  // namespace rv
