#include "config/SimpleLines.h"

#include "config/LineScan.h"

PaletteLine::PaletteLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_fileName = scan.TakeFileName();
    SetCommentText(scan.TakeComment());
}

WindowSizeLine::WindowSizeLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_width = scan.FindNumber();
    m_height = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}

MemoryLine::MemoryLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_value = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}

BorderLine::BorderLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_colourIndex = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}
