#include "sound/SoundDecoder.h"

#include "SoundBytes.h"

#include <gtest/gtest.h>

namespace
{

constexpr int kRate = 44100;

std::vector<float> Decoded(const std::vector<std::uint8_t>& bytes)
{
    PcmSound sound;
    SoundFailure failure;
    EXPECT_TRUE(DecodeSound(bytes, kRate, &sound, &failure)) << static_cast<int>(failure.kind);
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
        // No decoding failure is about the module: what is left of it shows no reason was given.
        const SoundFailure untouched{SoundFailureKind::NoSoundModule, {}};
        SoundFailure failure = untouched;
        EXPECT_EQ(DecodeSound(bytes, kRate, &sound, &failure), hasASample) << bytes.size();
        EXPECT_EQ(failure == untouched, hasASample)
            << bytes.size() << " bytes: " << static_cast<int>(failure.kind);
        if (hasASample)
        {
            EXPECT_EQ(sound.Frames(), (bytes.size() - kWavHeaderSize) / 2) << bytes.size();
        }
    }
}

TEST(SoundDecoderTest, ChecksMidiStructure)
{
    SoundFailure failure;
    EXPECT_TRUE(CheckMidi(Midi(), &failure));

    std::vector<std::uint8_t> noTracks = Midi();
    noTracks.resize(14);
    std::vector<std::uint8_t> cutTrack = Midi();
    cutTrack.pop_back();
    std::vector<std::uint8_t> format3 = Midi();
    format3[9] = 3;
    const std::pair<std::vector<std::uint8_t>, SoundFailureKind> cases[] = {
        {Bytes(""), SoundFailureKind::NotMidi},
        {Bytes("MThd"), SoundFailureKind::NotMidi},
        {Wav16(kRate, 1, {1}), SoundFailureKind::NotMidi},
        {noTracks, SoundFailureKind::MidiWithoutTracks},
        {cutTrack, SoundFailureKind::MidiTruncated},
        {format3, SoundFailureKind::BadMidiHeader},
    };
    for (const auto& [bytes, kind] : cases)
    {
        failure = {};
        EXPECT_FALSE(CheckMidi(bytes, &failure)) << bytes.size() << " bytes";
        EXPECT_EQ(failure.kind, kind) << bytes.size() << " bytes";
    }
}
