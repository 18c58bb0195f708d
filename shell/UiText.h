#pragma once

#include <wx/string.h>
#include <wx/translation.h>

// The program's own texts, as UTF-8 literals. C++20 makes u8"" literals char8_t, which wx does
// not take, so they stay plain literals and go through Ui(). The Japanese ones are the msgids of
// the message catalog: wxTRANSLATE marks them for extraction where they are defined.
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

constexpr const char* kAllFilesFilterName = wxTRANSLATE("すべてのﾌｧｲﾙ (*.*)");
constexpr const char* kArchiveFilterName = wxTRANSLATE("LZH/ZIP 書庫 (*.LZH;*.LHA;*.ZIP)");
constexpr const char* kAddOnTitle = wxTRANSLATE("追加セットを開く");
constexpr const char* kOpenTitle = wxTRANSLATE("開く");
constexpr const char* kSaveAsTitle = wxTRANSLATE("名前を付けて保存");

// Status panes: each is as wide as this text, which it also shows until the first idle update.
constexpr const char* kPaneSetSample = "Set 0";
constexpr const char* kPanePaletteSample = "Pal 0";
constexpr const char* kPanePointSample = "999,999";
constexpr const char* kPaneObjectSample = "#999";
constexpr const char* kPaneCatchSample = "Catch";
constexpr const char* kPaneZoomSample = "×4";

// The messages list.
constexpr const char* kMessagesCaption = wxTRANSLATE("メッセージ一覧");
constexpr const char* kMessagesFileColumn = wxTRANSLATE("ファイル");
constexpr const char* kMessagesLineColumn = wxTRANSLATE("行");
constexpr const char* kMessagesTextColumn = wxTRANSLATE("メッセージ");
constexpr const char* kMessagesCopy = wxTRANSLATE("コピー(&C)");
constexpr const char* kMessagesClose = wxTRANSLATE("閉じる");

// About box.
constexpr const char* kAboutCaption = wxTRANSLATE("ﾊﾞｰｼﾞｮﾝ情報(Sys)");
constexpr const char* kAboutVersion = "Velquin Version 0.01";
constexpr const char* kAboutCopyright = "Copyright (C) 2026 Velquin";
constexpr const char* kAboutNotice =
    wxTRANSLATE("開発途中の版です。機能と表示は変わることがあります。");
constexpr const char* kOk = "OK";

// Why a file could not be opened; %1 is the path as given.
constexpr const char* kOpenNoError = wxTRANSLATE("ｴﾗｰはありません。");
constexpr const char* kOpenGeneric = wxTRANSLATE("%1 へのｱｸｾｽ中に予期しないｴﾗｰが発生しました。");
constexpr const char* kOpenNotFound = wxTRANSLATE("%1 が見つかりません。");
constexpr const char* kOpenBadPath = wxTRANSLATE("%1 は無効なﾊﾟｽです。");
constexpr const char* kOpenTooManyFiles =
    wxTRANSLATE("開いているﾌｧｲﾙが多すぎるため %1 を開けませんでした。");
constexpr const char* kOpenAccessDenied = wxTRANSLATE("%1 へのｱｸｾｽは拒否されました。");
constexpr const char* kOpenInvalidFile =
    wxTRANSLATE("%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられています。");
constexpr const char* kOpenRemoveCurrentDir = wxTRANSLATE("ｶﾚﾝﾄ ﾃﾞｨﾚｸﾄﾘ %1 は削除できません。");
constexpr const char* kOpenDirectoryFull =
    wxTRANSLATE("%1 を作成できません。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。 ");
constexpr const char* kOpenBadSeek = wxTRANSLATE("%1 のｼｰｸに失敗しました");
constexpr const char* kOpenHardIo = wxTRANSLATE("%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。");
constexpr const char* kOpenSharingViolation =
    wxTRANSLATE("%1 へのｱｸｾｽ中に共有違反が発生しました。");
constexpr const char* kOpenLockViolation = wxTRANSLATE("%1 へのｱｸｾｽ中にﾛｯｷﾝｸﾞ違反が発生しました。");
constexpr const char* kOpenDiskFull = wxTRANSLATE("%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
constexpr const char* kOpenEndOfFile = wxTRANSLATE("%1 のﾌｧｲﾙの終わりです。");

// Sets in archives; %1 is the archive's path, %2 a reason or a member's name.
constexpr const char* kChooseConfigTitle = wxTRANSLATE("設定ファイルの選択");
constexpr const char* kChooseConfigPrompt =
    wxTRANSLATE("%1 には設定ファイルが複数あります。開くものを選んでください。");
constexpr const char* kArchiveUnreadable = wxTRANSLATE("書庫 %1 を読めません。(%2)");
constexpr const char* kArchiveNoConfig =
    wxTRANSLATE("書庫 %1 には設定ファイル (.CNF) がありません。");
constexpr const char* kArchiveNoMember = wxTRANSLATE("書庫 %1 に %2 が見つかりません。");
constexpr const char* kArchiveNotAnArchive = wxTRANSLATE("LZH でも ZIP でもありません");
constexpr const char* kArchiveCorrupt = wxTRANSLATE("書庫が壊れています");
constexpr const char* kArchiveTooLarge =
    wxTRANSLATE("展開すると 1 GiB を超えるか、256 MiB を超えるﾌｧｲﾙがあります");
constexpr const char* kSaveOverArchive =
    wxTRANSLATE("書庫 %1 には保存できません。別の名前を選んでください。");
} // namespace UiText

/// The text in the interface's current language: the catalog's translation, or the text itself
/// when the language is the original or the catalog has no entry for it.
inline wxString Ui(const char* utf8)
{
    return wxGetTranslation(wxString::FromUTF8(utf8));
}

/// Ui() for the texts that the core's problems are worded in.
inline std::string UiTranslate(const char* msgid)
{
    return Ui(msgid).utf8_string();
}
