#include "scene/Scene.h"

#include "scene/ReplaceFile.h"

#include <sstream>

void Scene::SaveScene(std::ostream& out)
{
    if (!m_config)
        return;
    StorePositions();
    m_config->MergeSetLines(m_workingSets);
    m_config->WriteAll(out);
}

std::optional<Problem> Scene::SaveSceneToFile(const std::string& path)
{
    std::ostringstream text(std::ios::binary);
    SaveScene(text);
    if (const int failure = ReplaceFile(path, text.str()))
        return Problem{ProblemKind::CannotSave, path, 0, {path}, failure};
    return std::nullopt;
}
