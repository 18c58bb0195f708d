#include "fkiss/AlarmQueue.h"

#include <algorithm>

void AlarmQueue::Set(const std::string& alarm, std::int64_t due)
{
    Cancel(alarm);
    const std::uint64_t sequence = m_sequence++;
    (m_holding ? m_held : m_ready).emplace(due, sequence, alarm);
    m_byAlarm.emplace(alarm, Pending{due, sequence, m_holding});
}

void AlarmQueue::Cancel(const std::string& alarm)
{
    const auto found = m_byAlarm.find(alarm);
    if (found == m_byAlarm.end())
        return;
    const Pending& pending = found->second;
    (pending.held ? m_held : m_ready).erase(Entry{pending.due, pending.sequence, alarm});
    m_byAlarm.erase(found);
}

void AlarmQueue::Clear()
{
    m_ready.clear();
    m_held.clear();
    m_byAlarm.clear();
}

void AlarmQueue::Release()
{
    m_holding = false;
    for (const Entry& entry : m_held)
        m_byAlarm.at(std::get<2>(entry)).held = false;
    m_ready.merge(m_held);
}

std::optional<AlarmQueue::Due> AlarmQueue::PopDue(std::int64_t time)
{
    if (m_ready.empty() || std::get<0>(*m_ready.begin()) > time)
        return std::nullopt;
    auto node = m_ready.extract(m_ready.begin());
    Due due{std::get<0>(node.value()), std::move(std::get<2>(node.value()))};
    m_byAlarm.erase(due.alarm);
    return due;
}

std::optional<std::int64_t> AlarmQueue::NextDue() const
{
    std::optional<std::int64_t> next;
    for (const std::set<Entry>* entries : {&m_ready, &m_held})
    {
        if (!entries->empty())
            next = std::min(next.value_or(std::get<0>(*entries->begin())),
                            std::get<0>(*entries->begin()));
    }
    return next;
}

std::optional<std::int64_t> AlarmQueue::DueOf(const std::string& alarm) const
{
    const auto found = m_byAlarm.find(alarm);
    if (found == m_byAlarm.end())
        return std::nullopt;
    return found->second.due;
}
