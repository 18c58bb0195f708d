#include "shell/CommandTable.h"

#include "shell/ToolBarArt.h"
#include "shell/UiText.h"

#include <wx/accel.h>
#include <wx/aui/auibar.h>
#include <wx/menu.h>

#include <array>
#include <vector>

namespace
{
using H = Handler;

// Ranges first: Find returns the first entry that holds the identifier.
constexpr std::array kCommands = {
    CommandInfo{ID_PALETTE_LABEL, ID_PALETTE_LABEL, nullptr, nullptr, H::None},
    CommandInfo{ID_SET_LABEL, ID_SET_LABEL, nullptr, nullptr, H::None},
    CommandInfo{ID_PALETTE_0, ID_PALETTE_9, nullptr, nullptr, H::Document},
    CommandInfo{ID_SET_0, ID_SET_9, nullptr, nullptr, H::Document},
    CommandInfo{ID_PREV_SET, ID_PREV_SET, wxTRANSLATE("前のセットへ"), wxTRANSLATE("前のセットへ"),
                H::Document},
    CommandInfo{ID_NEXT_PALETTE, ID_NEXT_PALETTE, wxTRANSLATE("次のパレットへ"),
                wxTRANSLATE("次のパレットへ"), H::Document},
    CommandInfo{ID_NEXT_SET, ID_NEXT_SET, wxTRANSLATE("次のセットへ"), wxTRANSLATE("次のセットへ"),
                H::Document},
    CommandInfo{ID_PREV_PALETTE, ID_PREV_PALETTE, wxTRANSLATE("前のパレットへ"),
                wxTRANSLATE("前のパレットへ"), H::Document},
    CommandInfo{ID_VIEW_PALETTE_BAR, ID_VIEW_PALETTE_BAR,
                wxTRANSLATE("ﾊﾟﾚｯﾄﾁｪﾝｼﾞ ﾊﾞｰの表示/非表示"),
                wxTRANSLATE("ﾊﾟﾚｯﾄﾁｪﾝｼﾞ ﾊﾞｰの表示/非表示"), H::Frame},
    CommandInfo{ID_VIEW_SET_BAR, ID_VIEW_SET_BAR, wxTRANSLATE("ｾｯﾄﾁｪﾝｼﾞ ﾊﾞｰの表示/非表示"),
                wxTRANSLATE("ｾｯﾄﾁｪﾝｼﾞ ﾊﾞｰの表示/非表示"), H::Frame},
    CommandInfo{ID_SIZE_ADJUST, ID_SIZE_ADJUST, nullptr, nullptr, H::View},
    CommandInfo{ID_VIEW_FKISS, ID_VIEW_FKISS, nullptr, nullptr, H::App},
    CommandInfo{ID_RESTORE, ID_RESTORE, wxTRANSLATE("ロード時の状態に戻します"),
                wxTRANSLATE("最初に戻す"), H::Document},
    CommandInfo{ID_ZOOM_IN, ID_ZOOM_IN, wxTRANSLATE("表示を拡大します"), wxTRANSLATE("拡大"),
                H::View},
    CommandInfo{ID_ZOOM_OUT, ID_ZOOM_OUT, wxTRANSLATE("表示を縮小します"), wxTRANSLATE("縮小"),
                H::View},
    CommandInfo{ID_ZOOM_FIT, ID_ZOOM_FIT, wxTRANSLATE("ウィンドウに収まる最大の倍率で表示します"),
                wxTRANSLATE("ウィンドウに合わせる"), H::View},
    CommandInfo{ID_VIEW_MESSAGES, ID_VIEW_MESSAGES,
                wxTRANSLATE("このセットのメッセージをすべて表示します"),
                wxTRANSLATE("メッセージ一覧"), H::Frame},
    CommandInfo{ID_RELOAD, ID_RELOAD, nullptr, nullptr, H::Document},
    CommandInfo{ID_FULL_COLOUR, ID_FULL_COLOUR, wxTRANSLATE("フルカラーモード"),
                wxTRANSLATE("フルカラーモード"), H::Document},
    CommandInfo{ID_256_COLOUR, ID_256_COLOUR, wxTRANSLATE("256色モード"),
                wxTRANSLATE("256色モード"), H::Document},
    CommandInfo{ID_FILE_NEW, ID_FILE_NEW, wxTRANSLATE("新規にﾌｧｲﾙを作成"), wxTRANSLATE("新規ﾌｧｲﾙ"),
                H::App},
    CommandInfo{ID_FILE_OPEN, ID_FILE_OPEN, wxTRANSLATE("既存のﾌｧｲﾙを開く"), wxTRANSLATE("開く"),
                H::App},
    CommandInfo{ID_FILE_OPEN_ADD_ON, ID_FILE_OPEN_ADD_ON,
                wxTRANSLATE("追加セットを今のセットに重ねて開く"), wxTRANSLATE("追加セットを開く"),
                H::Document},
    CommandInfo{ID_FILE_SAVE, ID_FILE_SAVE, wxTRANSLATE("作業中のﾌｧｲﾙを保存"), wxTRANSLATE("保存"),
                H::Document},
    CommandInfo{ID_FILE_SAVE_AS, ID_FILE_SAVE_AS, wxTRANSLATE("作業中のﾌｧｲﾙに名前を付けて保存"),
                wxTRANSLATE("名前をつけて保存"), H::Document},
    CommandInfo{ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, wxTRANSLATE("指定のﾌｧｲﾙを開く"), nullptr,
                H::App},
    CommandInfo{ID_EDIT_COPY, ID_EDIT_COPY, wxTRANSLATE("選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"),
                wxTRANSLATE("ｺﾋﾟ-"), H::None},
    CommandInfo{ID_EDIT_CUT, ID_EDIT_CUT, wxTRANSLATE("選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"),
                wxTRANSLATE("切り取り"), H::None},
    CommandInfo{ID_EDIT_PASTE, ID_EDIT_PASTE, wxTRANSLATE("ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け"),
                wxTRANSLATE("貼り付け"), H::None},
    CommandInfo{ID_EDIT_UNDO, ID_EDIT_UNDO, wxTRANSLATE("直前に行った動作を元に戻す"),
                wxTRANSLATE("元に戻す"), H::Document},
    CommandInfo{ID_EDIT_REDO, ID_EDIT_REDO, wxTRANSLATE("元に戻した動作をやり直す"),
                wxTRANSLATE("やり直し"), H::Document},
    CommandInfo{ID_APP_ABOUT, ID_APP_ABOUT, wxTRANSLATE("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"),
                wxTRANSLATE("ﾊﾞｰｼﾞｮﾝ情報"), H::App},
    CommandInfo{ID_APP_EXIT, ID_APP_EXIT, wxTRANSLATE("ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示"),
                wxTRANSLATE("終了"), H::App},
    // The view's split-pane commands: this program never splits, so nothing answers them.
    CommandInfo{ID_NEXT_PANE, ID_NEXT_PANE, wxTRANSLATE("次のｳｨﾝﾄﾞｳに切り替える"),
                wxTRANSLATE("次ﾍﾟｰｼﾞ"), H::None},
    CommandInfo{ID_PREV_PANE, ID_PREV_PANE, wxTRANSLATE("前のｳｨﾝﾄﾞｳに切り替える"),
                wxTRANSLATE("前ﾍﾟｰｼﾞ"), H::None},
    CommandInfo{ID_VIEW_TOOLBAR, ID_VIEW_TOOLBAR, wxTRANSLATE("ﾂｰﾙ ﾊﾞｰの表示/非表示"),
                wxTRANSLATE("ﾂｰﾙ ﾊﾞｰの表示/非表示"), H::Frame},
    CommandInfo{ID_VIEW_STATUS_BAR, ID_VIEW_STATUS_BAR, wxTRANSLATE("ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"),
                wxTRANSLATE("ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"), H::Frame},
    CommandInfo{ID_VIEW_LANGUAGE, ID_VIEW_LANGUAGE, nullptr, nullptr, H::App},
    CommandInfo{ID_LANGUAGE_AUTOMATIC, ID_LANGUAGE_AUTOMATIC,
                wxTRANSLATE("メニューとメッセージをデスクトップの言語で表示します"), nullptr,
                H::App},
    CommandInfo{ID_LANGUAGE_JAPANESE, ID_LANGUAGE_JAPANESE,
                wxTRANSLATE("メニューとメッセージを日本語で表示します"), nullptr, H::App},
    CommandInfo{ID_LANGUAGE_ENGLISH, ID_LANGUAGE_ENGLISH,
                wxTRANSLATE("メニューとメッセージを英語で表示します"), nullptr, H::App},
};

using K = MenuItemKind;
constexpr MenuItemEntry kSeparator{0, nullptr, K::Separator, false};

constexpr std::array kFileMenu = {
    MenuItemEntry{ID_FILE_NEW, wxTRANSLATE("新規作成(&N)\tCtrl+N"), K::Normal, false},
    MenuItemEntry{ID_FILE_OPEN, wxTRANSLATE("開く(&O)...\tCtrl+O"), K::Normal, false},
    MenuItemEntry{ID_FILE_OPEN_ADD_ON, wxTRANSLATE("追加セットを開く(&E)..."), K::Normal, false},
    MenuItemEntry{ID_FILE_SAVE, wxTRANSLATE("上書き保存(&S)\tCtrl+S"), K::Normal, false},
    MenuItemEntry{ID_FILE_SAVE_AS, wxTRANSLATE("名前を付けて保存(&A)..."), K::Normal, false},
    kSeparator,
    MenuItemEntry{ID_RELOAD, wxTRANSLATE("再ロード(&R)"), K::Normal, false},
    kSeparator,
    MenuItemEntry{ID_FILE_MRU_FIRST, wxTRANSLATE("最新のﾌｧｲﾙ"), K::Normal, true},
    kSeparator,
    MenuItemEntry{ID_APP_EXIT, wxTRANSLATE("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"), K::Normal, false},
};

constexpr std::array kEditMenu = {
    MenuItemEntry{ID_RESTORE, wxTRANSLATE("最初に戻す(&S)"), K::Normal, false},
    MenuItemEntry{ID_EDIT_UNDO, wxTRANSLATE("元に戻す(&U)\tCtrl+Z"), K::Normal, false},
    MenuItemEntry{ID_EDIT_REDO, wxTRANSLATE("やり直し(&R)\tCtrl+Y"), K::Normal, false},
    kSeparator,
    MenuItemEntry{ID_EDIT_CUT, wxTRANSLATE("切り取り(&T)\tCtrl+X"), K::Normal, false},
    MenuItemEntry{ID_EDIT_COPY, wxTRANSLATE("ｺﾋﾟｰ(&C)\tCtrl+C"), K::Normal, false},
    MenuItemEntry{ID_EDIT_PASTE, wxTRANSLATE("貼り付け(&P)\tCtrl+V"), K::Normal, false},
};

// Each language is named in its own words, whatever the current one.
constexpr std::array kLanguageItems = {
    MenuItemEntry{ID_LANGUAGE_AUTOMATIC, wxTRANSLATE("自動(&A)"), K::Radio, false},
    MenuItemEntry{ID_LANGUAGE_JAPANESE, wxTRANSLATE("日本語(&J)"), K::Radio, false},
    MenuItemEntry{ID_LANGUAGE_ENGLISH, wxTRANSLATE("English(&E)"), K::Radio, false},
};
constexpr MenuEntry kLanguageMenu{wxTRANSLATE("言語(&G)"), kLanguageItems};

constexpr std::array kViewMenu = {
    MenuItemEntry{ID_SIZE_ADJUST, wxTRANSLATE("ｻｲｽﾞ調整(&A)"), K::Normal, false},
    kSeparator,
    MenuItemEntry{ID_VIEW_TOOLBAR, wxTRANSLATE("ﾂｰﾙ ﾊﾞｰ(&T)"), K::Check, false},
    MenuItemEntry{ID_VIEW_PALETTE_BAR, wxTRANSLATE("ﾊﾟﾚｯﾄﾁｪﾝｼﾞ ﾊﾞｰ (&P)"), K::Check, false},
    MenuItemEntry{ID_VIEW_SET_BAR, wxTRANSLATE("ｾｯﾄﾁｪﾝｼﾞ ﾊﾞｰ (&E)"), K::Check, false},
    MenuItemEntry{ID_VIEW_STATUS_BAR, wxTRANSLATE("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"), K::Check, false},
    kSeparator,
    MenuItemEntry{ID_256_COLOUR, wxTRANSLATE("256色ﾓｰﾄﾞ(&L)"), K::Check, false},
    MenuItemEntry{ID_FULL_COLOUR, wxTRANSLATE("ﾌﾙｶﾗｰﾓｰﾄﾞ(&F)"), K::Check, false},
    MenuItemEntry{ID_VIEW_FKISS, wxTRANSLATE("FKiSS を有効にする(&K)"), K::Check, false},
    MenuItemEntry{ID_VIEW_LANGUAGE, nullptr, K::Submenu, false, &kLanguageMenu},
    kSeparator,
    MenuItemEntry{ID_ZOOM_IN, wxTRANSLATE("拡大(&+)"), K::Normal, false},
    MenuItemEntry{ID_ZOOM_OUT, wxTRANSLATE("縮小(&-)"), K::Normal, false},
    MenuItemEntry{ID_ZOOM_FIT, wxTRANSLATE("ウィンドウに合わせる(&W)"), K::Check, false},
    kSeparator,
    MenuItemEntry{ID_VIEW_MESSAGES, wxTRANSLATE("メッセージ一覧(&M)"), K::Normal, false},
};

constexpr std::array kPaletteMenu = {
    MenuItemEntry{ID_NEXT_PALETTE, wxTRANSLATE("次のﾊﾟﾚｯﾄ(&N)"), K::Normal, false},
    MenuItemEntry{ID_PREV_PALETTE, wxTRANSLATE("前のﾊﾟﾚｯﾄ(&P)"), K::Normal, false},
    MenuItemEntry{ID_PALETTE_0 + 0, "&0", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 1, "&1", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 2, "&2", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 3, "&3", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 4, "&4", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 5, "&5", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 6, "&6", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 7, "&7", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 8, "&8", K::Check, false},
    MenuItemEntry{ID_PALETTE_0 + 9, "&9", K::Check, false},
};

constexpr std::array kSetMenu = {
    MenuItemEntry{ID_NEXT_SET, wxTRANSLATE("次のｾｯﾄ(&N)"), K::Normal, false},
    MenuItemEntry{ID_PREV_SET, wxTRANSLATE("前のｾｯﾄ(&P)"), K::Normal, false},
    MenuItemEntry{ID_SET_0 + 0, "&0", K::Check, false},
    MenuItemEntry{ID_SET_0 + 1, "&1", K::Check, false},
    MenuItemEntry{ID_SET_0 + 2, "&2", K::Check, false},
    MenuItemEntry{ID_SET_0 + 3, "&3", K::Check, false},
    MenuItemEntry{ID_SET_0 + 4, "&4", K::Check, false},
    MenuItemEntry{ID_SET_0 + 5, "&5", K::Check, false},
    MenuItemEntry{ID_SET_0 + 6, "&6", K::Check, false},
    MenuItemEntry{ID_SET_0 + 7, "&7", K::Check, false},
    MenuItemEntry{ID_SET_0 + 8, "&8", K::Check, false},
    MenuItemEntry{ID_SET_0 + 9, "&9", K::Check, false},
};

constexpr std::array kHelpMenu = {
    MenuItemEntry{ID_APP_ABOUT, wxTRANSLATE("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), K::Normal, false},
};

constexpr std::array kMenus = {
    MenuEntry{wxTRANSLATE("ﾌｧｲﾙ(&F)"), kFileMenu},
    MenuEntry{wxTRANSLATE("編集(&E)"), kEditMenu},
    MenuEntry{wxTRANSLATE("表示(&V)"), kViewMenu},
    MenuEntry{wxTRANSLATE("ﾊﾟﾚｯﾄ(&P)"), kPaletteMenu},
    MenuEntry{wxTRANSLATE("ｾｯﾄ(&S)"), kSetMenu},
    MenuEntry{wxTRANSLATE("ﾍﾙﾌﾟ(&H)"), kHelpMenu},
};

// Set keys are typed characters, so the keypad digits count as well.
constexpr std::array kAccelerators = {
    AcceleratorEntry{wxACCEL_NORMAL, '0', ID_SET_0 + 0},
    AcceleratorEntry{wxACCEL_NORMAL, '1', ID_SET_0 + 1},
    AcceleratorEntry{wxACCEL_NORMAL, '2', ID_SET_0 + 2},
    AcceleratorEntry{wxACCEL_NORMAL, '3', ID_SET_0 + 3},
    AcceleratorEntry{wxACCEL_NORMAL, '4', ID_SET_0 + 4},
    AcceleratorEntry{wxACCEL_NORMAL, '5', ID_SET_0 + 5},
    AcceleratorEntry{wxACCEL_NORMAL, '6', ID_SET_0 + 6},
    AcceleratorEntry{wxACCEL_NORMAL, '7', ID_SET_0 + 7},
    AcceleratorEntry{wxACCEL_NORMAL, '8', ID_SET_0 + 8},
    AcceleratorEntry{wxACCEL_NORMAL, '9', ID_SET_0 + 9},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD0, ID_SET_0 + 0},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD1, ID_SET_0 + 1},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD2, ID_SET_0 + 2},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD3, ID_SET_0 + 3},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD4, ID_SET_0 + 4},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD5, ID_SET_0 + 5},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD6, ID_SET_0 + 6},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD7, ID_SET_0 + 7},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD8, ID_SET_0 + 8},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_NUMPAD9, ID_SET_0 + 9},
    AcceleratorEntry{wxACCEL_CTRL, 'N', ID_FILE_NEW},
    AcceleratorEntry{wxACCEL_CTRL, 'O', ID_FILE_OPEN},
    AcceleratorEntry{wxACCEL_CTRL, 'S', ID_FILE_SAVE},
    AcceleratorEntry{wxACCEL_CTRL, 'Z', ID_EDIT_UNDO},
    AcceleratorEntry{wxACCEL_ALT, WXK_BACK, ID_EDIT_UNDO},
    AcceleratorEntry{wxACCEL_CTRL, 'Y', ID_EDIT_REDO},
    AcceleratorEntry{wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', ID_EDIT_REDO},
    AcceleratorEntry{wxACCEL_CTRL, 'X', ID_EDIT_CUT},
    AcceleratorEntry{wxACCEL_SHIFT, WXK_DELETE, ID_EDIT_CUT},
    AcceleratorEntry{wxACCEL_CTRL, 'C', ID_EDIT_COPY},
    AcceleratorEntry{wxACCEL_CTRL, WXK_INSERT, ID_EDIT_COPY},
    AcceleratorEntry{wxACCEL_CTRL, 'V', ID_EDIT_PASTE},
    AcceleratorEntry{wxACCEL_SHIFT, WXK_INSERT, ID_EDIT_PASTE},
    AcceleratorEntry{wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},
    AcceleratorEntry{wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
    // Ctrl++ whether "+" is typed with Shift (most layouts) or has a key of its own.
    AcceleratorEntry{wxACCEL_CTRL, '+', ID_ZOOM_IN},
    AcceleratorEntry{wxACCEL_CTRL | wxACCEL_SHIFT, '+', ID_ZOOM_IN},
    AcceleratorEntry{wxACCEL_CTRL | wxACCEL_SHIFT, '=', ID_ZOOM_IN},
    AcceleratorEntry{wxACCEL_CTRL, WXK_NUMPAD_ADD, ID_ZOOM_IN},
    AcceleratorEntry{wxACCEL_CTRL, '-', ID_ZOOM_OUT},
    AcceleratorEntry{wxACCEL_CTRL, WXK_NUMPAD_SUBTRACT, ID_ZOOM_OUT},
};

using I = ToolImage;
constexpr ToolButton kToolSeparator{0, I::BlankSheet, 0};

constexpr std::array kMainTools = {
    ToolButton{ID_FILE_NEW, I::BlankSheet, 0},
    ToolButton{ID_FILE_OPEN, I::OpenFolder, 0},
    ToolButton{ID_FILE_SAVE, I::Diskette, 0},
    kToolSeparator,
    ToolButton{ID_PREV_SET, I::PreviousSet, 0},
    ToolButton{ID_NEXT_SET, I::NextSet, 0},
    kToolSeparator,
    ToolButton{ID_PREV_PALETTE, I::PreviousPalette, 0},
    ToolButton{ID_NEXT_PALETTE, I::NextPalette, 0},
};

constexpr std::array kPaletteTools = {
    ToolButton{ID_PALETTE_LABEL, I::PaletteLabel, 0}, kToolSeparator,
    ToolButton{ID_PALETTE_0 + 0, I::Digit, 0},        ToolButton{ID_PALETTE_0 + 1, I::Digit, 1},
    ToolButton{ID_PALETTE_0 + 2, I::Digit, 2},        ToolButton{ID_PALETTE_0 + 3, I::Digit, 3},
    ToolButton{ID_PALETTE_0 + 4, I::Digit, 4},        ToolButton{ID_PALETTE_0 + 5, I::Digit, 5},
    ToolButton{ID_PALETTE_0 + 6, I::Digit, 6},        ToolButton{ID_PALETTE_0 + 7, I::Digit, 7},
    ToolButton{ID_PALETTE_0 + 8, I::Digit, 8},        ToolButton{ID_PALETTE_0 + 9, I::Digit, 9},
};

constexpr std::array kSetTools = {
    ToolButton{ID_SET_LABEL, I::SetLabel, 0}, kToolSeparator,
    ToolButton{ID_SET_0 + 0, I::Digit, 0},    ToolButton{ID_SET_0 + 1, I::Digit, 1},
    ToolButton{ID_SET_0 + 2, I::Digit, 2},    ToolButton{ID_SET_0 + 3, I::Digit, 3},
    ToolButton{ID_SET_0 + 4, I::Digit, 4},    ToolButton{ID_SET_0 + 5, I::Digit, 5},
    ToolButton{ID_SET_0 + 6, I::Digit, 6},    ToolButton{ID_SET_0 + 7, I::Digit, 7},
    ToolButton{ID_SET_0 + 8, I::Digit, 8},    ToolButton{ID_SET_0 + 9, I::Digit, 9},
};

constexpr std::array kToolBars = {
    ToolBarLayout{128, "MainBar", 15, DockEdge::Top, true, kMainTools},
    ToolBarLayout{131, "PaletteBar", 11, DockEdge::Bottom, false, kPaletteTools},
    ToolBarLayout{133, "SetBar", 11, DockEdge::Bottom, true, kSetTools},
};

wxItemKind ItemKind(MenuItemKind kind)
{
    switch (kind)
    {
    case MenuItemKind::Check:
        return wxITEM_CHECK;
    case MenuItemKind::Radio:
        return wxITEM_RADIO;
    case MenuItemKind::Normal:
    case MenuItemKind::Separator:
    case MenuItemKind::Submenu:
        break;
    }
    return wxITEM_NORMAL;
}

wxString ItemText(const MenuItemEntry& item)
{
    return Ui(item.submenu != nullptr ? item.submenu->title : item.text);
}

wxMenu* BuildMenu(const MenuEntry& entry)
{
    auto* menu = new wxMenu;
    for (const MenuItemEntry& item : entry.items)
    {
        if (item.kind == MenuItemKind::Separator)
            menu->AppendSeparator();
        else if (item.kind == MenuItemKind::Submenu)
            menu->Append(item.id, ItemText(item), BuildMenu(*item.submenu));
        else
            menu->Append(item.id, ItemText(item), CommandTable::PromptOf(item.id),
                         ItemKind(item.kind));
        if (item.greyed)
            menu->Enable(item.id, false);
    }
    return menu;
}

void TranslateMenu(wxMenu& menu, const MenuEntry& entry)
{
    for (const MenuItemEntry& item : entry.items)
    {
        // The recent files' place shows file names, which the recent-file list itself keeps.
        if (item.kind == MenuItemKind::Separator || item.id == ID_FILE_MRU_FIRST)
            continue;
        wxMenuItem* shown = menu.FindChildItem(item.id);
        if (shown == nullptr)
            continue;
        shown->SetItemLabel(ItemText(item));
        shown->SetHelp(CommandTable::PromptOf(item.id));
        if (item.submenu != nullptr)
            TranslateMenu(*shown->GetSubMenu(), *item.submenu);
    }
}

bool IsRangeCommand(int id)
{
    return (id >= ID_PALETTE_0 && id <= ID_PALETTE_9) || (id >= ID_SET_0 && id <= ID_SET_9);
}
} // namespace

namespace CommandTable
{
std::span<const CommandInfo> Commands()
{
    return kCommands;
}

const CommandInfo* Find(int id)
{
    for (const CommandInfo& info : kCommands)
    {
        if (id >= info.firstId && id <= info.lastId)
            return &info;
    }
    return nullptr;
}

wxString PromptOf(int id)
{
    const CommandInfo* info = Find(id);
    return info && info->prompt ? Ui(info->prompt) : wxString();
}

wxString TipOf(int id)
{
    const CommandInfo* info = Find(id);
    return info && info->tip ? Ui(info->tip) : wxString();
}

std::span<const MenuEntry> Menus()
{
    return kMenus;
}

std::span<const ToolBarLayout> ToolBars()
{
    return kToolBars;
}

wxMenuBar* BuildMenuBar()
{
    auto* bar = new wxMenuBar;
    for (const MenuEntry& menuEntry : kMenus)
        bar->Append(BuildMenu(menuEntry), Ui(menuEntry.title));
    return bar;
}

void TranslateMenuBar(wxMenuBar* bar)
{
    for (std::size_t i = 0; i < kMenus.size(); ++i)
    {
        bar->SetMenuLabel(i, Ui(kMenus[i].title));
        TranslateMenu(*bar->GetMenu(i), kMenus[i]);
    }
}

void TranslateToolBar(wxAuiToolBar* bar)
{
    for (std::size_t i = 0; i < bar->GetToolCount(); ++i)
    {
        wxAuiToolBarItem* tool = bar->FindToolByIndex(static_cast<int>(i));
        if (tool->GetKind() == wxITEM_SEPARATOR)
            continue;
        tool->SetShortHelp(TipOf(tool->GetId()));
        tool->SetLongHelp(PromptOf(tool->GetId()));
    }
}

wxAcceleratorTable BuildAccelerators()
{
    std::vector<wxAcceleratorEntry> entries;
    for (const AcceleratorEntry& key : kAccelerators)
        entries.emplace_back(key.flags, key.keyCode, key.id);
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

wxAuiToolBar* BuildToolBar(wxWindow* parent, const ToolBarLayout& layout)
{
    auto* bar = new wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER);
    bar->SetName(layout.paneName);
    bar->SetToolBitmapSize(wxSize(kToolImageWidth, layout.imageHeight));
    for (const ToolButton& tool : layout.tools)
    {
        if (tool.id == 0)
        {
            bar->AddSeparator();
            continue;
        }
        const wxBitmap image = DrawToolImage(tool.image, tool.digit, layout.imageHeight);
        // The digit buttons show the current set or palette group pressed in.
        const wxItemKind kind = IsRangeCommand(tool.id) ? wxITEM_CHECK : wxITEM_NORMAL;
        bar->AddTool(tool.id, wxString(), image, wxBitmap(), kind, TipOf(tool.id),
                     PromptOf(tool.id), nullptr);
    }
    bar->Realize();
    return bar;
}
} // namespace CommandTable
