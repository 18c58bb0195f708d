// FkissEngine: let, add, sub, mul, div, mod and random.
#include "fkiss/FkissEngine.h"

#include "fkiss/FkissArithmetic.h"

#include <utility>

void FkissEngine::Calculate(const FkissAction& action)
{
    const FkissArg& target = action.args[0];
    const std::int32_t a = Value(action.args[1]);
    if (action.op == FkissOp::Let)
    {
        SetVariable(target, a);
        return;
    }
    const std::int32_t b = Value(action.args[2]);
    std::optional<std::int32_t> result;
    if (action.op == FkissOp::Add)
        result = WrappingAdd(a, b);
    else if (action.op == FkissOp::Sub)
        result = WrappingSub(a, b);
    else if (action.op == FkissOp::Mul)
        result = WrappingMul(a, b);
    else if (action.op == FkissOp::Div)
        result = Quotient(a, b);
    else if (action.op == FkissOp::Mod)
        result = Remainder(a, b);
    else
        result = RandomBetween(a, b);
    SetVariable(target, result.value_or(0));
    if (!result)
        FireEvent(FkissOp::Overflow);
}

std::int32_t FkissEngine::RandomBetween(std::int32_t low, std::int32_t high)
{
    if (low > high)
        std::swap(low, high);
    return std::uniform_int_distribution<std::int32_t>(low, high)(m_random);
}
