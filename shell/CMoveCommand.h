#pragma once

#include "scene/MoveSteps.h"

#include <wx/cmdproc.h>

class CSysDoc;

/// One undoable step in the document's command processor. The step has already happened when
/// it is stored, so Do is only ever called to redo it.
class CMoveCommand : public wxCommand
{
public:
    CMoveCommand(CSysDoc& doc, MoveStep step);

    bool Do() override;
    bool Undo() override;

private:
    CSysDoc& m_doc;
    MoveStep m_step;
};
