#include "scene/MessageLog.h"

#include <utility>

void MessageLog::Add(Problem problem)
{
    m_entries.push_back(std::move(problem));
    ++m_revision;
}

void MessageLog::Clear()
{
    if (m_entries.empty())
        return;
    m_entries.clear();
    ++m_revision;
}
