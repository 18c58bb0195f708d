#pragma once

#include <wx/string.h>

// The program's own texts, as UTF-8 literals. C++20 makes u8"" literals char8_t, which wx does
// not take, so they stay plain literals and go through Ui().
namespace UiText
{
constexpr const char* kAppName = "Velquin";
constexpr const char* kUntitled = "Untitled";
constexpr const char* kReady = "Ready.";

// The document template's seven fields.
constexpr const char* kTemplateFilterName = "KISS Files (*.CNF)";
constexpr const char* kTemplateExtension = ".CNF";
constexpr const char* kTemplateNewTypeName = "Velquin";
constexpr const char* kTemplateFileTypeId = "KISS.CNF";
constexpr const char* kTemplateFileTypeName = "KISS Config File";

constexpr const char* kAllFilesFilterName = "すべてのﾌｧｲﾙ (*.*)";
constexpr const char* kArchiveFilterName = "LZH/ZIP 書庫 (*.LZH;*.LHA;*.ZIP)";
constexpr const char* kAddOnTitle = "追加セットを開く";
constexpr const char* kOpenTitle = "開く";
constexpr const char* kSaveAsTitle = "名前を付けて保存";

// Status panes: each is as wide as this text, which it also shows until the first idle update.
constexpr const char* kPaneSetSample = "Set 0";
constexpr const char* kPanePaletteSample = "Pal 0";
constexpr const char* kPanePointSample = "999,999";
constexpr const char* kPaneObjectSample = "#999";
constexpr const char* kPaneCatchSample = "Catch";
constexpr const char* kPaneZoomSample = "×4";

// The messages list.
constexpr const char* kMessagesCaption = "メッセージ一覧";
constexpr const char* kMessagesFileColumn = "ファイル";
constexpr const char* kMessagesLineColumn = "行";
constexpr const char* kMessagesTextColumn = "メッセージ";
constexpr const char* kMessagesCopy = "コピー(&C)";
constexpr const char* kMessagesClose = "閉じる";

// About box.
constexpr const char* kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報(Sys)";
constexpr const char* kAboutVersion = "Velquin Version 0.01";
constexpr const char* kAboutCopyright = "Copyright (C) 2026 Velquin";
constexpr const char* kAboutNotice = "開発途中の版です。機能と表示は変わることがあります。";
constexpr const char* kOk = "OK";

// Why a file could not be opened; %1 is the path as given.
constexpr const char* kOpenNoError = "ｴﾗｰはありません。";
constexpr const char* kOpenGeneric = "%1 へのｱｸｾｽ中に予期しないｴﾗｰが発生しました。";
constexpr const char* kOpenNotFound = "%1 が見つかりません。";
constexpr const char* kOpenBadPath = "%1 は無効なﾊﾟｽです。";
constexpr const char* kOpenTooManyFiles = "開いているﾌｧｲﾙが多すぎるため %1 を開けませんでした。";
constexpr const char* kOpenAccessDenied = "%1 へのｱｸｾｽは拒否されました。";
constexpr const char* kOpenInvalidFile = "%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられています。";
constexpr const char* kOpenRemoveCurrentDir = "ｶﾚﾝﾄ ﾃﾞｨﾚｸﾄﾘ %1 は削除できません。";
constexpr const char* kOpenDirectoryFull = "%1 を作成できません。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。 ";
constexpr const char* kOpenBadSeek = "%1 のｼｰｸに失敗しました";
constexpr const char* kOpenHardIo = "%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。";
constexpr const char* kOpenSharingViolation = "%1 へのｱｸｾｽ中に共有違反が発生しました。";
constexpr const char* kOpenLockViolation = "%1 へのｱｸｾｽ中にﾛｯｷﾝｸﾞ違反が発生しました。";
constexpr const char* kOpenDiskFull = "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。";
constexpr const char* kOpenEndOfFile = "%1 のﾌｧｲﾙの終わりです。";

// The play field is larger than a window can show; %1 the size asked for, %2 the size used.
constexpr const char* kPlayFieldClamped = "画面の大きさ (%1) は表示できないため (%2) にしました。";

// Sets in archives; %1 is the archive's path, %2 a reason or a member's name.
constexpr const char* kChooseConfigTitle = "設定ファイルの選択";
constexpr const char* kChooseConfigPrompt = "%1 には設定ファイルが複数あります。開くものを選んでください。";
constexpr const char* kArchiveUnreadable = "書庫 %1 を読めません。(%2)";
constexpr const char* kArchiveNoConfig = "書庫 %1 には設定ファイル (.CNF) がありません。";
constexpr const char* kArchiveNoMember = "書庫 %1 に %2 が見つかりません。";
constexpr const char* kArchiveNotAnArchive = "LZH でも ZIP でもありません";
constexpr const char* kArchiveCorrupt = "書庫が壊れています";
constexpr const char* kArchiveTooLarge = "展開すると 1 GiB を超えるか、256 MiB を超えるﾌｧｲﾙがあります";
constexpr const char* kSaveOverArchive = "書庫 %1 には保存できません。別の名前を選んでください。";
constexpr const char* kMemberRefused = "書庫の中の %2 は安全でない名前のため書き出しませんでした。";
constexpr const char* kMemberWriteFailed = "ﾌｧｲﾙ %2 を書き込めません。(%1)";
} // namespace UiText

inline wxString Ui(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}
