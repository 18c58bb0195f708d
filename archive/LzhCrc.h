#pragma once

#include <cstdint>
#include <span>

/// The check sum of LZH headers and data: CRC-16 with polynomial 0xA001, reflected, from 0.
std::uint16_t LzhCrc16(std::span<const std::uint8_t> bytes);
