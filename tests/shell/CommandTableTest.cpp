#include "shell/CommandTable.h"

#include "ShellTestSupport.h"
#include "shell/CMainFrame.h"

#include <wx/accel.h>
#include <wx/aui/auibar.h>
#include <wx/menu.h>

#include <gtest/gtest.h>

namespace
{
int CommandForKey(const wxAcceleratorTable& table, int keyCode, int modifiers = wxMOD_NONE)
{
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = keyCode;
    event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
    event.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
    event.m_altDown = (modifiers & wxMOD_ALT) != 0;
    return table.GetCommand(event);
}
} // namespace

TEST(CommandTableTest, MenuBarHasEveryItemWithItsShortcutAndGreyedState)
{
    std::unique_ptr<wxMenuBar> bar(CommandTable::BuildMenuBar());
    ASSERT_EQ(bar->GetMenuCount(), 6u);
    EXPECT_EQ(bar->GetMenuLabel(0), wxString::FromUTF8("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(bar->GetMenuLabel(3), wxString::FromUTF8("ﾊﾟﾚｯﾄ(&P)"));
    EXPECT_EQ(bar->GetMenuLabel(5), wxString::FromUTF8("ﾍﾙﾌﾟ(&H)"));
    EXPECT_EQ(bar->GetMenu(0)->GetMenuItemCount(), 11u);
    EXPECT_EQ(bar->GetMenu(1)->GetMenuItemCount(), 7u);
    // The View menu's last addition is the language submenu, three radio items.
    EXPECT_EQ(bar->GetMenu(2)->GetMenuItemCount(), 17u);
    wxMenuItem* language = bar->FindItem(ID_VIEW_LANGUAGE);
    ASSERT_NE(language, nullptr);
    ASSERT_TRUE(language->IsSubMenu());
    EXPECT_EQ(language->GetItemLabel(), wxString::FromUTF8("言語(&G)"));
    EXPECT_EQ(language->GetSubMenu()->GetMenuItemCount(), 3u);
    EXPECT_TRUE(bar->FindItem(ID_LANGUAGE_ENGLISH)->IsRadio());
    EXPECT_EQ(bar->GetMenu(4)->GetMenuItemCount(), 12u);

    wxMenuItem* save = bar->FindItem(ID_FILE_SAVE);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->GetItemLabel(), wxString::FromUTF8("上書き保存(&S)\tCtrl+S"));
    std::unique_ptr<wxAcceleratorEntry> accel(save->GetAccel());
    ASSERT_TRUE(accel);
    EXPECT_EQ(accel->GetFlags(), wxACCEL_CTRL);
    EXPECT_EQ(accel->GetKeyCode(), 'S');
    EXPECT_EQ(save->GetHelp(), wxString::FromUTF8("作業中のﾌｧｲﾙを保存"));
    EXPECT_EQ(bar->FindItem(ID_SET_0 + 4)->GetItemLabel(), "&4");
    EXPECT_TRUE(bar->FindItem(ID_SET_0 + 4)->IsCheckable());
    EXPECT_TRUE(bar->IsEnabled(ID_ZOOM_IN));
    EXPECT_TRUE(bar->IsEnabled(ID_ZOOM_OUT));
    EXPECT_EQ(bar->FindItem(ID_ZOOM_IN)->GetItemLabel(), wxString::FromUTF8("拡大(&+)"));
    EXPECT_TRUE(bar->FindItem(ID_ZOOM_FIT)->IsCheckable());
    EXPECT_EQ(bar->FindItem(ID_VIEW_MESSAGES)->GetItemLabel(),
              wxString::FromUTF8("メッセージ一覧(&M)"));
    // Redo right after undo, in the style of its neighbours.
    wxMenuItem* redo = bar->GetMenu(1)->FindItemByPosition(2);
    EXPECT_EQ(redo->GetId(), ID_EDIT_REDO);
    EXPECT_EQ(redo->GetItemLabel(), wxString::FromUTF8("やり直し(&R)\tCtrl+Y"));
    EXPECT_EQ(redo->GetHelp(), wxString::FromUTF8("元に戻した動作をやり直す"));
    EXPECT_EQ(bar->FindItem(ID_EDIT_UNDO)->GetItemLabel(),
              wxString::FromUTF8("元に戻す(&U)\tCtrl+Z"));
    EXPECT_FALSE(bar->IsEnabled(ID_FILE_MRU_FIRST));
    EXPECT_TRUE(bar->IsEnabled(ID_RELOAD));
}

TEST(CommandTableTest, ShortcutsTakeDigitsFromBothKeyRows)
{
    const wxAcceleratorTable table = CommandTable::BuildAccelerators();
    EXPECT_EQ(CommandForKey(table, '3'), ID_SET_0 + 3);
    EXPECT_EQ(CommandForKey(table, WXK_NUMPAD3), ID_SET_0 + 3);
    EXPECT_EQ(CommandForKey(table, '0'), ID_SET_0);
    EXPECT_EQ(CommandForKey(table, 'N', wxMOD_CONTROL), ID_FILE_NEW);
    EXPECT_EQ(CommandForKey(table, 'O', wxMOD_CONTROL), ID_FILE_OPEN);
    EXPECT_EQ(CommandForKey(table, WXK_BACK, wxMOD_ALT), ID_EDIT_UNDO);
    EXPECT_EQ(CommandForKey(table, 'Z', wxMOD_CONTROL), ID_EDIT_UNDO);
    EXPECT_EQ(CommandForKey(table, 'Y', wxMOD_CONTROL), ID_EDIT_REDO);
    EXPECT_EQ(CommandForKey(table, 'Z', wxMOD_CONTROL | wxMOD_SHIFT), ID_EDIT_REDO);
    EXPECT_EQ(CommandForKey(table, '+', wxMOD_CONTROL | wxMOD_SHIFT), ID_ZOOM_IN);
    EXPECT_EQ(CommandForKey(table, WXK_NUMPAD_ADD, wxMOD_CONTROL), ID_ZOOM_IN);
    EXPECT_EQ(CommandForKey(table, '-', wxMOD_CONTROL), ID_ZOOM_OUT);
    EXPECT_EQ(CommandForKey(table, WXK_INSERT, wxMOD_SHIFT), ID_EDIT_PASTE);
    EXPECT_EQ(CommandForKey(table, WXK_F6), ID_NEXT_PANE);
    EXPECT_EQ(CommandForKey(table, WXK_F6, wxMOD_SHIFT), ID_PREV_PANE);
    EXPECT_EQ(CommandForKey(table, '3', wxMOD_CONTROL), -1);
}

TEST(CommandTableTest, BarsCarryTheirButtonsTipsAndPrompts)
{
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    EXPECT_EQ(frame->MainBar()->GetToolCount(), 9u);
    EXPECT_EQ(frame->SetBar()->GetToolCount(), 12u);
    EXPECT_EQ(frame->MainBar()->GetToolShortHelp(ID_FILE_OPEN), wxString::FromUTF8("開く"));
    EXPECT_EQ(frame->MainBar()->GetToolLongHelp(ID_NEXT_SET),
              wxString::FromUTF8("次のセットへ"));
    EXPECT_EQ(frame->MainBar()->FindTool(ID_FILE_NEW)->GetBitmapBundle().GetDefaultSize(), wxSize(16, 15));
    EXPECT_EQ(frame->SetBar()->FindTool(ID_SET_0)->GetBitmapBundle().GetDefaultSize(), wxSize(16, 11));

    // At idle the label buttons are greyed and the current set is pressed in.
    EXPECT_TRUE(PumpUntil([&] { return !frame->SetBar()->GetToolEnabled(ID_SET_LABEL); }));
    EXPECT_FALSE(frame->PaletteBar()->GetToolEnabled(ID_PALETTE_LABEL));
    EXPECT_TRUE(frame->SetBar()->GetToolToggled(ID_SET_0));
    EXPECT_FALSE(frame->SetBar()->GetToolToggled(ID_SET_0 + 1));

    // Prompts show in the message pane and give way to "Ready." when they end.
    frame->DoGiveHelp(CommandTable::PromptOf(ID_APP_ABOUT), true);
    EXPECT_EQ(frame->StatusBar()->GetStatusText(0),
              wxString::FromUTF8("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"));
    frame->DoGiveHelp(wxString(), false);
    EXPECT_EQ(frame->StatusBar()->GetStatusText(0), "Ready.");

    // The mouse on a button: its prompt while it rests there, "Ready." once it leaves.
    wxAuiToolBar* bar = frame->MainBar();
    auto mouse = [bar](wxEventType type, int id) {
        wxMouseEvent event(type);
        event.SetEventObject(bar);
        const wxRect rect = id == wxID_NONE ? wxRect(-5, -5, 1, 1) : bar->GetToolRect(id);
        event.SetPosition(rect.GetPosition() + rect.GetSize() / 2);
        bar->GetEventHandler()->ProcessEvent(event);
    };
    mouse(wxEVT_ENTER_WINDOW, ID_FILE_SAVE);
    EXPECT_EQ(frame->StatusBar()->GetStatusText(0), wxString::FromUTF8("作業中のﾌｧｲﾙを保存"));
    mouse(wxEVT_MOTION, ID_PREV_PALETTE);
    EXPECT_EQ(frame->StatusBar()->GetStatusText(0), wxString::FromUTF8("前のパレットへ"));
    mouse(wxEVT_LEAVE_WINDOW, wxID_NONE);
    EXPECT_EQ(frame->StatusBar()->GetStatusText(0), "Ready.");
}
