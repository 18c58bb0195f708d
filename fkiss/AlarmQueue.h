#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

/// The pending timers of a set: at most one per alarm, due in order of time and then of
/// setting. Every operation costs the logarithm of the number pending, so thousands of timers
/// stay cheap.
class AlarmQueue
{
public:
    /// Sets or replaces the alarm's timer.
    void Set(const std::string& alarm, std::int64_t due);
    void Cancel(const std::string& alarm);
    void Clear();

    /// While held, newly set timers wait aside until Release: a timer set by an alarm never
    /// fires within the same pass.
    void Hold() { m_holding = true; }
    void Release();

    struct Due
    {
        std::int64_t time;
        std::string alarm;
    };
    /// Takes the first timer due at or before time (held ones excepted).
    std::optional<Due> PopDue(std::int64_t time);
    /// When the next timer is due (held ones included).
    std::optional<std::int64_t> NextDue() const;
    std::optional<std::int64_t> DueOf(const std::string& alarm) const;
    bool IsEmpty() const { return m_byAlarm.empty(); }
    std::size_t Size() const { return m_byAlarm.size(); }

private:
    using Entry = std::tuple<std::int64_t, std::uint64_t, std::string>;
    struct Pending
    {
        std::int64_t due;
        std::uint64_t sequence;
        bool held;
    };

    std::set<Entry> m_ready;
    std::set<Entry> m_held;
    std::unordered_map<std::string, Pending> m_byAlarm;
    std::uint64_t m_sequence = 0;
    bool m_holding = false;
};
