#include "session/SetSession.h"

#include "archive/ArchiveFileSource.h"
#include "archive/MemberWriter.h"
#include "image/Zoom.h"
#include "scene/PathParts.h"
#include "sound/SoundPlayer.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace
{

using Repaint = SessionUpdate::Repaint;

std::string SizeText(Point size)
{
    return std::to_string(size.x) + "," + std::to_string(size.y);
}

} // namespace

void SetSession::Requests::ShowText(int line, const std::string& bytes)
{
    texts.push_back(bytes);
    owner->m_scene.AddMessage(Problem{ProblemKind::ScriptText, owner->Top().ConfigName(), line,
                                      {bytes}});
}

SetSession::SetSession(Options options, ProblemSink* problems, SoundPlayer* sound)
    : m_options(options), m_problems(problems), m_sound(sound)
{
    m_screen.SetProblemSink(problems);
}

SetSession::~SetSession()
{
    StopFkiss();
    m_scene.ClearScene();
}

std::int64_t SetSession::Now() const
{
    return m_options.clock ? m_options.clock->NowMs() : 0;
}

void SetSession::Report(const Problem& problem)
{
    if (m_problems)
        m_problems->Report({&problem, 1});
}

bool SetSession::Open(SetLayer base)
{
    // The old set goes before the new one loads, so that both are never held at once.
    Clear();
    return Adopt(LoadSet(std::move(base)));
}

bool SetSession::Adopt(LoadedSet set)
{
    StopFkiss();
    m_drag.Cancel();
    m_base = std::move(set.layer);
    m_addOn.reset();
    m_files = m_base.files;
    m_scene = std::move(set.scene);
    BeginPlay();
    return set.loaded;
}

void SetSession::OpenAddOn(SetLayer addOn)
{
    StopFkiss();
    m_scene.ClearScene();
    m_addOn = std::move(addOn);
    LoadLayers();
}

void SetSession::Reload(SetLayer base, std::optional<SetLayer> addOn)
{
    StopFkiss();
    m_scene.ClearScene();
    m_base = std::move(base);
    m_addOn = std::move(addOn);
    LoadLayers();
}

void SetSession::Clear()
{
    StopFkiss();
    m_drag.Cancel();
    m_scene.ClearScene();
}

SessionUpdate SetSession::ShowEmpty()
{
    Clear();
    // No colours to hand over: the picture is the empty white one.
    m_scene.ApplyToBuffer(m_screen, false, false);
    SetPlayFieldSize(m_scene.ScreenSize());
    SessionUpdate update;
    update.repaint = Repaint::Reset;
    return update;
}

bool SetSession::LoadLayers()
{
    m_drag.Cancel();
    const SetLayer& top = Top();
    m_files = m_addOn ? std::make_shared<LayeredFileSource>(m_addOn->files, m_base.files)
                      : m_base.files;
    const bool loaded = LoadLayer(m_scene, top, *m_files);
    BeginPlay();
    return loaded;
}

void SetSession::BeginPlay()
{
    m_playFieldClamped = false;
    // The load's file problems are reported with the code's diagnostics, in one batch.
    StartFkiss(m_scene.IsLoaded() ? m_scene.LoadProblems() : std::vector<Problem>());
}

void SetSession::StartFkiss(std::vector<Problem> problems)
{
    m_fkissSession.reset();
    m_closing = false;
    m_requests = Requests();
    m_requests.owner = this;
    if (m_fkiss == FkissSwitch::On && m_scene.IsLoaded())
    {
        const auto seed = m_options.clock ? static_cast<std::uint32_t>(Now()) : 1U;
        m_fkissSession =
            FkissSession::Create(m_scene, m_screen, m_requests, Top().ConfigName(), seed);
    }
    if (m_fkissSession)
    {
        FkissEngine& engine = m_fkissSession->Engine();
        engine.SetSound(m_files.get(), m_sound);
        // Every event reads this clock, so a delay counts from the click or key that set it.
        engine.SetClock(m_options.clock);
        engine.Start(Now());
        LogDiagnostics();
        problems.insert(problems.end(), engine.Diagnostics().begin(), engine.Diagnostics().end());
    }
    if (!problems.empty() && m_problems)
        m_problems->Report(problems);
}

void SetSession::StopFkiss()
{
    m_closing = false;
    if (m_fkissSession)
        m_fkissSession->Engine().Stop();
    m_fkissSession.reset();
    if (m_sound)
        m_sound->StopAll();
}

CloseState SetSession::BeginClose()
{
    FkissEngine* engine = Engine();
    if (!engine)
        return CloseState::Closed;
    if (!engine->IsClosing())
    {
        engine->BeginClose();
        LogDiagnostics();
        if (engine->HasPendingTimers())
        {
            // The set stays on the screen while what end() started plays out.
            m_closing = true;
            m_closeDeadline = Now() + kEndGraceMs;
            return CloseState::Waiting;
        }
    }
    StopFkiss();
    return CloseState::Closed;
}

void SetSession::LogDiagnostics()
{
    if (!m_fkissSession)
        return;
    // The engine reports each fault once; a restart reports its parse faults again, and those
    // are listed already.
    const std::vector<Problem>& listed = m_scene.Log().Entries();
    for (const Problem& diagnostic : m_fkissSession->Engine().Diagnostics())
    {
        if (std::find(listed.begin(), listed.end(), diagnostic) == listed.end())
            m_scene.AddMessage(diagnostic);
    }
}

void SetSession::Refresh(Repaint repaint)
{
    m_scene.ApplyToBuffer(m_screen, true, false);
    if (repaint == Repaint::Reset)
        SetPlayFieldSize(m_scene.ScreenSize());
}

void SetSession::SetPlayFieldSize(Point size)
{
    if (m_options.presentation == Presentation::Headless)
    {
        m_screen.SetFormat(size.x, size.y, 0);
        return;
    }
    const Point drawable = ClampPlayField(size);
    m_screen.SetFormat(drawable.x, drawable.y, 0);
    if (drawable == size || m_playFieldClamped)
        return;
    m_playFieldClamped = true;
    Report(Problem{ProblemKind::PlayFieldClamped, {}, 0, {SizeText(size), SizeText(drawable)}});
}

SessionUpdate SetSession::AfterOpen()
{
    Refresh(Repaint::Reset);
    return AfterFkiss(Repaint::Reset);
}

SessionUpdate SetSession::AfterFkiss(Repaint repaint)
{
    SessionUpdate update;
    update.repaint = repaint;
    FkissEngine* engine = Engine();
    if (!engine)
        return update;
    LogDiagnostics();
    update.texts = std::move(m_requests.texts);
    m_requests.texts.clear();
    const bool window = m_options.presentation == Presentation::Window;
    if (m_requests.closeSet && window && !m_closing)
    {
        // quit(): end() has run; the set closes as New does once its timers are over.
        m_closing = true;
        m_closeDeadline = Now() + kEndGraceMs;
    }
    m_requests.closeSet = false;
    if (engine->IsClosing() && m_closing &&
        (!engine->HasPendingTimers() || Now() >= m_closeDeadline))
    {
        StopFkiss();
        update.closed = true;
        return update;
    }
    if (m_requests.resize && window)
    {
        const Point size = *m_requests.resize;
        SetPlayFieldSize(Point{std::max(size.x, 1), std::max(size.y, 1)});
        m_scene.ApplyToBuffer(m_screen, true, false);
        update.repaint = std::max(update.repaint, Repaint::Refit);
    }
    else
    {
        update.repaint = std::max(update.repaint, Repaint::Dirty);
    }
    m_requests.resize.reset();
    if (m_requests.scroll && window)
        update.scroll = Point{std::clamp(m_requests.scroll->x, 0, m_screen.Width()),
                              std::clamp(m_requests.scroll->y, 0, m_screen.Height())};
    m_requests.scroll.reset();
    update.ticking = engine->HasPendingTimers();
    return update;
}

SessionUpdate SetSession::AfterSelection()
{
    Refresh(Repaint::All);
    return AfterFkiss(Repaint::All);
}

SessionUpdate SetSession::SelectSet(int base, int step)
{
    m_scene.SelectSet(base, step);
    if (FkissEngine* engine = Engine())
        engine->SetSelected();
    return AfterSelection();
}

SessionUpdate SetSession::SelectPaletteGroup(std::int64_t base, std::int64_t step)
{
    m_scene.SelectPaletteGroup(base, step);
    if (FkissEngine* engine = Engine())
        engine->PaletteGroupSelected();
    return AfterSelection();
}

SessionUpdate SetSession::SetColourMode(std::int32_t depth)
{
    m_screen.SetFormat(0, 0, depth);
    SessionUpdate update;
    update.repaint = Repaint::All;
    update.ticking = Engine() && Engine()->HasPendingTimers();
    return update;
}

SessionUpdate SetSession::Restore()
{
    if (!m_scene.IsLoaded())
        return {};
    m_drag.Cancel();
    RestoreStep step{m_scene.TakeArrangement(), {}};
    // The code starts over without end(): the set stays open.
    m_fkissSession.reset();
    m_scene.RestoreLoadState();
    StartFkiss({});
    SessionUpdate update = AfterOpen();
    if (update.closed)
        return update;
    step.after = m_scene.TakeArrangement();
    if (!ChangesNothing(step))
        update.step = std::move(step);
    return update;
}

SessionUpdate SetSession::Press(int cel, Point point)
{
    if (FkissEngine* engine = Engine())
    {
        engine->Press(cel, point);
        return AfterFkiss(Repaint::None);
    }
    return {};
}

SessionUpdate SetSession::Drag(int cel, std::int32_t dx, std::int32_t dy)
{
    FkissEngine* engine = Engine();
    if (!engine)
    {
        m_scene.MoveObjectBy(m_screen, cel, dx, dy);
        return {};
    }
    engine->Drag(cel, dx, dy);
    return AfterFkiss(Repaint::None);
}

SessionUpdate SetSession::Unfixed(int cel)
{
    if (FkissEngine* engine = Engine())
    {
        engine->Unfixed(cel);
        return AfterFkiss(Repaint::None);
    }
    return {};
}

SessionUpdate SetSession::SpringBack(int cel, Point to)
{
    SessionUpdate update;
    if (Engine())
    {
        const Point at = m_scene.GetCelPosition(cel);
        update = Drag(cel, to.x - at.x, to.y - at.y);
    }
    else
    {
        m_scene.MoveObjectTo(m_screen, cel, to.x, to.y);
    }
    update.repaint = std::max(update.repaint, Repaint::Dirty);
    return update;
}

SessionUpdate SetSession::Release(int cel, Point point)
{
    if (!m_scene.IsLoaded())
        return {};
    std::optional<DragStep> step;
    if (m_drag.IsActive())
    {
        std::set<std::int32_t> objects;
        const auto& cels = m_scene.PlacedCels();
        if (cel >= 0 && static_cast<std::size_t>(cel) < cels.size())
            objects.insert(cels[static_cast<std::size_t>(cel)]->objectNumber);
        if (const FkissEngine* engine = Engine())
            objects.insert(engine->DraggedObjects().begin(), engine->DraggedObjects().end());
        step = m_drag.Finish(m_scene, objects);
    }
    SessionUpdate update;
    if (FkissEngine* engine = Engine())
    {
        engine->Release(cel, point);
        update = AfterFkiss(Repaint::None);
    }
    if (step)
        update.step = std::move(*step);
    return update;
}

SessionUpdate SetSession::MouseMoved(Point point)
{
    if (FkissEngine* engine = Engine())
    {
        engine->MouseMoved(point);
        return AfterFkiss(Repaint::None);
    }
    return {};
}

SessionUpdate SetSession::MouseLeft()
{
    if (FkissEngine* engine = Engine())
    {
        engine->MouseLeft();
        return AfterFkiss(Repaint::None);
    }
    return {};
}

SessionUpdate SetSession::Key(std::string_view name, KeyDirection direction, bool& taken)
{
    taken = false;
    FkissEngine* engine = Engine();
    if (!engine)
        return {};
    taken = direction == KeyDirection::Down ? engine->KeyPress(name) : engine->KeyRelease(name);
    return AfterFkiss(Repaint::None);
}

SessionUpdate SetSession::Tick()
{
    FkissEngine* engine = Engine();
    if (!engine)
        return {};
    engine->Tick();
    return AfterFkiss(Repaint::None);
}

void SetSession::BeginDrag()
{
    if (m_scene.IsLoaded())
        m_drag.Begin(m_scene);
}

SessionUpdate SetSession::ApplyStep(const MoveStep& step, StepDirection direction)
{
    SessionUpdate update;
    update.repaint = Repaint::Dirty;
    if (::ApplyStep(step, direction, m_scene, m_screen) == StepRepaint::All)
    {
        m_scene.ApplyToBuffer(m_screen, true, false);
        update.repaint = Repaint::All;
    }
    update.ticking = Engine() && Engine()->HasPendingTimers();
    return update;
}

std::optional<Problem> SetSession::Save(const std::string& path)
{
    return m_scene.SaveSceneToFile(path);
}

bool SetSession::IsOpenArchive(const std::string& path) const
{
    struct stat target{};
    if (::stat(path.c_str(), &target) != 0)
        return false;
    for (const SetLayer* layer : {AddOn(), &m_base})
    {
        struct stat info{};
        if (layer && layer->archive && ::stat(layer->path.c_str(), &info) == 0 &&
            info.st_dev == target.st_dev && info.st_ino == target.st_ino)
            return true;
    }
    return false;
}

void SetSession::SavedAs(const std::string& path)
{
    if (!m_base.archive && !(m_addOn && m_addOn->archive))
    {
        (m_addOn ? *m_addOn : m_base).path = path;
        return;
    }
    std::vector<std::string> used;
    if (const ConfigFile* config = m_scene.Config())
    {
        for (const PaletteLine* line : config->PaletteLines())
            used.push_back(line->PaletteFileName());
        for (const CelLine* line : config->CelLines())
            used.push_back(line->CelFileName());
    }
    const std::string folder = FolderOf(path);
    std::vector<Problem> problems;
    // The add-on's files first: a file is never written twice, so its own win.
    for (const SetLayer* layer : {AddOn(), static_cast<const SetLayer*>(&m_base)})
    {
        if (!layer || !layer->archive)
            continue;
        const MemberWriteReport report =
            WriteArchiveMembers(layer->archive, layer->member, used, folder);
        for (const std::string& name : report.refused)
            problems.push_back(Problem{ProblemKind::MemberRefused, name, 0, {name}});
        for (const auto& [name, error] : report.failed)
            problems.push_back(Problem{ProblemKind::MemberWriteFailed, name, 0, {name}, error});
    }
    if (!problems.empty() && m_problems)
        m_problems->Report(problems);
    // Everything the set needs is in the folder now: it is a plain set from here on.
    m_base = SetLayer{path, {}, nullptr, std::make_shared<FolderFileSource>(folder)};
    m_addOn.reset();
    m_files = m_base.files;
    if (FkissEngine* engine = Engine())
        engine->SetSound(m_files.get(), m_sound);
}
