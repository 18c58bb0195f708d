// The vector code is compiled once for every instruction set that the library knows and chosen
// when first called (below); the byte lookups use the 512-bit byte permutes where the processor has
// them.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "image/Compose.cpp"
#include <hwy/foreach_target.h>

#include <hwy/highway.h>

#include "image/Compose.h"

#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace velquin_compose
{
namespace HWY_NAMESPACE
{

#if HWY_TARGET == HWY_SCALAR

// Processors without the 128-bit byte shuffles use the reference.
void ComposeRun(const Run& run, const Composition& c)
{
    ComposeScalar(run, c);
}

#else

namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<std::uint8_t>;
using V8 = hn::Vec<D8>;

/// table[index] in every lane, for a 256-byte table aligned to 64 bytes.
HWY_INLINE V8 Lookup(D8 d, const std::uint8_t* HWY_RESTRICT table, V8 index)
{
#if HWY_TARGET == HWY_AVX3_DL
    // Two 128-entry permutes, then the index's top bit picks between them.
    const __m512i low =
        _mm512_permutex2var_epi8(hn::Load(d, table).raw, index.raw, hn::Load(d, table + 64).raw);
    const __m512i high = _mm512_permutex2var_epi8(hn::Load(d, table + 128).raw, index.raw,
                                                  hn::Load(d, table + 192).raw);
    return V8{_mm512_mask_blend_epi8(_mm512_movepi8_mask(index.raw), low, high)};
#else
    // Sixteen 16-entry lookups by the low four bits; the high four bits pick one.
    const V8 low = hn::And(index, hn::Set(d, 0x0F));
    const V8 high = hn::ShiftRight<4>(index);
    V8 result = hn::TableLookupBytes(hn::LoadDup128(d, table), low);
    for (int part = 1; part < 16; ++part)
    {
        const V8 entries = hn::TableLookupBytes(hn::LoadDup128(d, table + 16 * part), low);
        result = hn::IfThenElse(hn::Eq(high, hn::Set(d, static_cast<std::uint8_t>(part))), entries,
                                result);
    }
    return result;
#endif
}

/// v × w ÷ 256 rounded down in every lane, for one weight w from 0 to 256. The product needs
/// 16 bits, so the even and the odd bytes are multiplied as 16-bit lanes of their own.
HWY_INLINE V8 Scale(D8 d, V8 v, std::uint16_t w)
{
    const hn::RepartitionToWide<D8> d16;
    const auto v16 = hn::BitCast(d16, v);
    const auto weight = hn::Set(d16, w);
    const auto even = hn::ShiftRight<8>(hn::And(v16, hn::Set(d16, 0x00FF)) * weight);
    const auto odd = hn::And(hn::ShiftRight<8>(v16) * weight, hn::Set(d16, 0xFF00));
    return hn::BitCast(d, hn::Or(even, odd));
}

/// v × w ÷ 256 rounded down, with a weight (0 to 255) per lane.
HWY_INLINE V8 Scale(D8 d, V8 v, V8 w)
{
    const hn::RepartitionToWide<D8> d16;
    const auto v16 = hn::BitCast(d16, v);
    const auto w16 = hn::BitCast(d16, w);
    const auto lowByte = hn::Set(d16, 0x00FF);
    const auto even = hn::ShiftRight<8>(hn::And(v16, lowByte) * hn::And(w16, lowByte));
    const auto odd = hn::And(hn::ShiftRight<8>(v16) * hn::ShiftRight<8>(w16), hn::Set(d16, 0xFF00));
    return hn::BitCast(d, hn::Or(even, odd));
}

/// Moves each target byte towards the source byte by scale(|s − d|). Dividing the magnitude
/// rounded down and restoring the sign afterwards is division rounded toward zero.
template <typename ScaleOp> HWY_INLINE V8 BlendBytes(D8 d, V8 target, V8 source, ScaleOp scale)
{
    const V8 up = hn::SaturatedSub(source, target);
    const V8 down = hn::SaturatedSub(target, source);
    const V8 change = scale(hn::Or(up, down));
    return hn::IfThenElse(hn::Eq(down, hn::Zero(d)), hn::Add(target, change),
                          hn::Sub(target, change));
}

/// Blue, green, red and, for 32-bit targets, the fourth byte of N target pixels.
struct Pixels
{
    V8 blue;
    V8 green;
    V8 red;
    V8 fourth;
};

template <std::size_t TargetBytes> HWY_INLINE Pixels LoadTarget(D8 d, const std::uint8_t* p)
{
    Pixels t;
    if constexpr (TargetBytes == 4)
    {
        hn::LoadInterleaved4(d, p, t.blue, t.green, t.red, t.fourth);
    }
    else
    {
        hn::LoadInterleaved3(d, p, t.blue, t.green, t.red);
        t.fourth = hn::Zero(d);
    }
    return t;
}

template <std::size_t TargetBytes>
HWY_INLINE void StoreTarget(D8 d, const Pixels& t, std::uint8_t* p)
{
    if constexpr (TargetBytes == 4)
        hn::StoreInterleaved4(t.blue, t.green, t.red, t.fourth, d, p);
    else
        hn::StoreInterleaved3(t.blue, t.green, t.red, d, p);
}

// Each row function composes whole vectors only and returns how many pixels it did.

std::size_t IndexedRow(const std::uint8_t* HWY_RESTRICT s, std::uint8_t* HWY_RESTRICT t,
                       std::size_t count, const Composition& c)
{
    const D8 d;
    const std::size_t n = hn::Lanes(d);
    const V8 transparent = hn::Set(d, c.numbers->transparent);
    std::size_t i = 0;
    for (; i + n <= count; i += n)
    {
        const V8 number = hn::LoadU(d, s + i);
        const V8 put = Lookup(d, c.numbers->index.data(), number);
        hn::StoreU(hn::IfThenElse(hn::Eq(number, transparent), hn::LoadU(d, t + i), put), d, t + i);
    }
    return i;
}

#if HWY_TARGET == HWY_AVX3_DL

/// Solid colour numbers into a 32-bit target. The target needs no reading: a masked store puts
/// blue, green and red and leaves the fourth bytes and the transparent pixels alone.
std::size_t SolidNumbersRow32(const std::uint8_t* HWY_RESTRICT s, std::uint8_t* HWY_RESTRICT t,
                              std::size_t count, const NumberLookup& numbers)
{
    const D8 d;
    const hn::RepartitionToWide<D8> d16;
    const hn::RepartitionToWide<decltype(d16)> d32;
    const hn::Repartition<std::int32_t, D8> di32;
    const std::size_t n = hn::Lanes(d);
    // The zips below interleave within each of the four 16-byte blocks. Taking the numbers in
    // groups of four in this order puts the pixels they make in memory order, without moving
    // blocks afterwards.
    alignas(64) static constexpr std::int32_t kOrder[16] = {0, 4, 8,  12, 1, 5, 9,  13,
                                                            2, 6, 10, 14, 3, 7, 11, 15};
    const auto reorder = hn::SetTableIndices(di32, kOrder);
    const V8 transparent = hn::Set(d, numbers.transparent);
    const V8 fourthBytes = hn::BitCast(d, hn::Set(di32, static_cast<std::int32_t>(0xFF000000u)));
    std::size_t i = 0;
    for (; i + n <= count; i += n)
    {
        const V8 number =
            hn::BitCast(d, hn::TableLookupLanes(hn::BitCast(di32, hn::LoadU(d, s + i)), reorder));
        const V8 blue = Lookup(d, numbers.blue.data(), number);
        const V8 green = Lookup(d, numbers.green.data(), number);
        const V8 red = Lookup(d, numbers.red.data(), number);
        // The fourth byte of each pixel says whether it is transparent (255) or not (0).
        const V8 keep = hn::VecFromMask(d, hn::Eq(number, transparent));
        const auto blueGreenLow = hn::ZipLower(d16, blue, green);
        const auto blueGreenHigh = hn::ZipUpper(d16, blue, green);
        const auto redKeepLow = hn::ZipLower(d16, red, keep);
        const auto redKeepHigh = hn::ZipUpper(d16, red, keep);
        std::uint8_t* const out = t + 4 * i;
        const auto put = [&](auto pixels, std::size_t part)
        {
            const V8 p = hn::BitCast(d, pixels);
            const V8 kept =
                hn::Or(hn::BitCast(d, hn::BroadcastSignBit(hn::BitCast(di32, p))), fourthBytes);
            hn::BlendedStore(p, hn::Eq(kept, hn::Zero(d)), d, out + part * n);
        };
        put(hn::ZipLower(d32, blueGreenLow, redKeepLow), 0);
        put(hn::ZipUpper(d32, blueGreenLow, redKeepLow), 1);
        put(hn::ZipLower(d32, blueGreenHigh, redKeepHigh), 2);
        put(hn::ZipUpper(d32, blueGreenHigh, redKeepHigh), 3);
    }
    return i;
}

#else

/// Colour numbers into a 32-bit target, a gathered pixel per number: without byte permutes the
/// three colour planes would each cost sixteen table lookups.
std::size_t GatheredNumbersRow32(const std::uint8_t* HWY_RESTRICT s, std::uint8_t* HWY_RESTRICT t,
                                 std::size_t count, const Composition& c)
{
    const hn::ScalableTag<std::uint32_t> d32;
    const hn::RebindToSigned<decltype(d32)> di32;
    const hn::Rebind<std::uint8_t, decltype(d32)> dNumbers;
    const D8 d;
    const std::size_t n = hn::Lanes(d32);
    const bool blended = c.rule == ComposeRule::BlendedNumbers;
    const auto g = static_cast<std::uint16_t>(c.opacity);
    const auto byOpacity = [d, g](V8 v) { return Scale(d, v, g); };
    const auto fourthByte = hn::Set(d32, 0xFF000000u);
    std::size_t i = 0;
    for (; i + n <= count; i += n)
    {
        const auto number = hn::PromoteTo(di32, hn::LoadU(dNumbers, s + i));
        const auto pixel = hn::GatherIndex(d32, c.numbers->pixel.data(), number);
        const V8 target = hn::LoadU(d, t + 4 * i);
        const V8 colour = blended ? BlendBytes(d, target, hn::BitCast(d, pixel), byOpacity)
                                  : hn::BitCast(d, pixel);
        // The pixel's fourth byte marks the transparent number; the target keeps its own.
        const auto transparent =
            hn::RebindMask(d32, hn::Lt(hn::BitCast(di32, pixel), hn::Zero(di32)));
        const auto target32 = hn::BitCast(d32, target);
        const auto put =
            hn::Or(hn::And(target32, fourthByte), hn::AndNot(fourthByte, hn::BitCast(d32, colour)));
        hn::StoreU(hn::BitCast(d, hn::IfThenElse(transparent, target32, put)), d, t + 4 * i);
    }
    return i;
}

#endif

template <std::size_t TargetBytes>
std::size_t NumbersRow(const std::uint8_t* HWY_RESTRICT s, std::uint8_t* HWY_RESTRICT t,
                       std::size_t count, const Composition& c)
{
    const D8 d;
    const std::size_t n = hn::Lanes(d);
    const NumberLookup& numbers = *c.numbers;
    const bool blended = c.rule == ComposeRule::BlendedNumbers;
    if constexpr (TargetBytes == 4)
    {
#if HWY_TARGET == HWY_AVX3_DL
        if (!blended)
            return SolidNumbersRow32(s, t, count, numbers);
#else
        return GatheredNumbersRow32(s, t, count, c);
#endif
    }
    const V8 transparent = hn::Set(d, numbers.transparent);
    const auto g = static_cast<std::uint16_t>(c.opacity);
    const auto byOpacity = [d, g](V8 v) { return Scale(d, v, g); };
    std::size_t i = 0;
    for (; i + n <= count; i += n)
    {
        const V8 number = hn::LoadU(d, s + i);
        const auto keep = hn::Eq(number, transparent);
        Pixels p = LoadTarget<TargetBytes>(d, t + TargetBytes * i);
        V8 blue = Lookup(d, numbers.blue.data(), number);
        V8 green = Lookup(d, numbers.green.data(), number);
        V8 red = Lookup(d, numbers.red.data(), number);
        if (blended)
        {
            blue = BlendBytes(d, p.blue, blue, byOpacity);
            green = BlendBytes(d, p.green, green, byOpacity);
            red = BlendBytes(d, p.red, red, byOpacity);
        }
        p.blue = hn::IfThenElse(keep, p.blue, blue);
        p.green = hn::IfThenElse(keep, p.green, green);
        p.red = hn::IfThenElse(keep, p.red, red);
        StoreTarget<TargetBytes>(d, p, t + TargetBytes * i);
    }
    return i;
}

template <std::size_t TargetBytes>
std::size_t AlphaRow(const std::uint8_t* HWY_RESTRICT s, std::uint8_t* HWY_RESTRICT t,
                     std::size_t count, const Composition& c)
{
    const D8 d;
    const std::size_t n = hn::Lanes(d);
    const bool withOpacity = c.rule == ComposeRule::AlphaAndOpacity;
    const auto g = static_cast<std::uint16_t>(c.opacity);
    std::size_t i = 0;
    for (; i + n <= count; i += n)
    {
        V8 blue, green, red, alpha;
        hn::LoadInterleaved4(d, s + 4 * i, blue, green, red, alpha);
        Pixels p = LoadTarget<TargetBytes>(d, t + TargetBytes * i);
        // Alpha 255 stands for the whole change, not 255/256 of it.
        const auto opaque = hn::Eq(alpha, hn::Set(d, 0xFF));
        const auto byAlpha = [d, opaque, alpha](V8 v)
        { return hn::IfThenElse(opaque, v, Scale(d, v, alpha)); };
        if (withOpacity)
        {
            const auto byBoth = [d, g, byAlpha](V8 v) { return Scale(d, byAlpha(v), g); };
            p.blue = BlendBytes(d, p.blue, blue, byBoth);
            p.green = BlendBytes(d, p.green, green, byBoth);
            p.red = BlendBytes(d, p.red, red, byBoth);
        }
        else
        {
            p.blue = BlendBytes(d, p.blue, blue, byAlpha);
            p.green = BlendBytes(d, p.green, green, byAlpha);
            p.red = BlendBytes(d, p.red, red, byAlpha);
            // A fully opaque pixel is copied whole, alpha into the fourth byte included.
            p.fourth = hn::IfThenElse(opaque, alpha, p.fourth);
        }
        StoreTarget<TargetBytes>(d, p, t + TargetBytes * i);
    }
    return i;
}

template <std::size_t TargetBytes>
std::size_t FullColourRow(const std::uint8_t* s, std::uint8_t* t, std::size_t count,
                          const Composition& c)
{
    if (c.rule == ComposeRule::Alpha || c.rule == ComposeRule::AlphaAndOpacity)
        return AlphaRow<TargetBytes>(s, t, count, c);
    return NumbersRow<TargetBytes>(s, t, count, c);
}

void ComposeRun(const Run& run, const Composition& c)
{
    const std::size_t sourceBytes =
        c.rule == ComposeRule::Alpha || c.rule == ComposeRule::AlphaAndOpacity ? 4 : 1;
    const auto composeRow = [&c](const std::uint8_t* s, std::uint8_t* t, std::size_t count)
    {
        switch (c.targetBytes)
        {
        case 1:
            return IndexedRow(s, t, count, c);
        case 3:
            return FullColourRow<3>(s, t, count, c);
        default:
            return FullColourRow<4>(s, t, count, c);
        }
    };
    // Most cels are narrower than a few vectors, so the pixels after the last whole vector of a
    // row go through one vector's worth of copies rather than one at a time. Every lane is
    // composed on its own, so the lanes beyond the row change nothing that is kept.
    const std::size_t lanes = hn::Lanes(D8());
    alignas(HWY_MAX_BYTES) std::uint8_t sourceRest[4 * HWY_MAX_BYTES] = {};
    alignas(HWY_MAX_BYTES) std::uint8_t targetRest[4 * HWY_MAX_BYTES] = {};
    const auto width = static_cast<std::size_t>(run.width);
    const std::uint8_t* source = run.source;
    std::uint8_t* target = run.target;
    for (std::int32_t row = 0; row < run.rows; ++row)
    {
        const std::size_t done = composeRow(source, target, width);
        if (const std::size_t rest = width - done; rest > 0)
        {
            std::uint8_t* const targetEnd = target + c.targetBytes * done;
            std::memcpy(sourceRest, source + sourceBytes * done, sourceBytes * rest);
            std::memcpy(targetRest, targetEnd, c.targetBytes * rest);
            composeRow(sourceRest, targetRest, lanes);
            std::memcpy(targetEnd, targetRest, c.targetBytes * rest);
        }
        source += run.sourceStep;
        target += run.targetStep;
    }
}

#endif

} // namespace HWY_NAMESPACE
} // namespace velquin_compose
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <cpuid.h>

// The choice is made here rather than by the vector library's own dispatch, whose shared
// library calibrates a timer while it loads: every start of the program would pay for that.
namespace
{

/// Feature bits that not every compiler's __builtin_cpu_supports knows. The operating system's
/// part of AVX is checked with avx2 below.
bool CpuidBit(unsigned leaf, unsigned bitOfEcx)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid_count(leaf, 0, &a, &b, &c, &d) && (c & (1u << bitOfEcx)) != 0;
}
bool HasF16c()
{
    return CpuidBit(1, 29);
}
bool HasVaes()
{
    return CpuidBit(7, 9);
}

bool Runs(std::uint64_t target)
{
    // Each instruction set needs what its code is compiled for.
    switch (target)
    {
    case HWY_AVX3_DL:
        if (!__builtin_cpu_supports("avx512vbmi") || !__builtin_cpu_supports("avx512vbmi2") ||
            !__builtin_cpu_supports("avx512vnni") || !__builtin_cpu_supports("avx512bitalg") ||
            !__builtin_cpu_supports("avx512vpopcntdq") || !__builtin_cpu_supports("vpclmulqdq") ||
            !HasVaes() || !__builtin_cpu_supports("gfni"))
            return false;
        [[fallthrough]];
    case HWY_AVX3:
        if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512vl") ||
            !__builtin_cpu_supports("avx512dq") || !__builtin_cpu_supports("avx512bw"))
            return false;
        [[fallthrough]];
    case HWY_AVX2:
        if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("bmi") ||
            !__builtin_cpu_supports("bmi2") || !__builtin_cpu_supports("fma") || !HasF16c())
            return false;
        [[fallthrough]];
    case HWY_SSE4:
        if (!__builtin_cpu_supports("sse4.1") || !__builtin_cpu_supports("sse4.2") ||
            !__builtin_cpu_supports("pclmul") || !__builtin_cpu_supports("aes"))
            return false;
        [[fallthrough]];
    case HWY_SSSE3:
        return __builtin_cpu_supports("ssse3");
    default:
        return false;
    }
}

} // namespace

std::vector<VectorTarget> SupportedVectorTargets()
{
    std::vector<VectorTarget> targets;
    const auto add = [&targets](std::uint64_t target, const char* name, ComposeFunction compose)
    {
        if (Runs(target))
            targets.push_back(VectorTarget{name, compose});
    };
    // Best first.
#if HWY_TARGETS & HWY_AVX3_DL
    add(HWY_AVX3_DL, "AVX3_DL", velquin_compose::N_AVX3_DL::ComposeRun);
#endif
#if HWY_TARGETS & HWY_AVX3
    add(HWY_AVX3, "AVX3", velquin_compose::N_AVX3::ComposeRun);
#endif
#if HWY_TARGETS & HWY_AVX2
    add(HWY_AVX2, "AVX2", velquin_compose::N_AVX2::ComposeRun);
#endif
#if HWY_TARGETS & HWY_SSE4
    add(HWY_SSE4, "SSE4", velquin_compose::N_SSE4::ComposeRun);
#endif
#if HWY_TARGETS & HWY_SSSE3
    add(HWY_SSSE3, "SSSE3", velquin_compose::N_SSSE3::ComposeRun);
#endif
    return targets;
}

void ComposeVector(const Run& run, const Composition& composition)
{
    static const ComposeFunction best = []
    {
        const std::vector<VectorTarget> targets = SupportedVectorTargets();
        return targets.empty() ? &ComposeScalar : targets.front().compose;
    }();
    best(run, composition);
}
#endif
