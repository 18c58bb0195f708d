#pragma once

#include <wx/string.h>

#include <string>

/// The framework's open step: whether the file can be opened for reading. Returns 0 or the
/// errno of the failure; a folder counts as EISDIR,
/// any other file that is not a regular file as EACCES.
int CheckReadable(const std::string& path);

/// The message for a failed open, with %1 replaced by the path as it was given.
wxString OpenFailureMessage(int error, const wxString& path);
