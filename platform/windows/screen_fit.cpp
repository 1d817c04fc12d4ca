#include "platform/windows/screen_fit.h"

#include <algorithm>
#include <cstdint>

namespace rv {

namespace {

// Widths and heights of stored bounds may not fit an int.
std::int64_t WidthOf(const TRect& r) {
    return std::int64_t(r.Right) - r.Left;
}
std::int64_t HeightOf(const TRect& r) {
    return std::int64_t(r.Bottom) - r.Top;
}

std::int64_t OverlapArea(const TRect& a, const TRect& b) {
    TRect common = IntersectRect(a, b);
    return WidthOf(common) * HeightOf(common);
}

// Squared distance between the centres (doubled), in floating point: far-off bounds would
// overflow any integer square.
double CentreDistance(const TRect& a, const TRect& b) {
    double dx = double(a.Left) + a.Right - b.Left - b.Right;
    double dy = double(a.Top) + a.Bottom - b.Top - b.Bottom;
    return dx * dx + dy * dy;
}

}  // namespace

TRect FitOntoScreens(const TRect& bounds, const std::vector<TRect>& workAreas) {
    if (bounds.IsEmpty() || workAreas.empty()) return bounds;
    const TRect* best = &workAreas.front();
    for (const TRect& area : workAreas) {
        std::int64_t have = OverlapArea(bounds, *best), other = OverlapArea(bounds, area);
        if (other > have || (other == have && have == 0 &&
                             CentreDistance(bounds, area) < CentreDistance(bounds, *best)))
            best = &area;
    }
    int width = int(std::min<std::int64_t>(WidthOf(bounds), best->Width()));
    int height = int(std::min<std::int64_t>(HeightOf(bounds), best->Height()));
    return Bounds(std::clamp(bounds.Left, best->Left, best->Right - width),
                  std::clamp(bounds.Top, best->Top, best->Bottom - height), width, height);
}

}  // namespace rv
