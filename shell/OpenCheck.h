#pragma once

#include "scene/FileSource.h"

#include <wx/string.h>

/// The message for a failed open (see CheckReadable), with %1 replaced by the path as it was given.
wxString OpenFailureMessage(int error, const wxString& path);
