// FkissEngine: changeset, changecol, sound and music, and the user's choice of set or palette.
#include "fkiss/FkissEngine.h"

#include "scene/FileSource.h"
#include "sound/SoundPlayer.h"

void FkissEngine::ChangeSet(std::int32_t set)
{
    if (m_stage.SelectSet(set))
        FireSetEvents();
}

void FkissEngine::ChangeCol(std::int32_t group)
{
    if (m_stage.SelectPaletteGroup(group))
        FirePaletteEvents();
}

void FkissEngine::SetSelected()
{
    if (BeginUserEvent())
        FireSetEvents();
}

void FkissEngine::PaletteGroupSelected()
{
    if (BeginUserEvent())
        FirePaletteEvents();
}

void FkissEngine::PlaySound(const FkissAction& action, Channel channel)
{
    const bool music = channel == Channel::Music;
    const std::string name = action.args.empty() ? std::string() : action.args[0].text;
    if (!m_player)
        return;
    if (music && name.empty())
    {
        m_player->StopMusic();
        return;
    }
    const auto bytes = m_files ? m_files->Read(name) : std::nullopt;
    if (!bytes)
    {
        Report(action.line, ProblemKind::FkissCannotOpenSound, {name});
        return;
    }
    SoundFailure failure;
    const bool played = music ? m_player->PlayMusic(name, *bytes, &failure)
                              : m_player->PlaySound(name, *bytes, &failure);
    if (played)
        return;
    std::vector<std::string> args = {name, std::to_string(static_cast<int>(failure.kind))};
    args.insert(args.end(), failure.args.begin(), failure.args.end());
    Report(action.line, ProblemKind::FkissCannotPlay, std::move(args));
}
