#pragma once

#include <wx/string.h>

/// The viewer's switches kept in the "[Settings]" section of the INI file beside the recent
/// files, as "Name=1" or "Name=0".
namespace ViewSettings
{
/// The switch's value, or fallback when the file or the entry is missing or unreadable.
bool ReadFlag(const wxString& iniPath, const char* name, bool fallback);
/// Writes the switch, keeping every other line of the file.
void WriteFlag(const wxString& iniPath, const char* name, bool value);
} // namespace ViewSettings
