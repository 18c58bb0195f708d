#include "sound/SystemSoundPlayer.h"

#include "sound/SoundDecoder.h"
#include "sound/SoundMixer.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>

namespace
{

constexpr int kRate = SoundMixer::kRate;
constexpr Uint16 kDeviceFrames = 1024;

/// Decodes on the calling thread and mixes on the audio thread. The device opens on a thread of
/// its own at the first sound, since probing the audio systems can take a noticeable time and
/// the UI must not wait for it; sounds started meanwhile play once it is open.
class SystemSoundPlayer final : public SoundPlayer
{
public:
    explicit SystemSoundPlayer(std::vector<std::filesystem::path> soundFonts)
        : m_soundFonts(std::move(soundFonts))
    {
    }

    ~SystemSoundPlayer() override
    {
        if (m_opener.joinable())
            m_opener.join();
        if (m_device != 0)
        {
            // Closing waits for the callback to return; after it nothing reads the synth.
            SDL_CloseAudioDevice(m_device);
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        if (m_player)
            delete_fluid_player(m_player);
        if (m_synth)
            delete_fluid_synth(m_synth);
        if (m_settings)
            delete_fluid_settings(m_settings);
    }

    SystemSoundPlayer(const SystemSoundPlayer&) = delete;
    SystemSoundPlayer& operator=(const SystemSoundPlayer&) = delete;

    bool PlaySound(const std::string&, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override
    {
        PcmSound sound;
        SoundFailure reason;
        if (!DecodeSound(bytes, kRate, &sound, &reason))
            return Fail(std::move(reason), failure);
        StartOpening();
        const std::lock_guard lock(m_mutex);
        if (!m_noDevice)
            m_mixer.Add(std::move(sound));
        return true;
    }

    bool PlayMusic(const std::string&, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override
    {
        SoundFailure reason;
        if (!CheckMidi(bytes, &reason) || !LoadSynth(&reason))
            return Fail(std::move(reason), failure);
        StartOpening();
        const std::lock_guard lock(m_mutex);
        StopMusicLocked();
        if (m_noDevice)
            return true;
        m_player = new_fluid_player(m_synth);
        if (!m_player || fluid_player_add_mem(m_player, bytes.data(), bytes.size()) != FLUID_OK ||
            fluid_player_play(m_player) != FLUID_OK)
        {
            StopMusicLocked();
            return Fail({SoundFailureKind::SynthesiserRefused, {}}, failure);
        }
        return true;
    }

    void StopMusic() override
    {
        const std::lock_guard lock(m_mutex);
        StopMusicLocked();
    }

    void StopAll() override
    {
        const std::lock_guard lock(m_mutex);
        m_mixer.Clear();
        StopMusicLocked();
    }

private:
    static bool Fail(SoundFailure reason, SoundFailure* failure)
    {
        if (failure)
            *failure = std::move(reason);
        return false;
    }

    void StartOpening()
    {
        if (!m_opener.joinable())
            m_opener = std::thread(
                [this]
                {
                    OpenDevice();
                    // SDL keeps error texts per thread and frees them only when asked.
                    SDL_TLSCleanup();
                });
    }

    /// Runs on the opening thread; a machine without a device is asked only once.
    void OpenDevice()
    {
        // The viewer keeps its own handling of Ctrl+C and termination.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Velquin");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        {
            SDL_AudioSpec wanted{};
            wanted.freq = kRate;
            wanted.format = AUDIO_F32SYS;
            wanted.channels = 2;
            wanted.samples = kDeviceFrames;
            wanted.callback = &SystemSoundPlayer::Callback;
            wanted.userdata = this;
            // No changes allowed: SDL converts to whatever the hardware takes, so the mixer and
            // the decoder always work at kRate in stereo floats.
            m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
            if (m_device == 0)
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        if (m_device != 0)
        {
            SDL_PauseAudioDevice(m_device, 0);
            return;
        }
        const std::lock_guard lock(m_mutex);
        m_noDevice = true;
        m_mixer.Clear();
        StopMusicLocked();
    }

    /// True when the synthesiser is ready; the first call makes it with the first sound font
    /// that loads, and a machine without one is asked only once.
    bool LoadSynth(SoundFailure* reason)
    {
        if (!m_synth && !m_synthTried)
        {
            m_synthTried = true;
            fluid_synth_t* synth = MakeSynth();
            const std::lock_guard lock(m_mutex);
            m_synth = synth;
        }
        if (m_synth)
            return true;
        *reason = {m_soundFonts.empty() ? SoundFailureKind::NoSoundFont
                                        : SoundFailureKind::SoundFontUnloadable,
                   {}};
        return false;
    }

    fluid_synth_t* MakeSynth()
    {
        m_settings = new_fluid_settings();
        if (!m_settings)
            return nullptr;
        fluid_settings_setnum(m_settings, "synth.sample-rate", kRate);
        fluid_synth_t* synth = new_fluid_synth(m_settings);
        if (!synth)
            return nullptr;
        for (const std::filesystem::path& font : m_soundFonts)
        {
            if (fluid_synth_sfload(synth, font.c_str(), 1) != FLUID_FAILED)
                return synth;
        }
        delete_fluid_synth(synth);
        return nullptr;
    }

    /// The player hooks itself into the synthesiser's timers, which the callback runs: it is
    /// made and removed under the lock.
    void StopMusicLocked()
    {
        if (!m_player)
            return;
        fluid_player_stop(m_player);
        delete_fluid_player(m_player);
        m_player = nullptr;
        fluid_synth_all_sounds_off(m_synth, -1);
    }

    static void SDLCALL Callback(void* self, Uint8* stream, int length)
    {
        static_cast<SystemSoundPlayer*>(self)->Mix(reinterpret_cast<float*>(stream),
                                                   static_cast<std::size_t>(length) /
                                                       (2 * sizeof(float)));
    }

    /// Runs on the audio thread.
    void Mix(float* out, std::size_t frames)
    {
        std::fill_n(out, 2 * frames, 0.0F);
        const std::lock_guard lock(m_mutex);
        for (std::size_t done = 0; m_player && done < frames;)
        {
            const std::size_t count = std::min(frames - done, m_left.size());
            fluid_synth_write_float(m_synth, static_cast<int>(count), m_left.data(), 0, 1,
                                    m_right.data(), 0, 1);
            for (std::size_t i = 0; i < count; ++i)
            {
                out[2 * (done + i)] += m_left[i];
                out[2 * (done + i) + 1] += m_right[i];
            }
            done += count;
        }
        m_mixer.MixInto(out, frames);
    }

    const std::vector<std::filesystem::path> m_soundFonts;
    std::thread m_opener;
    // Written by the opening thread, read after it has been joined.
    SDL_AudioDeviceID m_device = 0;
    bool m_synthTried = false;
    fluid_settings_t* m_settings = nullptr;
    std::vector<float> m_left = std::vector<float>(kDeviceFrames);
    std::vector<float> m_right = std::vector<float>(kDeviceFrames);

    // Shared by the calling thread, the opening thread and the audio thread.
    std::mutex m_mutex;
    bool m_noDevice = false;
    SoundMixer m_mixer;
    fluid_synth_t* m_synth = nullptr;
    fluid_player_t* m_player = nullptr;
};

} // namespace

std::vector<std::filesystem::path> InstalledSoundFonts()
{
    const std::filesystem::path preferred = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    std::vector<std::filesystem::path> fonts;
    std::error_code ignored;
    if (std::filesystem::is_regular_file(preferred, ignored))
        fonts.push_back(preferred);
    std::vector<std::filesystem::path> others;
    for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/soundfonts"})
    {
        for (std::filesystem::directory_iterator entry(folder, ignored), end;
             !ignored && entry != end; entry.increment(ignored))
        {
            const std::filesystem::path& path = entry->path();
            if (path.extension() == ".sf2" && path != preferred && entry->is_regular_file(ignored))
                others.push_back(path);
        }
        ignored.clear();
    }
    std::sort(others.begin(), others.end());
    fonts.insert(fonts.end(), others.begin(), others.end());
    return fonts;
}

std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer(std::vector<std::filesystem::path> soundFonts)
{
    return std::make_unique<SystemSoundPlayer>(std::move(soundFonts));
}
