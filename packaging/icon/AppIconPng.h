#pragma once

#include <cstdint>
#include <span>

/// The sizes the application icon was rendered at, smallest first.
std::span<const int> AppIconSizes();
/// The application icon as a PNG file of size by size pixels; empty for a size not rendered.
std::span<const std::uint8_t> AppIconPng(int size);
