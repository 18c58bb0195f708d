#include "fkiss/CollisionWatch.h"

bool IsCollisionEvent(FkissOp event)
{
    return event == FkissOp::In || event == FkissOp::Out || event == FkissOp::StillIn ||
           event == FkissOp::StillOut || TestsPixels(event);
}

bool TestsPixels(FkissOp event)
{
    return event == FkissOp::Collide || event == FkissOp::Apart;
}

bool CollisionFires(FkissOp event, bool before, bool after, bool involved)
{
    if (event == FkissOp::In || event == FkissOp::Collide)
        return !before && after;
    if (event == FkissOp::Out || event == FkissOp::Apart)
        return before && !after;
    if (event == FkissOp::StillIn)
        return before && after && involved;
    if (event == FkissOp::StillOut)
        return !before && !after && involved;
    return false;
}
