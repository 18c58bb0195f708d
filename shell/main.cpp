#include "cli/CommandLine.h"
#include "shell/CSysApp.h"

wxIMPLEMENT_APP_NO_MAIN(CSysApp);

int main(int argc, char** argv)
{
    // The console side ("--export", "--help") runs without a display.
    if (const std::optional<int> status = RunCommandLineTool(argc, argv))
        return *status;
    return wxEntry(argc, argv);
}
