#include "player/knob_geometry.h"

#include <cmath>
#include <numbers>

#include "platform/text/round.h"

namespace rv {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

}  // namespace

double KnobAngleStep(int min, int max) {
    if (max == min) return 0;
    return double(kKnobLowAngle - kKnobHighAngle) / (double(max) - double(min));
}

int KnobPointerAngle(int position, int min, double step) {
    return kKnobLowAngle - int(Round((double(position) - double(min)) * step));
}

int KnobAngleAt(int x, int y, int centreX, int centreY) {
    int angle = 0;
    if (x != centreX) {
        angle = int(Round(std::atan(double(centreY - y) / double(x - centreX)) / kDegree));
        // The left half: atan answers for the opposite ray.
        if (x < centreX) angle = (angle + 540) % 360;
    } else {
        angle = y <= centreY ? 90 : kKnobLowAngle;
    }
    // The gap at the bottom belongs to the nearer end.
    if (angle > kKnobLowAngle && angle <= 270) angle = kKnobLowAngle;
    if (angle < kKnobHighAngle) angle = kKnobHighAngle;
    return angle;
}

int KnobPositionOfAngle(int angle, int min, double step) {
    if (step == 0) return min;
    return int(Round((kKnobLowAngle - angle) / step)) + min;
}

TKnobPointer KnobPointerLine(int radius, int angle, int inner, int outer) {
    const double c = std::cos(angle * kDegree), s = std::sin(angle * kDegree);
    auto at = [&](int distance) {
        return TPoint{radius + int(Round(distance * c)), radius - int(Round(distance * s))};
    };
    return {at(inner), at(outer)};
}

bool InsideEllipse(const TRect& r, int x, int y) {
    if (r.IsEmpty()) return false;
    const double a = r.Width() / 2.0, b = r.Height() / 2.0;
    const double dx = (x + 0.5 - r.Left - a) / a, dy = (y + 0.5 - r.Top - b) / b;
    return dx * dx + dy * dy <= 1;
}

}  // namespace rv
