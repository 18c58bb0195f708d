#include "sound/SoundModule.h"

#include <dlfcn.h>

#include <system_error>

namespace
{

constexpr const char* kModuleName = "velquin-sound.so";

class DeferredSoundPlayer final : public SoundPlayer
{
public:
    explicit DeferredSoundPlayer(std::filesystem::path module) : m_module(std::move(module)) {}

    bool PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override
    {
        return Load(failure) && m_player->PlaySound(name, std::move(bytes), failure);
    }

    bool PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                   SoundFailure* failure) override
    {
        return Load(failure) && m_player->PlayMusic(name, std::move(bytes), failure);
    }

    // Nothing plays before the module is loaded, so there is nothing to stop.
    void StopMusic() override
    {
        if (m_player)
            m_player->StopMusic();
    }

    void StopAll() override
    {
        if (m_player)
            m_player->StopAll();
    }

private:
    /// Loads the module once; a module that cannot be loaded is not asked for again.
    bool Load(SoundFailure* failure)
    {
        if (!m_player && !m_loadTried)
        {
            m_loadTried = true;
            // Never unloaded: the player's code, its threads and the audio libraries stay
            // until the process ends.
            void* module = dlopen(m_module.c_str(), RTLD_NOW | RTLD_LOCAL);
            void* entry = module != nullptr ? dlsym(module, "VelquinMakeSystemSoundPlayer") : nullptr;
            if (entry != nullptr)
                m_player.reset(reinterpret_cast<SoundPlayer* (*)()>(entry)());
            else
            {
                const char* why = dlerror();
                m_loaderSaid = why ? why : m_module.string();
            }
        }
        if (m_player)
            return true;
        if (failure)
            *failure = {SoundFailureKind::NoSoundModule, {m_loaderSaid}};
        return false;
    }

    const std::filesystem::path m_module;
    std::unique_ptr<SoundPlayer> m_player;
    bool m_loadTried = false;
    std::string m_loaderSaid;
};

} // namespace

std::filesystem::path DefaultSoundModule()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(kModuleName) : self.parent_path() / kModuleName;
}

std::unique_ptr<SoundPlayer> MakeDeferredSoundPlayer(std::filesystem::path module)
{
    return std::make_unique<DeferredSoundPlayer>(std::move(module));
}
