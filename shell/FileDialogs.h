#pragma once

#include <wx/string.h>

class wxWindow;

/// "KISS Files (*.CNF)" matching the extension in any letter case, then all files.
wxString ConfigFileFilter();
/// The open dialog's filter: configuration files, LZH and ZIP archives (any case), all files.
wxString OpenFileFilter();
/// A name typed without an extension gets ".CNF".
wxString WithDefaultExtension(const wxString& path);

/// The "開く" dialog (or another title); empty when cancelled.
wxString AskOpenPath(wxWindow* parent, const wxString& title = wxString());
/// Save writes over the document's own file only when that file exists and may be written.
bool NeedsNewName(const wxString& path);
/// The "名前を付けて保存" dialog, starting at current; empty when cancelled.
wxString AskSavePath(wxWindow* parent, const wxString& current);
