#include "scene/Scene.h"

#include "scene/ReplaceFile.h"

#include <cstring>
#include <sstream>

namespace
{

std::string SaveError(const std::string& path, int error)
{
    return "ファイル " + path + " を保存できません。(" + std::strerror(error) + ")";
}

} // namespace

void Scene::SaveScene(std::ostream& out)
{
    if (!m_config)
        return;
    StorePositions();
    m_config->MergeSetLines(m_workingSets);
    m_config->WriteAll(out);
}

bool Scene::SaveSceneToFile(const std::string& path, std::string* error)
{
    std::ostringstream text(std::ios::binary);
    SaveScene(text);
    const int failure = ReplaceFile(path, text.str());
    if (failure != 0 && error)
        *error = SaveError(path, failure);
    return failure == 0;
}
