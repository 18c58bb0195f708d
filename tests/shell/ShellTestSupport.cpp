#include "ShellTestSupport.h"

#include "shell/CSysDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CSysView.h"
#include "support/CelBytes.h"
#include "support/ConfigText.h"
#include "support/PaletteBytes.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <dlfcn.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

const char* const kRedBoxComment = ";\x90\xd4\x82\xa2\x94\xa0\xb6\xca\xde\xdd";

namespace
{
std::vector<PaletteColour> Group(PaletteColour colour1)
{
    std::vector<PaletteColour> colours(16);
    colours[0] = PaletteColour{0, 128, 128, 0};
    colours[1] = colour1;
    colours[2] = PaletteColour{0, 0, 255, 0};
    colours[3] = PaletteColour{255, 255, 0, 0};
    for (std::uint8_t i = 4; i < 16; ++i)
        colours[i] = PaletteColour{static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(i * 16),
                                   static_cast<std::uint8_t>(i * 16), 0};
    return colours;
}

std::vector<std::uint8_t> Filled(int width, int height, std::uint8_t number)
{
    return std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), number);
}
} // namespace

void RecordingMessages::ShowMessage(const std::string& text)
{
    shown.push_back(text);
    // Asked of the toolkit: wx's own flag misses a window that the toolkit showed by raising it.
    using Visible = int (*)(void* widget);
    static const auto visible =
        reinterpret_cast<Visible>(::dlsym(RTLD_DEFAULT, "gtk_widget_get_visible"));
    const wxWindow* top = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    overMainWindow.push_back(top != nullptr &&
                             (visible != nullptr && top->GetHandle() != nullptr
                                  ? visible(top->GetHandle()) != 0
                                  : top->IsShown()));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Point PositionOf(CSysDoc* doc, std::int32_t object)
{
    for (const auto& cel : doc->GetScene().PlacedCels())
        if (cel->objectNumber == object)
            return Point{cel->x, cel->y};
    return Point{-1, -1};
}

void Pump()
{
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TestSet::TestSet()
{
    folder.Write("P.KCF",
                 PaletteBytes().Group(Group({255, 0, 0, 0})).Group(Group({0, 255, 0, 0})).Bytes());
    folder.Write("A.CEL", CelBytes::Indexed(20, 10, Filled(20, 10, 1)).Bytes());
    std::vector<std::uint8_t> halves;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            halves.push_back(x < 5 ? 0 : 2);
    folder.Write("B.CEL", CelBytes::Indexed(10, 10, halves).Bytes());
    folder.Write("C.CEL", CelBytes::Indexed(8, 8, Filled(8, 8, 3)).Bytes());
    configPath = folder.Write(
        "TEST.CNF", ConfigText({"(100,80)", "%P.KCF", std::string("#1 A.CEL *0 ") + kRedBoxComment,
                                "#2.1 B.CEL *0", "#3.300 C.CEL *0 :0 3",
                                "$0 * 10,10 40,10 70,10", "$0 * 10,10 40,10 70,10",
                                "$0 * 10,10 40,10 70,10", "$1 * 20,30 40,10 70,10"}));
}

FkissTestSet::FkissTestSet()
{
    folder.Write("P.KCF",
                 PaletteBytes().Group(Group({255, 0, 0, 0})).Group(Group({0, 255, 0, 0})).Bytes());
    folder.Write("A.CEL", CelBytes::Indexed(20, 10, Filled(20, 10, 1)).Bytes());
    folder.Write("C.CEL", CelBytes::Indexed(8, 8, Filled(8, 8, 3)).Bytes());
    folder.Write("D.CEL", CelBytes::Indexed(8, 8, Filled(8, 8, 3)).Bytes());
    folder.Write("E.CEL", CelBytes::Indexed(10, 10, Filled(10, 10, 2)).Bytes());
    folder.Write("F.CEL", CelBytes::Indexed(4, 4, Filled(4, 4, 1)).Bytes());
    folder.Write("G.CEL", CelBytes::Indexed(6, 6, Filled(6, 6, 2)).Bytes());
    folder.Write("H.CEL", CelBytes::Indexed(6, 6, Filled(6, 6, 3)).Bytes());
    configPath = folder.Write(
        "FK.CNF",
        ConfigText({"(100,80)", "%P.KCF", "#1 A.CEL *0", "#2 C.CEL *0", "#5 F.CEL *0",
                    "#3 E.CEL *0", "#4 D.CEL *0 ;%u", "#6 G.CEL *0", "#7 H.CEL *0",
                    "$0 * 10,10 10,50 50,50 70,50 30,50 40,30 60,30", ";@EventHandler",
                    ";@begin() attach(#5, #2) timer(1, 30)", ";@alarm(1) notify(\"tick\")",
                    ";@press(#1) map(#4)", ";@in(#2, #3) moveto(#3, 50, 10)",
                    ";@keypress(\"k\") unmap(#1)", ";@catch(#2) notify(\"held\")",
                    ";@keypress(\"t\") timer(2, 2000) let(keyed, 1)", ";@alarm(2) unmap(#6)",
                    ";@press(#7) timer(3, 2000) let(pressed, 1)", ";@alarm(3) unmap(#7)",
                    ";@mousein(#7) let(inside, 1)", ";@mouseout(#7) let(inside, 0)",
                    ";@ add(outs, outs, 1)"}));
}

ViewerFixture::ViewerFixture(const wxString& file, SetPreload* preload)
{
    CSysApp::StartOptions options;
    options.file = file;
    options.preload = preload;
    options.iniPath = configHome.File("velquin.INI");
    options.messages = &messages;
    started = App().StartUp(options);
    if (started)
        PumpUntil([this] { return Frame()->IsShownOnScreen(); });
}

ViewerFixture::~ViewerFixture()
{
    App().ShutDown();
    Pump();
}

CSysApp& ViewerFixture::App() const
{
    return wxGetApp();
}

CMainFrame* ViewerFixture::Frame() const
{
    return App().GetMainFrame();
}

CSysDoc* ViewerFixture::Doc() const
{
    return App().GetDocument();
}

CSysView* ViewerFixture::View() const
{
    return wxDynamicCast(Doc()->GetFirstView(), CSysView);
}

void ViewerFixture::Command(int id) const
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(Frame());
    Frame()->GetEventHandler()->ProcessEvent(event);
}

bool ViewerFixture::QueryUpdate(int id, bool* enabled, bool* checked) const
{
    wxUpdateUIEvent event(id);
    event.SetEventObject(Frame());
    if (!Frame()->GetEventHandler()->ProcessEvent(event))
        return false;
    *enabled = !event.GetSetEnabled() || event.GetEnabled();
    *checked = event.GetSetChecked() && event.GetChecked();
    return true;
}

ButtonGuard::~ButtonGuard()
{
    if (down)
        input.MouseUp();
}
