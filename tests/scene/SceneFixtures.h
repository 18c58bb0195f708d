#pragma once

#include "image/PaletteFile.h"
#include "image/ScreenBuffer.h"
#include "support/CelBytes.h"
#include "support/FakeFileSource.h"
#include "support/PaletteBytes.h"

#include <cstdint>
#include <string>
#include <vector>

/// A width × height 8-bit cel of one colour number.
std::vector<std::uint8_t> SolidCel(std::uint16_t width, std::uint16_t height, std::uint8_t colour,
                                   std::uint16_t xOffset = 0, std::uint16_t yOffset = 0);
/// A 24-bit palette file with the given groups (all of one length).
std::vector<std::uint8_t> Palette24(const std::vector<std::vector<PaletteColour>>& groups);
/// A palette colour from red, green and blue.
PaletteColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

