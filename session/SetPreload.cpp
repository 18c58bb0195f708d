#include "session/SetPreload.h"

#include <utility>

namespace
{

/// An archive of one configuration opens it without asking; several need the user.
std::optional<std::string> OnlyConfiguration(const Archive&,
                                             const std::vector<std::string>& configs)
{
    if (configs.size() != 1)
        return std::nullopt;
    return configs.front();
}

} // namespace

SetPreload::SetPreload(std::string path) : m_path(std::move(path)), m_thread([this] { Load(); }) {}

SetPreload::~SetPreload()
{
    if (m_thread.joinable())
        m_thread.join();
}

void SetPreload::Load()
{
    OpenOutcome outcome = OpenSetLayer(m_path, OnlyConfiguration);
    if (outcome.layer)
        m_set = LoadSet(std::move(*outcome.layer));
}

std::optional<LoadedSet> SetPreload::Take(const std::string& path)
{
    if (m_thread.joinable())
        m_thread.join();
    if (path != m_path)
        m_set.reset();
    return std::exchange(m_set, std::nullopt);
}
