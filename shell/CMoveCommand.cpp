#include "shell/CMoveCommand.h"

#include "shell/CSysDoc.h"

#include <utility>

CMoveCommand::CMoveCommand(CSysDoc& doc, MoveStep step)
    : wxCommand(true), m_doc(doc), m_step(std::move(step))
{
}

bool CMoveCommand::Do()
{
    m_doc.ApplyMoveStep(m_step, StepDirection::Redo);
    return true;
}

bool CMoveCommand::Undo()
{
    m_doc.ApplyMoveStep(m_step, StepDirection::Undo);
    return true;
}
