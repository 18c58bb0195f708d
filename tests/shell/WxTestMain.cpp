#include "i18n/Language.h"
#include "shell/CSysApp.h"

#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/translation.h>

#include <gtest/gtest.h>

#include <cstdlib>

// The real application object, without its OnInit: each test starts what it needs.
wxIMPLEMENT_APP_NO_MAIN(CSysApp);

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The stored expectations are the original texts, whatever the developer's desktop speaks;
    // the tests of other languages set their own.
    if (ChooseUiLanguage(LocaleEnvironment::FromProcess()) != UiLanguage::Original)
    {
        setenv("LC_ALL", "C.UTF-8", 1);
        unsetenv("LANGUAGE");
    }
    // The catalogs of the build tree, which lie in no folder relative to this program.
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(VELQUIN_LOCALE_DIR);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (!wxEntryStart(argc, argv))
        return 1;
    // Screenshots come back as PNG files.
    wxImage::AddHandler(new wxPNGHandler);
    int status = 0;
    {
        wxEventLoop loop;
        wxEventLoopActivator active(&loop);
        status = RUN_ALL_TESTS();
    }
    wxEntryCleanup();
    return status;
}
