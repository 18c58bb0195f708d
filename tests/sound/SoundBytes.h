#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

/// Sound files made in memory for the tests.
constexpr std::size_t kWavHeaderSize = 44;

std::vector<std::uint8_t> Bytes(std::string_view text);
/// A PCM WAV file; data holds the samples as stored (little-endian, 8-bit ones unsigned).
std::vector<std::uint8_t> Wav(int rate, int channels, int bits,
                              const std::vector<std::uint8_t>& data);
/// A WAV file of 16-bit samples, interleaved when channels > 1.
std::vector<std::uint8_t> Wav16(int rate, int channels, const std::vector<std::int16_t>& samples);
/// An AU file; data as stored (encoding 1 is mu-law, 3 is 16-bit big-endian).
std::vector<std::uint8_t> Au(int rate, int encoding, const std::vector<std::uint8_t>& data);
/// A one-track MIDI file playing middle C for a beat.
std::vector<std::uint8_t> Midi();
