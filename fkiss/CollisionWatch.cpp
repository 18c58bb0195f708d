#include "fkiss/CollisionWatch.h"

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
