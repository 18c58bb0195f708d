#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The compositing rules applied to the clipped part of a cel, once as plain per-pixel code (the
// reference) and once with vector instructions chosen for the processor at run time. Both give
// the same bytes for every input; the vector code leaves the last pixels of a row that do not
// fill a vector to the reference.

/// The clipped part of a cel: its first source and target pixels and the row steps. Target
/// steps are negative because the buffer stores its rows bottom-up.
struct Run
{
    const std::uint8_t* source;
    std::ptrdiff_t sourceStep;
    std::uint8_t* target;
    std::ptrdiff_t targetStep;
    std::int32_t width;
    std::int32_t rows;
};

/// What each colour number of a cel puts into the target. Aligned so that the vector code can
/// load the tables in 16-byte pieces.
struct NumberLookup
{
    alignas(64) std::array<std::uint8_t, 256> blue{};  ///< full-colour targets
    alignas(64) std::array<std::uint8_t, 256> green{}; ///< full-colour targets
    alignas(64) std::array<std::uint8_t, 256> red{};   ///< full-colour targets
    alignas(64) std::array<std::uint8_t, 256> index{}; ///< 256-colour targets
    /// Blue, green and red as one pixel in memory order, the fourth byte 255 for the transparent
    /// number and 0 for the others; filled by PackPixels.
    alignas(64) std::array<std::uint32_t, 256> pixel{};
    std::uint8_t transparent = 0; ///< keeps the target as it is

    /// Fills pixel from the three colour tables and the transparent number.
    void PackPixels();
};

enum class ComposeRule
{
    /// Colour numbers into a 256-colour target: the index replaces the target's.
    IndexedNumbers,
    /// Colour numbers into full colour: blue, green and red replace the target's.
    SolidNumbers,
    /// Colour numbers into full colour at an opacity from 1 to 255.
    BlendedNumbers,
    /// Blue, green, red and alpha into full colour; alpha 255 copies all four bytes.
    Alpha,
    /// As Alpha, then the opacity (1 to 255) applied to the change.
    AlphaAndOpacity,
};

struct Composition
{
    ComposeRule rule = ComposeRule::SolidNumbers;
    std::size_t targetBytes = 4;           ///< 1, 3 or 4
    std::int32_t opacity = 256;            ///< 1 to 255 for the two rules that use it
    const NumberLookup* numbers = nullptr; ///< for the colour-number rules
};

using ComposeFunction = void (*)(const Run&, const Composition&);

/// The reference: one pixel at a time.
void ComposeScalar(const Run& run, const Composition& composition);
/// The reference for count pixels of one row.
void ComposeRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                      const Composition& composition);
/// The best vector code that the processor runs.
void ComposeVector(const Run& run, const Composition& composition);

/// One instruction set that the vector code was compiled for.
struct VectorTarget
{
    const char* name;
    ComposeFunction compose;
};
/// The compiled instruction sets that this processor runs, best first; ComposeVector uses the
/// first. Tests compare each of them with the reference.
std::vector<VectorTarget> SupportedVectorTargets();
