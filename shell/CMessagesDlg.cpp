#include "shell/CMessagesDlg.h"

#include "i18n/ProblemText.h"
#include "scene/MessageLog.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

namespace
{
enum Column : long
{
    kColumnFile = 0,
    kColumnLine = 1,
    kColumnText = 2,
};
} // namespace

CMessagesDlg::CMessagesDlg(wxWindow* parent, std::function<const MessageLog*()> log)
    : wxDialog(parent, wxID_ANY, Ui(UiText::kMessagesCaption), wxDefaultPosition,
               wxSize(640, 320), wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_log(std::move(log))
{
    m_pList = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                             wxLC_REPORT | wxBORDER_SUNKEN);
    m_pList->AppendColumn(Ui(UiText::kMessagesFileColumn), wxLIST_FORMAT_LEFT, 140);
    m_pList->AppendColumn(Ui(UiText::kMessagesLineColumn), wxLIST_FORMAT_RIGHT, 50);
    m_pList->AppendColumn(Ui(UiText::kMessagesTextColumn), wxLIST_FORMAT_LEFT, 420);

    auto* copy = new wxButton(this, wxID_COPY, Ui(UiText::kMessagesCopy));
    auto* close = new wxButton(this, wxID_CLOSE, Ui(UiText::kMessagesClose));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(copy, 0, wxRIGHT, 8);
    buttons->Add(close);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pList, 1, wxEXPAND | wxALL, 8);
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(sizer);
    SetEscapeId(wxID_CLOSE);

    Bind(wxEVT_IDLE, &CMessagesDlg::OnIdle, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMessagesDlg::OnClose, this);
    copy->Bind(wxEVT_BUTTON, &CMessagesDlg::OnCopy, this);
    close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); });
    m_pList->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
        if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'C')
            CopyToClipboard();
        else
            event.Skip();
    });
    UpdateList(true);
}

void CMessagesDlg::UpdateList(bool always)
{
    const MessageLog* log = m_log();
    if (!always && log == m_pShown && (log == nullptr || log->Revision() == m_nRevision))
        return;
    m_pShown = log;
    m_nRevision = log != nullptr ? log->Revision() : 0;
    m_pList->Freeze();
    m_pList->DeleteAllItems();
    if (log != nullptr)
    {
        long row = 0;
        for (const Problem& entry : log->Entries())
        {
            // File names are the set's bytes; the program's texts are worded in the current language.
            m_pList->InsertItem(row, DecodeCp932(entry.file));
            m_pList->SetItem(row, kColumnLine,
                             entry.line > 0 ? wxString::Format("%d", entry.line) : wxString());
            // A set's own text is in its code page; the program's words around names are UTF-8.
            m_pList->SetItem(row, kColumnText,
                             entry.kind == ProblemKind::ScriptText
                                 ? DecodeCp932(entry.args.front())
                                 : DecodeMessage(ProblemText(entry, UiTranslate)));
            ++row;
        }
        if (row > 0)
            m_pList->EnsureVisible(row - 1);
    }
    m_pList->Thaw();
}

wxString CMessagesDlg::SelectionText() const
{
    const bool all = m_pList->GetSelectedItemCount() == 0;
    wxString text;
    for (long row = 0; row < m_pList->GetItemCount(); ++row)
    {
        if (!all && m_pList->GetItemState(row, wxLIST_STATE_SELECTED) == 0)
            continue;
        const wxString file = m_pList->GetItemText(row, kColumnFile);
        const wxString line = m_pList->GetItemText(row, kColumnLine);
        if (!file.empty())
            text += file + (line.empty() ? wxString() : "(" + line + ")") + ": ";
        text += m_pList->GetItemText(row, kColumnText) + "\n";
    }
    return text;
}

void CMessagesDlg::CopyToClipboard()
{
    wxClipboardLocker lock;
    if (!lock)
        return;
    wxTheClipboard->SetData(new wxTextDataObject(SelectionText()));
    wxTheClipboard->Flush();
}

void CMessagesDlg::OnIdle(wxIdleEvent& event)
{
    if (IsShown())
        UpdateList();
    event.Skip();
}

void CMessagesDlg::OnCopy(wxCommandEvent&)
{
    CopyToClipboard();
}

void CMessagesDlg::OnClose(wxCloseEvent& event)
{
    // Kept for the next time it is asked for; the frame destroys it with itself.
    if (event.CanVeto())
        Hide();
    else
        event.Skip();
}
