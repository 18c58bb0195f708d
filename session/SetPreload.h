#pragma once

#include "session/LoadedSet.h"

#include <optional>
#include <string>
#include <thread>

/// Opens and loads the set named on the command line on a thread of its own, while the
/// window system starts. Only a set that opens without asking anything is loaded ahead: a
/// configuration file, an archive holding one configuration, or "ARCHIVE|MEMBER". Whatever
/// else happens (a choice, a failure, another path) is left to the ordinary open, which then
/// asks or explains as always. ZIP member names follow the C library's locale, so nothing may
/// change it while the thread runs; the viewer never does.
class SetPreload
{
public:
    explicit SetPreload(std::string path);
    /// Waits for the thread.
    ~SetPreload();
    SetPreload(const SetPreload&) = delete;
    SetPreload& operator=(const SetPreload&) = delete;

    /// The loaded set when path is the one given and it opened; waits for the thread. Once
    /// only: later calls give nothing.
    std::optional<LoadedSet> Take(const std::string& path);

private:
    void Load();

    std::string m_path;
    std::optional<LoadedSet> m_set;
    std::thread m_thread;
};
