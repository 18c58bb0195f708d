#include "cli/CommandLine.h"
#include "cli/ViewerLauncher.h"

// The program users start: the console commands run here without loading the toolkit, and
// everything else goes to the viewer proper.
int main(int argc, char** argv)
{
    if (const std::optional<int> status = RunCommandLineTool(argc, argv))
        return *status;
    return StartViewer(argv);
}
