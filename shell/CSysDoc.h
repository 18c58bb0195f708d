#pragma once

#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <wx/docview.h>

class wxCommandEvent;
class wxUpdateUIEvent;

/// The update code that travels with UpdateAllViews.
class CSysUpdateHint : public wxObject
{
public:
    explicit CSysUpdateHint(int hint) : m_nHint(hint) {}
    int m_nHint;
};

/// The one document: owns the screen buffer and the scene. One object serves the whole run;
/// New, Open and Reload replace its contents.
class CSysDoc : public wxDocument
{
    wxDECLARE_DYNAMIC_CLASS(CSysDoc);

public:
    CSysDoc();
    ~CSysDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveDocument(const wxString& path) override;
    bool DeleteContents() override;
    /// Never modified, so nothing ever asks whether to save.
    bool IsModified() const override { return false; }
    void Modify(bool) override {}

    ScreenBuffer& Screen() { return m_screen; }
    Scene& GetScene() { return m_scene; }

    /// Where load, open and save messages go. Used by tests.
    void SetMessageSink(MessageSink* sink);
    MessageSink* GetMessageSink() const { return m_pSink; }

    /// Hands the scene to the screen buffer, then tells the views.
    void RefreshScreen(bool handColours, bool resize, int hint);
    void UpdateAllViewsWithHint(int hint);

    /// Save writes over the document's own file only when that file exists and may be written.
    static bool NeedsNewName(const wxString& path);
    /// Saves to path; a failure is shown with its reason.
    bool SaveTo(const wxString& path);

private:
    void OnSetN(wxCommandEvent& event);
    void OnNextSet(wxCommandEvent& event);
    void OnPrevSet(wxCommandEvent& event);
    void OnPaletteN(wxCommandEvent& event);
    void OnNextPalette(wxCommandEvent& event);
    void OnPrevPalette(wxCommandEvent& event);
    void On256Colour(wxCommandEvent& event);
    void OnFullColour(wxCommandEvent& event);
    void OnRestore(wxCommandEvent& event);
    void OnReload(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);

    void OnUpdateSetN(wxUpdateUIEvent& event);
    void OnUpdatePaletteN(wxUpdateUIEvent& event);
    void OnUpdate256Colour(wxUpdateUIEvent& event);
    void OnUpdateFullColour(wxUpdateUIEvent& event);
    void OnUpdateNeedsConfig(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);

    void AfterSelection();
    bool SaveAs();

    ScreenBuffer m_screen;
    Scene m_scene;
    MessageSink* m_pSink;

    wxDECLARE_EVENT_TABLE();
};
