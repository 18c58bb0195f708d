#pragma once

#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"
#include "support/FakeFileSource.h"
#include "support/RecordingSoundPlayer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// Records what the engine asks of the viewer.
struct RecordingHost : FkissHost
{
    void ShowText(int, const std::string& bytes) override { texts.push_back(bytes); }
    void CloseSet() override { ++closes; }
    void ScrollTo(Point point) override { scrolls.push_back(point); }
    void ResizePlayField(Point size) override { sizes.push_back(size); }

    std::vector<std::string> texts;
    int closes = 0;
    std::vector<Point> scrolls;
    std::vector<Point> sizes;
};

/// A 100 × 100 set with a two-group palette and cels a.cel (4 × 4, colour 1), b.cel (4 × 4,
/// colour 2) and ring.cel (4 × 4, colour 3 with a transparent 2 × 2 middle), played by an
/// engine with a fixed seed.
class FkissFixture : public testing::Test
{
protected:
    FkissFixture();

    /// Loads the configuration lines and starts the engine (the load events run).
    void Load(std::initializer_list<std::string_view> lines);
    /// Loads the set lines, then ";@EventHandler" and the code lines.
    void LoadWithCode(std::vector<std::string> lines, const std::vector<std::string>& code);
    FkissEngine& Engine() { return m_session->Engine(); }

    /// The index of the n-th placed cel of the named file (placed cels run from the last cel
    /// line to the first).
    int CelOf(const std::string& name, int nth = 0) const;
    /// Drawn: in the current set and mapped.
    bool Shown(const std::string& name) const;
    Point PositionOf(std::int32_t object) const;
    /// Press on the cel at the point, drag by (dx, dy) in one step, release.
    void DragCel(int cel, std::int32_t dx, std::int32_t dy);
    std::vector<std::string> DiagnosticTexts() const;

    FakeFileSource files;
    Scene scene;
    ScreenBuffer buffer;
    RecordingHost host;
    RecordingSoundPlayer player;
    std::unique_ptr<FkissSession> m_session;
};
