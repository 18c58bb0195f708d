#include "scene/Scene.h"

#include "scene/FileSource.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace
{

/// Loads name into cache unless it is there already; a file that fails is not remembered, so
/// every line naming it tries again and adds its own message, to the box and to the log.
template <typename Loaded>
void LoadOnce(std::map<std::string, std::unique_ptr<Loaded>>& cache, const std::string& name,
              FileSource& files, std::vector<Problem>& problems, MessageLog& log)
{
    if (cache.contains(name))
        return;
    auto loaded = std::make_unique<Loaded>();
    std::optional<ProblemKind> failure;
    if (const auto bytes = files.Read(name))
    {
        loaded->Load(*bytes);
        if (!loaded->IsOk())
            failure = ProblemKind::UnrecognisedFile;
    }
    else
    {
        failure = ProblemKind::CannotOpenFile;
    }
    if (failure)
    {
        Problem problem{*failure, name, 0, {name}};
        problems.push_back(problem);
        log.Add(std::move(problem));
        return;
    }
    cache.emplace(name, std::move(loaded));
}

} // namespace

Scene::Scene() = default;

Scene::Scene(Scene&& other) noexcept = default;

Scene& Scene::operator=(Scene&& other) noexcept = default;

Scene::~Scene()
{
    ClearScene();
}

void Scene::ClearScene()
{
    m_config.reset();
    m_celCache.clear();
    m_paletteCache.clear();
    m_workingSets.clear();
    m_colourMaps.clear();
    m_placedCels.clear();
    m_colours.count = 0;
    m_currentSet = 0;
    m_log.Clear();
}

bool Scene::LoadScene(const std::string& path, FileSource* files)
{
    ClearScene();
    m_config = ConfigFile::FromPath(path);
    if (!m_config)
        return false;
    FolderFileSource folder(FolderOf(path));
    FinishLoad(files ? *files : folder);
    return true;
}

void Scene::LoadSceneFromBytes(std::string_view configBytes, FileSource& files)
{
    ClearScene();
    m_config = std::make_unique<ConfigFile>(configBytes);
    FinishLoad(files);
}

void Scene::FinishLoad(FileSource& files)
{
    m_currentSet = 0;
    CopySetLines();
    if (!CurrentSetLine())
        return;
    m_loadProblems.clear();
    LoadFiles(files);
    BuildSet(0, 0);
}

void Scene::LoadFiles(FileSource& files)
{
    for (const PaletteLine* line : m_config->PaletteLines())
        LoadOnce(m_paletteCache, line->PaletteFileName(), files, m_loadProblems, m_log);
    for (const CelLine* line : m_config->CelLines())
        LoadOnce(m_celCache, line->CelFileName(), files, m_loadProblems, m_log);
}

void Scene::CopySetLines()
{
    if (!m_config)
        return;
    for (const SetLine* line : m_config->SetLines())
        m_workingSets.push_back(std::make_unique<SetLine>(*line));
    while (m_workingSets.size() < kSetCount)
        m_workingSets.push_back(std::make_unique<SetLine>("$0 *"));
}

SetLine* Scene::CurrentSetLine()
{
    return const_cast<SetLine*>(std::as_const(*this).CurrentSetLine());
}

const SetLine* Scene::CurrentSetLine() const
{
    if (!m_config || m_currentSet < 0 ||
        static_cast<std::size_t>(m_currentSet) >= m_workingSets.size())
        return nullptr;
    return m_workingSets[static_cast<std::size_t>(m_currentSet)].get();
}

std::int64_t Scene::CurrentPaletteGroup() const
{
    const SetLine* set = CurrentSetLine();
    return set ? set->PaletteGroup() : 0;
}

int Scene::TargetSet(int base, int step) const
{
    if (!CurrentSetLine())
        return -1;
    const int target = (base == -1 ? m_currentSet : base) + step;
    return target >= 0 && target < kSetCount ? target : -1;
}

void Scene::BuildSet(int base, int step)
{
    const int target = TargetSet(base, step);
    if (target < 0)
        return;
    StorePositions();
    m_colourMaps.clear();
    m_placedCels.clear();
    m_colours.count = 0;
    m_currentSet = target;
    const SetLine& set = *CurrentSetLine();
    MergeAllPalettes(set.PaletteGroup());

    m_placedCels.reserve(m_config->CelLines().size());
    for (const CelLine* line : m_config->CelLines())
    {
        const auto found = m_celCache.find(line->CelFileName());
        if (found == m_celCache.end())
            continue;
        auto placed = std::make_unique<PlacedCel>(static_cast<const CelImage&>(*found->second));
        // The cel line's offset tags take the place of the cel file's offsets.
        placed->xOffset = line->XOffset().value_or(placed->xOffset);
        placed->yOffset = line->YOffset().value_or(placed->yOffset);
        const std::int32_t palette = line->PaletteNumber();
        if (palette >= 0 && static_cast<std::size_t>(palette) < m_colourMaps.size())
            placed->colourMap = m_colourMaps[static_cast<std::size_t>(palette)].get();
        placed->x = set.GetX(line->ObjectNumber());
        placed->y = set.GetY(line->ObjectNumber());
        placed->visible = line->IsInSet(m_currentSet) ? 1 : 0;
        if (line->Transparency() >= 0)
            placed->opacity = std::min(line->Transparency(), 256);
        placed->objectNumber = line->ObjectNumber();
        placed->fix = line->Fix();
        placed->comment = line->CommentText();
        placed->celLineSerial = line->Serial();
        m_placedCels.push_back(std::move(placed));
    }
}

void Scene::ApplyToBuffer(ScreenBuffer& buffer, bool handColours, bool resize) const
{
    if (handColours)
        buffer.SetPalette(m_colours.entries.data(), m_colours.count);
    buffer.MarkAllDirty();
    buffer.SetBackground(IsLoaded() ? 0 : 255, FullColourBackground());
    if (resize)
    {
        const Point size = ScreenSize();
        buffer.SetFormat(size.x, size.y, 0);
    }
}

std::optional<PaletteColour> Scene::FullColourBackground() const
{
    const BorderLine* border = m_config ? m_config->Border() : nullptr;
    if (!border || !border->Colour())
        return std::nullopt;
    const BorderLine::Rgb colour = *border->Colour();
    return PaletteColour{colour.red, colour.green, colour.blue, 0};
}

Point Scene::ScreenSize() const
{
    const WindowSizeLine* line = m_config ? m_config->WindowSize() : nullptr;
    Point size{kDefaultScreenWidth, kDefaultScreenHeight};
    if (line && line->Width() > 0)
        size.x = line->Width();
    if (line && line->Height() > 0)
        size.y = line->Height();
    return size;
}
