#include "support/RecordingSoundPlayer.h"

void RecordingSoundPlayer::FailOn(const std::string& name, const std::string& reason)
{
    m_failures[name] = reason;
}

bool RecordingSoundPlayer::PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                                     std::string* error)
{
    return Record(Action::Sound, name, std::move(bytes), error);
}

bool RecordingSoundPlayer::PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                                     std::string* error)
{
    return Record(Action::Music, name, std::move(bytes), error);
}

void RecordingSoundPlayer::StopMusic()
{
    m_calls.push_back({Action::StopMusic, {}, {}});
}

void RecordingSoundPlayer::StopAll()
{
    m_calls.push_back({Action::StopAll, {}, {}});
}

bool RecordingSoundPlayer::Record(Action action, const std::string& name,
                                  std::vector<std::uint8_t> bytes, std::string* error)
{
    m_calls.push_back({action, name, std::move(bytes)});
    const auto failure = m_failures.find(name);
    if (failure == m_failures.end())
        return true;
    if (error)
        *error = name + ": " + failure->second;
    return false;
}
