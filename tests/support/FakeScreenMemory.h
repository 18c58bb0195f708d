#pragma once

#include "i18n/ProblemText.h"
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

/// Keeps every batch of problems reported, as the text it reads as.
struct RecordingMessageSink : ProblemSink
{
    std::vector<std::string> messages;
    void Report(std::span<const Problem> problems) override
    {
        messages.push_back(ProblemLines(problems, ProblemForm::Sentence));
    }
};
