#include "scene/MessageLog.h"

#include <algorithm>
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

MessageLog& MessageLog::operator=(MessageLog&& other) noexcept
{
    m_entries = std::move(other.m_entries);
    m_revision = std::max(m_revision, other.m_revision) + 1;
    return *this;
}
