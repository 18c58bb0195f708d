#pragma once

#include <wx/event.h>

class CSysDoc;
class wxUpdateUIEvent;

/// The menu commands that play the open set: its sets and palette groups, the colour modes,
/// Restore, and Undo and Redo of moves. Chained behind the document, so the framework routes
/// them to it as it routes the document's own.
class CPlayCommands : public wxEvtHandler
{
public:
    explicit CPlayCommands(CSysDoc& doc) : m_doc(doc) {}

private:
    void OnSet(wxCommandEvent& event);
    void OnPalette(wxCommandEvent& event);
    void OnColourMode(wxCommandEvent& event);
    void OnRestore(wxCommandEvent& event);
    void OnHistory(wxCommandEvent& event);
    void OnUpdateSet(wxUpdateUIEvent& event);
    void OnUpdatePalette(wxUpdateUIEvent& event);
    void OnUpdateColourMode(wxUpdateUIEvent& event);
    void OnUpdateNeedsConfig(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);
    void OnUpdateHistory(wxUpdateUIEvent& event);

    CSysDoc& m_doc;

    wxDECLARE_EVENT_TABLE();
};
