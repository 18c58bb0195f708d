#pragma once

#include "sound/SoundPlayer.h"

#include <string>
#include <vector>

/// Remembers what it was asked to play, as "sound NAME", "music NAME" and "stop music"; names
/// listed in refused fail to decode.
class RecordingSoundPlayer : public SoundPlayer
{
public:
    bool PlaySound(const std::string& name, std::vector<std::uint8_t>, std::string* error) override
    {
        return Record("sound " + name, name, error);
    }
    bool PlayMusic(const std::string& name, std::vector<std::uint8_t>, std::string* error) override
    {
        return Record("music " + name, name, error);
    }
    void StopMusic() override { played.push_back("stop music"); }
    void StopAll() override { played.push_back("stop all"); }

    std::vector<std::string> played;
    std::vector<std::string> refused;

private:
    bool Record(std::string entry, const std::string& name, std::string* error)
    {
        for (const std::string& bad : refused)
        {
            if (bad == name)
            {
                if (error)
                    *error = "not a sound";
                return false;
            }
        }
        played.push_back(std::move(entry));
        return true;
    }
};
