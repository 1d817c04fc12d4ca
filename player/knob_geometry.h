#pragma once

#include "platform/graphics/geometry.h"

// The knob's angles: whole degrees counterclockwise from three o'clock. The knob turns through
// 300 of them, from 240 (lower left, the low end of its range) down to -60 (lower right, the high
// end); the 60 degrees at the bottom between the two are no position.
namespace rv {

inline constexpr int kKnobLowAngle = 240;
inline constexpr int kKnobHighAngle = -60;

// Degrees per unit of the range Min ... Max (negative for a decreasing range); 0 for an empty one.
double KnobAngleStep(int min, int max);

// The pointer's angle for a position.
int KnobPointerAngle(int position, int min, double step);

// The angle of the point (x, y) seen from the centre, kept on the knob's 300 degrees.
int KnobAngleAt(int x, int y, int centreX, int centreY);

// The position that an angle points at: Min when the range is empty.
int KnobPositionOfAngle(int angle, int min, double step);

// The pointer: a line along the angle from `inner` to `outer` pixels off the centre (radius,
// radius).
struct TKnobPointer {
    TPoint From, To;
};
TKnobPointer KnobPointerLine(int radius, int angle, int inner, int outer);

// Whether the pixel (x, y) lies in the ellipse that fills `r`.
bool InsideEllipse(const TRect& r, int x, int y);

}  // namespace rv
