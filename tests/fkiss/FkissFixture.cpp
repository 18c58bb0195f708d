#include "FkissFixture.h"

#include "../scene/SceneFixtures.h"
#include "i18n/ProblemText.h"
#include "support/ConfigText.h"

FkissFixture::FkissFixture()
{
    files.Add("p.kcf", Palette24({{Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)},
                                  {Rgb(9, 9, 9), Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(3, 3, 3)}}));
    files.Add("a.cel", SolidCel(4, 4, 1));
    files.Add("b.cel", SolidCel(4, 4, 2));
    files.Add("ring.cel",
              CelBytes::Indexed(4, 4, {3, 3, 3, 3, 3, 0, 0, 3, 3, 0, 0, 3, 3, 3, 3, 3}).Bytes());
    files.Add("beep.wav", std::string_view("RIFF"));
    files.Add("tune.mid", std::string_view("MThd"));
}

void FkissFixture::Load(std::initializer_list<std::string_view> lines)
{
    scene.LoadSceneFromBytes(ConfigText(lines), files);
    buffer.SetFormat(0, 0, 32);
    scene.ApplyToBuffer(buffer, true, true);
    m_session = FkissSession::Create(scene, buffer, host, "test.cnf", 7);
    ASSERT_NE(m_session, nullptr);
    Engine().SetSound(&files, &player);
    Engine().Start();
}

void FkissFixture::LoadWithCode(std::vector<std::string> lines,
                                const std::vector<std::string>& code)
{
    lines.push_back(";@EventHandler");
    lines.insert(lines.end(), code.begin(), code.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    Load({text});
}

int FkissFixture::CelOf(const std::string& name, int nth) const
{
    const auto& cels = scene.PlacedCels();
    const auto& lines = scene.Config()->CelLines();
    for (std::size_t i = 0; i < cels.size(); ++i)
    {
        for (const CelLine* line : lines)
        {
            if (line->Serial() == cels[i]->celLineSerial && line->CelFileName() == name &&
                nth-- == 0)
                return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << "no cel " << name;
    return -1;
}

bool FkissFixture::Shown(const std::string& name) const
{
    const PlacedCel& cel = *scene.PlacedCels()[static_cast<std::size_t>(CelOf(name))];
    return cel.visible && cel.mapped;
}

Point FkissFixture::PositionOf(std::int32_t object) const
{
    for (const auto& cel : scene.PlacedCels())
    {
        if (cel->objectNumber == object)
            return Point{cel->x, cel->y};
    }
    return Point{-1, -1};
}

void FkissFixture::DragCel(int cel, std::int32_t dx, std::int32_t dy)
{
    const Point at = scene.GetCelPosition(cel);
    Engine().Press(cel, at);
    Engine().Drag(cel, dx, dy);
    Engine().Release(cel, Point{at.x + dx, at.y + dy});
}

std::vector<std::string> FkissFixture::DiagnosticTexts() const
{
    std::vector<std::string> texts;
    for (const FkissDiagnostic& diagnostic : m_session->Engine().Diagnostics())
        texts.push_back(LocatedText(diagnostic));
    return texts;
}
