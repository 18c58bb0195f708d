#pragma once

#include <cstdint>
#include <optional>

/// 32-bit arithmetic of add, sub and mul: it wraps, as the machines the sets were written on
/// did, and is never undefined.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b);
std::int32_t WrappingSub(std::int32_t a, std::int32_t b);
std::int32_t WrappingMul(std::int32_t a, std::int32_t b);
/// div and mod truncate toward zero; nothing for a zero divisor (overflow() then fires).
/// INT32_MIN / -1 wraps to INT32_MIN.
std::optional<std::int32_t> Quotient(std::int32_t a, std::int32_t b);
std::optional<std::int32_t> Remainder(std::int32_t a, std::int32_t b);
