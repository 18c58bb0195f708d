#pragma once

#include "config/ConfigFile.h"
#include "image/Cel.h"
#include "image/ColourTables.h"
#include "image/PaletteFile.h"
#include "image/PlacedCel.h"
#include "image/Rect.h"
#include "config/Problem.h"
#include "image/ScreenBuffer.h"
#include "scene/MessageLog.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct FileSource;

constexpr int kSetCount = 10;
constexpr std::int32_t kDefaultScreenWidth = 448;
constexpr std::int32_t kDefaultScreenHeight = 320;

/// The document's model: the configuration, the loaded cels and palettes, the colour maps,
/// the placed cels of the current set and the working set lines.
class Scene
{
public:
    struct HitResult
    {
        int index = -1;
        std::int32_t objectNumber = -1;
        Point position{-1, -1};
        std::string comment;
    };

    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    /// A scene loaded elsewhere (another thread) takes the place of this one.
    Scene(Scene&& other) noexcept;
    Scene& operator=(Scene&& other) noexcept;

    void ClearScene();
    /// Loads the configuration at path and everything it names. Cel and palette files come from
    /// files, or from the configuration's folder when files is null. False when the
    /// configuration itself could not be read (the scene is then empty).
    bool LoadScene(const std::string& path, FileSource* files = nullptr);
    /// As LoadScene, from configuration bytes already read. Used by tests and benchmarks.
    void LoadSceneFromBytes(std::string_view configBytes, FileSource& files);
    void CopySetLines();
    void BuildSet(int base, int step);
    void MergePaletteGroup(std::size_t mapIndex, const PaletteFile& palette, std::int64_t group);
    SetLine* CurrentSetLine();
    const SetLine* CurrentSetLine() const;
    void StorePositions();
    void SelectSet(int base, int step);
    void SelectPaletteGroup(std::int64_t base, std::int64_t step);

    /// Where every object of every set stands, each set's palette group, the set shown and each
    /// cel's fix: all that Restore changes.
    struct Arrangement
    {
        int set = 0;
        std::vector<SetLine> sets;
        std::vector<std::int32_t> fixes;
    };
    /// Stores the current set's positions first.
    Arrangement TakeArrangement();
    /// Puts an arrangement taken from this scene back, without storing the current positions.
    void PutArrangement(const Arrangement& arrangement);

    HitResult HitTest(Point point) const;
    /// The first placed cel of object, or -1.
    int FirstCelOf(std::int32_t object) const;
    /// The fix of each cel of object, in placed-cel order.
    std::vector<std::int32_t> ObjectCelFixes(std::int32_t object) const;
    void SetObjectCelFixes(std::int32_t object, const std::vector<std::int32_t>& fixes);
    Point GetCelPosition(int index) const;
    std::int32_t GetObjectFix(int index) const;
    void ReduceObjectFix(int index, std::int64_t squaredDistance);
    Point GetObjectExtent(int index) const;
    void MoveObjectBy(ScreenBuffer& buffer, int index, std::int32_t dx, std::int32_t dy);
    void MoveObjectTo(ScreenBuffer& buffer, int index, std::int32_t x, std::int32_t y);
    void DrawAll(ScreenBuffer& buffer) const;
    /// Fills the buffer's dirty part with the background and draws every cel over it; the part
    /// stays marked dirty for whoever copies it on.
    void DrawDirty(ScreenBuffer& buffer) const;

    void RestoreLoadState();
    /// Stores positions, merges the working set lines and writes every record.
    void SaveScene(std::ostream& out);
    /// Saves to a temporary file beside path and renames it over path only when every byte was
    /// written; on failure path is untouched and the problem says why.
    std::optional<Problem> SaveSceneToFile(const std::string& path);

    /// The screen-buffer half of the document's refresh: hand over the merged colours (when
    /// handColours), mark everything dirty, set the background, and (when resize) the size
    /// from the window-size line.
    void ApplyToBuffer(ScreenBuffer& buffer, bool handColours, bool resize) const;
    /// The configured screen size with the 448 by 320 defaults.
    Point ScreenSize() const;

    bool IsLoaded() const { return m_config != nullptr; }
    int CurrentSet() const { return m_currentSet; }
    /// The current set's palette group, or 0 when nothing is loaded.
    std::int64_t CurrentPaletteGroup() const;
    const ConfigFile* Config() const { return m_config.get(); }
    const std::vector<std::unique_ptr<PlacedCel>>& PlacedCels() const { return m_placedCels; }
    const std::vector<std::unique_ptr<ColourMap>>& ColourMaps() const { return m_colourMaps; }
    const MergedColourTable& Colours() const { return m_colours; }
    const std::vector<std::unique_ptr<SetLine>>& WorkingSetLines() const { return m_workingSets; }
    /// The file problems of the last load, in load order; kept after they went to the sink.
    const std::vector<Problem>& LoadProblems() const { return m_loadProblems; }
    /// Every message of the current set, the load's problems first; emptied with the scene.
    const MessageLog& Log() const { return m_log; }
    /// Adds a message about the current set to its log.
    void AddMessage(Problem problem) { m_log.Add(std::move(problem)); }

private:
    /// The border line's "[R,G,B" colour, which the full-colour picture takes as background.
    std::optional<PaletteColour> FullColourBackground() const;
    void FinishLoad(FileSource& files);
    void LoadFiles(FileSource& files);
    /// Refills the colour maps of the loaded palettes, in palette-line order, with group.
    void MergeAllPalettes(std::int64_t group);
    /// The placed cel at index, or null when there is none.
    const PlacedCel* CelAt(int index) const;
    /// Makes set the current one and places its cels, without storing the positions shown.
    void ShowSet(int set);
    /// The set that (base, or the current set when base is -1) + step names, or -1 when there
    /// is no configuration or it lies outside 0 to 9.
    int TargetSet(int base, int step) const;
    /// Calls move on every placed cel of the object of the cel at index.
    template <typename Move> void ForEachCelOfObject(int index, Move move);

    std::vector<std::unique_ptr<ColourMap>> m_colourMaps;
    std::vector<std::unique_ptr<PlacedCel>> m_placedCels;
    MergedColourTable m_colours;
    std::vector<Problem> m_loadProblems;
    MessageLog m_log;
    std::map<std::string, std::unique_ptr<Cel>> m_celCache;
    std::map<std::string, std::unique_ptr<PaletteFile>> m_paletteCache;
    std::unique_ptr<ConfigFile> m_config;
    std::vector<std::unique_ptr<SetLine>> m_workingSets;
    int m_currentSet = 0;
};
