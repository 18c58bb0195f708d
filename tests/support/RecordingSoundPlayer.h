#pragma once

#include "sound/SoundPlayer.h"

#include <map>

/// Records every call in order; a name given to FailOn makes PlaySound and PlayMusic of it
/// fail for that reason, as an undecodable file would.
class RecordingSoundPlayer : public SoundPlayer
{
public:
    enum class Action
    {
        Sound,
        Music,
        StopMusic,
        StopAll,
    };

    struct Call
    {
        Action action;
        std::string name;
        std::vector<std::uint8_t> bytes;

        bool operator==(const Call&) const = default;
    };

    void FailOn(const std::string& name, SoundFailure reason);

    bool PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override;
    bool PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override;
    void StopMusic() override;
    void StopAll() override;

    const std::vector<Call>& Calls() const { return m_calls; }

private:
    bool Record(Action action, const std::string& name, std::vector<std::uint8_t> bytes,
                SoundFailure* failure);

    std::vector<Call> m_calls;
    std::map<std::string, SoundFailure> m_failures;
};
