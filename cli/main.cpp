#include "cli/CommandLine.h"
#include "cli/ViewerLauncher.h"
#include "i18n/ConsoleCatalog.h"

// The program users start: the console commands run here without loading the toolkit, and
// everything else goes to the viewer proper.
int main(int argc, char** argv)
{
    // Only a console command binds the catalog: binding changes the locale variables, and the
    // viewer must inherit the user's own and choose for itself.
    if (IsConsoleCommand(argc, argv))
    {
        constexpr const char* kCatalogFolders[] = {CATALOG_FROM_BUILD, CATALOG_FROM_INSTALL};
        UseEnvironmentLanguage(kCatalogFolders);
    }
    if (const std::optional<int> status = RunCommandLineTool(argc, argv))
        return *status;
    return StartViewer(argv);
}
