#include "support/RecordingSoundPlayer.h"

void RecordingSoundPlayer::FailOn(const std::string& name, SoundFailure reason)
{
    m_failures[name] = std::move(reason);
}

bool RecordingSoundPlayer::PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                                     SoundFailure* failure)
{
    return Record(Action::Sound, name, std::move(bytes), failure);
}

bool RecordingSoundPlayer::PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                                     SoundFailure* failure)
{
    return Record(Action::Music, name, std::move(bytes), failure);
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
                                  std::vector<std::uint8_t> bytes, SoundFailure* failure)
{
    m_calls.push_back({action, name, std::move(bytes)});
    const auto found = m_failures.find(name);
    if (found == m_failures.end())
        return true;
    if (failure)
        *failure = found->second;
    return false;
}
