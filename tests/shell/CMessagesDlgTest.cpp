#include "shell/CMessagesDlg.h"

#include "ShellTestSupport.h"
#include "shell/CMainFrame.h"
#include "shell/CSysDoc.h"
#include "shell/CommandIds.h"
#include "support/ConfigText.h"

#include <wx/clipbrd.h>
#include <wx/listctrl.h>

#include <gtest/gtest.h>

TEST(CMessagesDlgTest, ListsTheSetsMessagesWithTheirFilesNewestLastAndFollowsTheLog)
{
    TestSet set;
    const std::string broken = set.folder.Write(
        "BROKEN.CNF", ConfigText({"(100,80)", "%P.KCF", "%NOPE.KCF", "#1 A.CEL *0",
                                  "#2 GONE.CEL *0", "$0 * 10,10 40,10"}));
    ViewerFixture viewer(broken);
    ASSERT_TRUE(viewer.started);
    // The load box is as before: one box with both messages.
    ASSERT_EQ(viewer.messages.shown.size(), 1u);
    EXPECT_EQ(viewer.messages.shown[0],
              "ファイル NOPE.KCF を開けません。\nファイル GONE.CEL を開けません。");

    viewer.Command(ID_VIEW_MESSAGES);
    CMessagesDlg* window = viewer.Frame()->MessagesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsShown());
    wxListCtrl* list = window->List();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 0), "NOPE.KCF");
    EXPECT_EQ(list->GetItemText(1, 0), "GONE.CEL");
    EXPECT_EQ(list->GetItemText(1, 1), "");
    EXPECT_EQ(list->GetItemText(1, 2), wxString::FromUTF8("ファイル GONE.CEL を開けません。"));

    // Later messages (the set's own diagnostics) come in at idle, after the rest.
    viewer.Doc()->GetScene().AddMessage(Problem{ProblemKind::ScriptText, "BROKEN.CNF", 6, {"later"}});
    ASSERT_TRUE(PumpUntil([&] { return list->GetItemCount() == 3; }));
    EXPECT_EQ(list->GetItemText(2, 1), "6");
    const wxString all = wxString::FromUTF8("NOPE.KCF: ファイル NOPE.KCF を開けません。\n"
                                            "GONE.CEL: ファイル GONE.CEL を開けません。\n"
                                            "BROKEN.CNF(6): later\n");
    EXPECT_EQ(window->SelectionText(), all);
    list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_EQ(window->SelectionText(), "BROKEN.CNF(6): later\n");

    window->CopyToClipboard();
    {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTextDataObject pasted;
        ASSERT_TRUE(wxTheClipboard->GetData(pasted));
        EXPECT_EQ(pasted.GetText(), "BROKEN.CNF(6): later\n");
    }

    // Another set has its own list: a clean one has none.
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_TRUE(PumpUntil([&] { return list->GetItemCount() == 0; }));
}
