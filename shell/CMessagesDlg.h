#pragma once

#include <wx/dialog.h>

#include <cstdint>
#include <functional>

class MessageLog;
class wxListCtrl;

/// The messages list: every message of the current set with its file and line, newest last.
/// Modeless; closing only hides it. It follows the log on its own at idle time.
class CMessagesDlg : public wxDialog
{
public:
    /// log gives the current document's log, or null when there is none.
    CMessagesDlg(wxWindow* parent, std::function<const MessageLog*()> log);

    /// Fills the list again when the log changed since the last time.
    void UpdateList(bool always = false);
    /// The selected rows (all rows when none is selected) as text, one line each.
    wxString SelectionText() const;
    /// Puts SelectionText on the clipboard.
    void CopyToClipboard();

    wxListCtrl* List() const { return m_pList; }

private:
    void OnIdle(wxIdleEvent& event);
    void OnCopy(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    std::function<const MessageLog*()> m_log;
    wxListCtrl* m_pList = nullptr;
    const MessageLog* m_pShown = nullptr;
    std::uint64_t m_nRevision = 0;
};
