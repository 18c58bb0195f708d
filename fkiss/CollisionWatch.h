#pragma once

#include "fkiss/FkissScript.h"

/// in, out, stillin, stillout, collide and apart watch a pair of cels or objects.
bool IsCollisionEvent(FkissOp event);
/// collide and apart test opaque pixels; the others the boxes of what is mapped.
bool TestsPixels(FkissOp event);

/// Whether a watching event fires once a move is over, from whether its pair overlapped before
/// and after and whether the move involved one of them: in and collide fire as they meet, out
/// and apart as they part; stillin and stillout fire when a move of theirs changed neither.
bool CollisionFires(FkissOp event, bool before, bool after, bool involved);
