#include "fkiss/FkissArithmetic.h"

namespace
{

std::int32_t Wrap(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t WrappingAdd(std::int32_t a, std::int32_t b)
{
    return Wrap(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t WrappingSub(std::int32_t a, std::int32_t b)
{
    return Wrap(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t WrappingMul(std::int32_t a, std::int32_t b)
{
    return Wrap(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::optional<std::int32_t> Quotient(std::int32_t a, std::int32_t b)
{
    if (b == 0)
        return std::nullopt;
    return Wrap(static_cast<std::uint32_t>(std::int64_t{a} / b));
}

std::optional<std::int32_t> Remainder(std::int32_t a, std::int32_t b)
{
    if (b == 0)
        return std::nullopt;
    return Wrap(static_cast<std::uint32_t>(std::int64_t{a} % b));
}
