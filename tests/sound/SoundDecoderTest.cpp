#include "sound/SoundDecoder.h"

#include "SoundBytes.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 44100;

std::vector<float> Decoded(const std::vector<std::uint8_t>& bytes)
{
    PcmSound sound;
    std::string error;
    EXPECT_TRUE(DecodeSound(bytes, kRate, &sound, &error)) << error;
    return sound.samples;
}

} // namespace

TEST(SoundDecoderTest, DecodesWavAndAuToStereoSamples)
{
    constexpr float kTop = 32767.0F / 32768.0F;
    constexpr float kMuLawTop = 32124.0F / 32768.0F;
    const struct
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::vector<float> stereo;
    } cases[] = {
        {"16-bit mono WAV",
         Wav16(kRate, 1, {0, 16384, -16384, 32767}),
         {0, 0, 0.5F, 0.5F, -0.5F, -0.5F, kTop, kTop}},
        {"16-bit stereo WAV", Wav16(kRate, 2, {16384, -32768, 0, 8192}), {0.5F, -1, 0, 0.25F}},
        {"8-bit stereo WAV", Wav(kRate, 2, 8, {128, 192, 0, 128}), {0, 0.5F, -1, 0}},
        {"16-bit AU", Au(kRate, 3, {0x40, 0x00, 0xC0, 0x00}), {0.5F, 0.5F, -0.5F, -0.5F}},
        {"mu-law AU",
         Au(kRate, 1, {0xFF, 0x80, 0x00}),
         {0, 0, kMuLawTop, kMuLawTop, -kMuLawTop, -kMuLawTop}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decoded(c.bytes), c.stereo) << c.what;
}

TEST(SoundDecoderTest, ConvertsTheSampleRateToTheDevice)
{
    const std::vector<float> stereo =
        Decoded(Wav16(kRate / 2, 1, std::vector<std::int16_t>(1000, 16384)));
    EXPECT_NEAR(static_cast<double>(stereo.size()), 4000.0, 40.0);
    // Away from the ends the level stays where it was.
    for (std::size_t i = 400; i < 3600; ++i)
        ASSERT_NEAR(stereo[i], 0.5F, 0.01F) << i;
}

TEST(SoundDecoderTest, GarbageAndCutFilesGiveAReasonOrTheSamplesLeft)
{
    std::vector<std::vector<std::uint8_t>> inputs = {Bytes("a text file, not a sound"),
                                                     Wav16(kRate, 1, {})};
    const std::vector<std::uint8_t> wav = Wav16(kRate, 1, {16384, 16384, 16384, 16384});
    for (std::size_t cut = 0; cut < wav.size(); ++cut)
        inputs.emplace_back(wav.begin(), wav.begin() + static_cast<std::ptrdiff_t>(cut));
    for (const auto& bytes : inputs)
    {
        const bool hasASample = bytes.size() >= kWavHeaderSize + 2 && bytes[0] == 'R';
        PcmSound sound;
        std::string error;
        EXPECT_EQ(DecodeSound(bytes, kRate, &sound, &error), hasASample) << bytes.size();
        EXPECT_EQ(error.empty(), hasASample) << bytes.size() << " bytes: " << error;
        if (hasASample)
        {
            EXPECT_EQ(sound.Frames(), (bytes.size() - kWavHeaderSize) / 2) << bytes.size();
        }
    }
}

TEST(SoundDecoderTest, ChecksMidiStructure)
{
    std::string error;
    EXPECT_TRUE(CheckMidi(Midi(), &error)) << error;

    std::vector<std::uint8_t> noTracks = Midi();
    noTracks.resize(14);
    std::vector<std::uint8_t> cutTrack = Midi();
    cutTrack.pop_back();
    std::vector<std::uint8_t> format3 = Midi();
    format3[9] = 3;
    for (const auto& bytes :
         {Bytes(""), Bytes("MThd"), Wav16(kRate, 1, {1}), noTracks, cutTrack, format3})
    {
        error.clear();
        EXPECT_FALSE(CheckMidi(bytes, &error)) << bytes.size() << " bytes";
        EXPECT_FALSE(error.empty()) << bytes.size() << " bytes";
    }
}
