#include "widgets/screen_fit.h"

#include <algorithm>
#include <cstdint>

namespace rv {

namespace {

constexpr std::int64_t kGrip = 32;

// Widths and heights of stored bounds may not fit an int.
std::int64_t WidthOf(const TRect& r) {
    return std::int64_t(r.Right) - r.Left;
}
std::int64_t HeightOf(const TRect& r) {
    return std::int64_t(r.Bottom) - r.Top;
}

bool TopEdgeReachable(const TRect& r, const TRect& area) {
    if (r.Top < area.Top || r.Top >= area.Bottom) return false;
    std::int64_t overlap =
        std::int64_t(std::min(r.Right, area.Right)) - std::max(r.Left, area.Left);
    return overlap >= std::min(WidthOf(r), kGrip);
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
    // Never larger than the whole desktop.
    TRect desktop;
    for (const TRect& area : workAreas) desktop = UnionRect(desktop, area);
    // (Within the original right and bottom, so no overflow.)
    TRect r = bounds;
    r.Right = int(r.Left + std::min(WidthOf(r), WidthOf(desktop)));
    r.Bottom = int(r.Top + std::min(HeightOf(r), HeightOf(desktop)));
    for (const TRect& area : workAreas)
        if (TopEdgeReachable(r, area)) return r;
    const TRect* best = &workAreas.front();
    for (const TRect& area : workAreas) {
        std::int64_t have = OverlapArea(r, *best), other = OverlapArea(r, area);
        if (other > have ||
            (other == have && have == 0 && CentreDistance(r, area) < CentreDistance(r, *best)))
            best = &area;
    }
    int width = std::min(r.Width(), best->Width());
    int height = std::min(r.Height(), best->Height());
    return Bounds(std::clamp(r.Left, best->Left, best->Right - width),
                  std::clamp(r.Top, best->Top, best->Bottom - height), width, height);
}

}  // namespace rv
