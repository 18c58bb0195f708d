#pragma once

#include "scene/FileSource.h"
#include "session/SetLayer.h"

#include <wx/string.h>

/// The message for a failed open (see CheckReadable), with %1 replaced by the path as it was given.
wxString OpenFailureMessage(int error, const wxString& path);

/// Why a path gave no set, in the words of the viewer; "" when there is nothing to say (the user
/// chose nothing).
wxString OpenOutcomeMessage(const OpenOutcome& outcome);
