#pragma once

#include "fkiss/FkissEngine.h"
#include "fkiss/SceneStage.h"

#include <cstdint>
#include <memory>
#include <string>

class Scene;
class ScreenBuffer;

/// A loaded scene's FKiSS engine together with the stage it plays on.
class FkissSession
{
public:
    /// Parses the scene's configuration; null when it carries no FKiSS code, so a plain set
    /// gets no engine at all. fileName labels the diagnostics. The events are not fired yet.
    static std::unique_ptr<FkissSession> Create(Scene& scene, ScreenBuffer& buffer, FkissHost& host,
                                                const std::string& fileName, std::uint32_t seed);

    FkissEngine& Engine() { return m_engine; }
    const FkissEngine& Engine() const { return m_engine; }

private:
    FkissSession(Scene& scene, ScreenBuffer& buffer, FkissHost& host, FkissScript script,
                 std::uint32_t seed);

    SceneStage m_stage;
    FkissEngine m_engine;
};

/// A host that shows nothing and keeps the play field as it is: the headless export.
class QuietFkissHost : public FkissHost
{
public:
    void ShowText(int, const std::string&) override {}
    void CloseSet() override {}
    void ScrollTo(Point) override {}
    void ResizePlayField(Point) override {}
};
