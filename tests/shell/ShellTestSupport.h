#pragma once

#include "image/ScreenBuffer.h"
#include "shell/CSysApp.h"
#include "shell/WxBridge.h"
#include "support/TempDir.h"

#include <wx/string.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class wxUIActionSimulator;
class CSysDoc;
class CSysView;
class SetPreload;

/// Keeps every message instead of showing a box.
struct RecordingMessages : MessageSink
{
    void ShowMessage(const std::string& text) override;
    std::vector<std::string> shown;
    /// Whether the main window was on the screen when each message came.
    std::vector<bool> overMainWindow;
};

/// The whole contents of a file (empty when missing).
std::string ReadAll(const std::string& path);
/// The position of the first placed cel of object, or (-1, -1).
Point PositionOf(CSysDoc* doc, std::int32_t object);

/// Runs the event loop until done() holds or the time is up; true when it held.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
/// Lets pending window-system work and idle handlers run.
void Pump();

/// However a test ends, the button must not stay down in the X server.
struct ButtonGuard
{
    wxUIActionSimulator& input;
    bool down = false;
    ~ButtonGuard();
};

/// The comment of object 1 in the test set: "赤い箱ｶﾊﾞﾝ" in the sets' code page.
extern const char* const kRedBoxComment;

/// A small set written in code, in its own folder:
///   100 × 80 screen, one palette of 16 colours in two groups (colour 1 red, then green),
///   object 1: A.CEL 20 × 10 of colour 1, free, at 10,10 in set 0, comment kRedBoxComment;
///   object 2: B.CEL 10 × 10 of colour 2 with a transparent left half, fix 1, at 40,10;
///   object 3: C.CEL 8 × 8 of colour 3, fix 300, at 70,10; only in sets 0 and 3.
/// Set 3 has palette group 1 and object 1 at 20,30.
struct TestSet
{
    TempDir folder;
    std::string configPath;

    TestSet();
};

/// A set with FKiSS code, in its own folder: 100 × 80, the palette of TestSet;
///   #1 A.CEL 20 × 10 red at 10,10, a button: press maps the lamp; key "k" unmaps the button;
///   #2 C.CEL 8 × 8 yellow at 10,50, dragged into #3 E.CEL 10 × 10 blue at 50,50 moves #3 to
///   50,10; #5 F.CEL 4 × 4 red at 30,50 is attached to #2;
///   #4 D.CEL 8 × 8 yellow at 70,50, the lamp, starts unmapped;
///   an alarm 30 ms after the start shows "tick" in the message pane; catching #2 shows "held";
///   #6 G.CEL 6 × 6 blue at 40,30 is unmapped 2 s after the key "t", #7 H.CEL 6 × 6 yellow at
///   60,30 2 s after a press on it; the pointer entering #7 sets the variable inside to 1,
///   leaving it sets it to 0 and counts in outs.
struct FkissTestSet
{
    TempDir folder;
    std::string configPath;

    FkissTestSet();
};

/// The real application started as the program starts it, with its recent files in a
/// folder of its own and no shell-open service; messages are recorded. preload, when given,
/// is the set loading ahead as the program's main starts it.
class ViewerFixture
{
public:
    explicit ViewerFixture(const wxString& file = wxString(), SetPreload* preload = nullptr);
    ~ViewerFixture();

    CSysApp& App() const;
    CMainFrame* Frame() const;
    CSysDoc* Doc() const;
    CSysView* View() const;

    /// Sends a command as a menu or key would: through the frame.
    void Command(int id) const;
    /// Asks the command's enable and check state along the same road; false when nobody
    /// answered.
    bool QueryUpdate(int id, bool* enabled, bool* checked) const;

    TempDir configHome;
    RecordingMessages messages;
    bool started = false;
};
