#include "cli/CommandLine.h"
#include "session/SetPreload.h"
#include "shell/CSysApp.h"

wxIMPLEMENT_APP_NO_MAIN(CSysApp);

int main(int argc, char** argv)
{
    // The console side ("--export", "--help") runs without a display.
    if (const std::optional<int> status = RunCommandLineTool(argc, argv))
        return *status;
    // The set on the command line loads on another core while the toolkit starts; the thread
    // is joined when the document takes the set, or here at the end when nothing did.
    std::optional<SetPreload> preload;
    if (argc > 1)
        preload.emplace(argv[1]);
    CSysApp::PreloadAtStart(preload ? &*preload : nullptr);
    return wxEntry(argc, argv);
}
