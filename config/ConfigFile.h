#pragma once

#include "config/CelLine.h"
#include "config/ConfigRecord.h"
#include "config/SetLine.h"
#include "config/SimpleLines.h"

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

/// A parsed configuration file: every line as a record in file order, plus typed lists that
/// point into the records.
class ConfigFile
{
public:
    /// Parses the bytes of a whole file (CR before LF dropped, 0x1A ends the input).
    explicit ConfigFile(std::string_view bytes);
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    /// Reads and parses the file; null when it cannot be opened or read.
    static std::unique_ptr<ConfigFile> FromPath(const std::string& path);

    const std::vector<std::unique_ptr<ConfigRecord>>& Records() const { return m_records; }
    /// The "#" lines in reverse file order: the last line of the file first.
    const std::vector<CelLine*>& CelLines() const { return m_celLines; }
    const std::vector<PaletteLine*>& PaletteLines() const { return m_paletteLines; }
    /// The "$" lines in file order; the n-th holds set n.
    const std::vector<SetLine*>& SetLines() const { return m_setLines; }
    const WindowSizeLine* WindowSize() const { return m_windowSize; }
    const BorderLine* Border() const { return m_border; }

    /// Copies the n-th given line into the n-th "$" record (appending records for the rest)
    /// and marks each modified.
    void MergeSetLines(const std::vector<std::unique_ptr<SetLine>>& sets);
    /// Writes every record in file order, each line ending in CR LF.
    void WriteAll(std::ostream& out) const;

private:
    /// joins: where continuation lines were joined to a "$" line (see SetLine).
    void AddLine(std::string line, std::vector<std::size_t> joins = {});

    std::vector<std::unique_ptr<ConfigRecord>> m_records;
    std::vector<CelLine*> m_celLines;
    std::vector<PaletteLine*> m_paletteLines;
    std::vector<SetLine*> m_setLines;
    const WindowSizeLine* m_windowSize = nullptr;
    const BorderLine* m_border = nullptr;
};
