#include "shell/CPlayCommands.h"

#include "shell/CSysDoc.h"
#include "shell/CommandIds.h"

#include <wx/cmdproc.h>

wxBEGIN_EVENT_TABLE(CPlayCommands, wxEvtHandler)
    EVT_MENU_RANGE(ID_SET_0, ID_SET_9, CPlayCommands::OnSet)
    EVT_MENU(ID_NEXT_SET, CPlayCommands::OnSet)
    EVT_MENU(ID_PREV_SET, CPlayCommands::OnSet)
    EVT_MENU_RANGE(ID_PALETTE_0, ID_PALETTE_9, CPlayCommands::OnPalette)
    EVT_MENU(ID_NEXT_PALETTE, CPlayCommands::OnPalette)
    EVT_MENU(ID_PREV_PALETTE, CPlayCommands::OnPalette)
    EVT_MENU(ID_256_COLOUR, CPlayCommands::OnColourMode)
    EVT_MENU(ID_FULL_COLOUR, CPlayCommands::OnColourMode)
    EVT_MENU(ID_RESTORE, CPlayCommands::OnRestore)
    EVT_MENU(ID_EDIT_UNDO, CPlayCommands::OnHistory)
    EVT_MENU(ID_EDIT_REDO, CPlayCommands::OnHistory)
    EVT_UPDATE_UI_RANGE(ID_SET_0, ID_SET_9, CPlayCommands::OnUpdateSet)
    EVT_UPDATE_UI_RANGE(ID_PALETTE_0, ID_PALETTE_9, CPlayCommands::OnUpdatePalette)
    EVT_UPDATE_UI(ID_256_COLOUR, CPlayCommands::OnUpdateColourMode)
    EVT_UPDATE_UI(ID_FULL_COLOUR, CPlayCommands::OnUpdateColourMode)
    EVT_UPDATE_UI(ID_RESTORE, CPlayCommands::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_NEXT_SET, CPlayCommands::OnUpdateAlways)
    EVT_UPDATE_UI(ID_PREV_SET, CPlayCommands::OnUpdateAlways)
    EVT_UPDATE_UI(ID_NEXT_PALETTE, CPlayCommands::OnUpdateAlways)
    EVT_UPDATE_UI(ID_PREV_PALETTE, CPlayCommands::OnUpdateAlways)
    EVT_UPDATE_UI(ID_EDIT_UNDO, CPlayCommands::OnUpdateHistory)
    EVT_UPDATE_UI(ID_EDIT_REDO, CPlayCommands::OnUpdateHistory)
wxEND_EVENT_TABLE()

void CPlayCommands::OnSet(wxCommandEvent& event)
{
    const int id = event.GetId();
    SetSession& session = m_doc.Session();
    if (id == ID_NEXT_SET || id == ID_PREV_SET)
        m_doc.Apply(session.SelectSet(-1, id == ID_NEXT_SET ? 1 : -1));
    else
        m_doc.Apply(session.SelectSet(id - ID_SET_0, 0));
}

void CPlayCommands::OnPalette(wxCommandEvent& event)
{
    const int id = event.GetId();
    SetSession& session = m_doc.Session();
    if (id == ID_NEXT_PALETTE || id == ID_PREV_PALETTE)
        m_doc.Apply(session.SelectPaletteGroup(-1, id == ID_NEXT_PALETTE ? 1 : -1));
    else
        m_doc.Apply(session.SelectPaletteGroup(id - ID_PALETTE_0, 0));
}

void CPlayCommands::OnColourMode(wxCommandEvent& event)
{
    m_doc.Apply(m_doc.Session().SetColourMode(event.GetId() == ID_256_COLOUR ? 8 : 32));
}

void CPlayCommands::OnRestore(wxCommandEvent&)
{
    m_doc.Restore();
}

void CPlayCommands::OnHistory(wxCommandEvent& event)
{
    wxCommandProcessor* history = m_doc.GetCommandProcessor();
    if (m_doc.Session().IsDragging() || history == nullptr)
        return;
    if (event.GetId() == ID_EDIT_UNDO)
        history->Undo();
    else
        history->Redo();
}

void CPlayCommands::OnUpdateSet(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(event.GetId() - ID_SET_0 == m_doc.GetScene().CurrentSet());
}

void CPlayCommands::OnUpdatePalette(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(event.GetId() - ID_PALETTE_0 == m_doc.GetScene().CurrentPaletteGroup());
}

void CPlayCommands::OnUpdateColourMode(wxUpdateUIEvent& event)
{
    const int depth = m_doc.Screen().Depth();
    event.Enable(true);
    event.Check(event.GetId() == ID_256_COLOUR ? depth == 8 : depth == 32 || depth == 24);
}

void CPlayCommands::OnUpdateNeedsConfig(wxUpdateUIEvent& event)
{
    event.Enable(m_doc.GetScene().IsLoaded());
}

void CPlayCommands::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CPlayCommands::OnUpdateHistory(wxUpdateUIEvent& event)
{
    const wxCommandProcessor* history = m_doc.GetCommandProcessor();
    const bool can = history != nullptr &&
                     (event.GetId() == ID_EDIT_UNDO ? history->CanUndo() : history->CanRedo());
    event.Enable(!m_doc.Session().IsDragging() && can);
}
