#pragma once

#include "fkiss/FkissScript.h"

/// collide and apart test opaque pixels; the others the boxes of what is mapped.
constexpr bool TestsPixels(FkissOp event)
{
    return event == FkissOp::Collide || event == FkissOp::Apart;
}

/// in, out, stillin, stillout, collide and apart watch a pair of cels or objects.
constexpr bool IsCollisionEvent(FkissOp event)
{
    return event == FkissOp::In || event == FkissOp::Out || event == FkissOp::StillIn ||
           event == FkissOp::StillOut || TestsPixels(event);
}

/// Whether a watching event fires once a move is over, from whether its pair overlapped before
/// and after and whether the move involved one of them: in and collide fire as they meet, out
/// and apart as they part; stillin and stillout fire when a move of theirs changed neither.
bool CollisionFires(FkissOp event, bool before, bool after, bool involved);
