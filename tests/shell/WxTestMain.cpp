#include "shell/CSysApp.h"

#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

#include <gtest/gtest.h>

// The real application object, without its OnInit: each test starts what it needs.
wxIMPLEMENT_APP_NO_MAIN(CSysApp);

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
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
