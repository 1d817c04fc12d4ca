#pragma once

#include "platform/framework/panel.h"
#include "tree/option_set.h"

namespace rv {

// How the bevel around a control is drawn: not at all, or by the platform's edge drawing in
// its plain, soft or flat look.
enum class TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
using enum TBevelKind;

// The sides the bevel is drawn on (the platform's edge flags, bit for bit).
enum class TBevelEdge { beLeft, beTop, beRight, beBottom };
using enum TBevelEdge;
using TBevelEdges = TSet<TBevelEdge>;

// The decoration of a control's frame, with the framework's defaults: a bevel (none unless a
// kind is chosen) and a band of BorderWidth pixels inside it.
struct TBorderDecoration {
    TBevelKind Kind = bkNone;
    TBevelCut Inner = bvRaised;
    TBevelCut Outer = bvLowered;
    TBevelEdges Edges = {beLeft, beTop, beRight, beBottom};
    int Width = 1;  // of each of the two bevels
    int BorderWidth = 0;
    bool Ctl3D = true;  // off: the bevel is drawn in one colour

    // Inner and outer bevel, each counted when it is not bvNone (bvSpace counts).
    int BevelSize() const { return Width * ((Inner != bvNone) + (Outer != bvNone)); }
    // The platform's edge type and flags for DrawEdge.
    unsigned EdgeType() const;
    unsigned EdgeFlags() const;
};

}  // namespace rv
