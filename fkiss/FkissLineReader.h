#pragma once

#include "fkiss/FkissScript.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Reads the commands of one line of FKiSS text (after its ";@"), reporting what it cannot
/// read.
class FkissLineReader
{
public:
    FkissLineReader(std::string_view text, int line, const std::string& file,
                    std::vector<FkissDiagnostic>& diagnostics);

    struct Command
    {
        /// In lower case.
        std::string name;
        std::vector<FkissArg> args;
        /// Its arguments could not be read (reported already).
        bool broken = false;
    };

    /// The next command, or nothing at the end of the line (or after an error that spoils the
    /// rest of it, which is then reported). A command whose arguments cannot be read comes back
    /// broken; the line goes on after its ')'.
    std::optional<Command> Next();

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }
    void SkipSpaces();
    std::string_view TakeWord();
    std::nullopt_t Fail(ProblemKind kind, std::vector<std::string> args);
    std::nullopt_t FailArgument(ProblemKind kind, std::vector<std::string> args);
    std::optional<std::int32_t> ReadInteger(const std::string& command);
    std::optional<FkissArg> ReadArg(const std::string& command);

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line;
    const std::string& m_file;
    std::vector<FkissDiagnostic>& m_diagnostics;
};
