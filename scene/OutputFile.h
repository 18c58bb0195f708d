#pragma once

#include <array>
#include <ostream>
#include <streambuf>
#include <string>

/// A file that appears under its name only once it is complete: the bytes go to a new file of
/// an unpredictable name in the same folder (created exclusively, so a link planted there is
/// never followed), which `Commit` flushes to disk and renames over the name. Until then, and
/// whenever a step fails, a file already under that name is left as it was, and the temporary
/// file is removed. A symbolic link at the name has its target replaced; a replaced file keeps
/// its permissions and, where allowed, its owner. Every writer of whole files goes through
/// this: the configuration, the INI file, the PNG export and Tarnel's cels.
class OutputFile
{
public:
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /// Creates the temporary file. Returns 0, or the errno of the failure (EISDIR when the name
    /// is a folder).
    int Open();
    /// Where the bytes go after a successful `Open`.
    std::ostream& Stream() { return m_stream; }
    /// Writes out what is buffered, syncs, closes and renames. Returns 0, or the errno of the
    /// first step that failed, including a failed write through `Stream`.
    int Commit();

private:
    /// Buffers bytes for a file descriptor and keeps the errno of the first failed write.
    class Buffer : public std::streambuf
    {
    public:
        Buffer();
        void Attach(int fd) { m_fd = fd; }
        int Error() const { return m_error; }

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        bool Drain();

        std::array<char, 64 * 1024> m_bytes{};
        int m_fd = -1;
        int m_error = 0;
    };

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    Buffer m_buffer;
    std::ostream m_stream;
};
