#include "fkiss/FkissSession.h"

#include "scene/Scene.h"

#include <sstream>

std::unique_ptr<FkissSession> FkissSession::Create(Scene& scene, ScreenBuffer& buffer,
                                                   FkissHost& host, const std::string& fileName,
                                                   std::uint32_t seed)
{
    const ConfigFile* config = scene.Config();
    if (!config)
        return nullptr;
    // Unchanged records write back exactly the lines they were read from, so the line numbers
    // of this text are the file's.
    std::ostringstream text(std::ios::binary);
    config->WriteAll(text);
    FkissScript script = ParseFkiss(text.str(), fileName);
    if (!script.hasCode)
        return nullptr;
    return std::unique_ptr<FkissSession>(
        new FkissSession(scene, buffer, host, std::move(script), seed));
}

FkissSession::FkissSession(Scene& scene, ScreenBuffer& buffer, FkissHost& host, FkissScript script,
                           std::uint32_t seed)
    : m_stage(scene, buffer), m_engine(std::move(script), m_stage, host, seed)
{
}
