#pragma once

#include "image/PaletteFile.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"
#include "support/FakeFileSource.h"

#include <cstdint>
#include <string>
#include <vector>

/// An 8-bit colour-number cel file of width × height pixels (rows top-down).
std::vector<std::uint8_t> IndexedCel(int width, int height, std::vector<std::uint8_t> pixels,
                                     int xOffset = 0, int yOffset = 0);
/// A width × height cel of one colour number.
std::vector<std::uint8_t> SolidCel(int width, int height, std::uint8_t colour, int xOffset = 0,
                                   int yOffset = 0);
/// A 24-bit palette file with the given groups (all of one length).
std::vector<std::uint8_t> Palette24(const std::vector<std::vector<PaletteColour>>& groups);

/// Records every message a load shows.
struct RecordingSink : MessageSink
{
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

/// A palette colour from red, green and blue.
PaletteColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
