#pragma once

#include "config/Problem.h"

#include <cstdint>
#include <vector>

/// Every message of the current set, oldest first, without the limit of the load box. Each
/// change bumps the revision, so a window that lists the log knows when to read it again.
class MessageLog
{
public:
    MessageLog() = default;
    MessageLog(MessageLog&& other) noexcept = default;
    /// Takes other's messages as a change of this log: the revision still rises, so that a
    /// window listing this log reads it again.
    MessageLog& operator=(MessageLog&& other) noexcept;

    void Add(Problem problem);
    void Clear();

    const std::vector<Problem>& Entries() const { return m_entries; }
    std::uint64_t Revision() const { return m_revision; }

private:
    std::vector<Problem> m_entries;
    std::uint64_t m_revision = 0;
};
