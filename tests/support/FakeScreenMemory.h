#pragma once

#include "image/ScreenBuffer.h"

#include <string>
#include <vector>

/// Screen memory whose section and plain allocations can be made to fail; counts the calls.
struct FakeScreenMemory : ScreenMemory
{
    bool sectionFails = false;
    bool plainFails = false;
    int sectionCalls = 0;
    int plainCalls = 0;

    std::unique_ptr<std::uint8_t[]> CreateSection(std::size_t bytes) override
    {
        ++sectionCalls;
        return sectionFails ? nullptr : std::make_unique<std::uint8_t[]>(bytes);
    }
    std::unique_ptr<std::uint8_t[]> AllocatePlain(std::size_t bytes) override
    {
        ++plainCalls;
        return plainFails ? nullptr : std::make_unique<std::uint8_t[]>(bytes);
    }
};

/// Keeps every message shown.
struct RecordingMessageSink : MessageSink
{
    std::vector<std::string> messages;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};
