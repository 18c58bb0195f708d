#pragma once

#include "sound/SoundPlayer.h"

#include <map>

/// Records every call in order; a name given to FailOn makes PlaySound and PlayMusic of it
/// fail with that reason, as an undecodable file would.
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

    void FailOn(const std::string& name, const std::string& reason);

    bool PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                   std::string* error) override;
    bool PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                   std::string* error) override;
    void StopMusic() override;
    void StopAll() override;

    const std::vector<Call>& Calls() const { return m_calls; }

private:
    bool Record(Action action, const std::string& name, std::vector<std::uint8_t> bytes,
                std::string* error);

    std::vector<Call> m_calls;
    std::map<std::string, std::string> m_failures;
};
