#include "fkiss/FkissLineReader.h"

#include "config/AsciiCase.h"

#include <charconv>

namespace
{

constexpr std::size_t kMaxNameLength = 32;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

FkissLineReader::FkissLineReader(std::string_view text, int line, const std::string& file,
                                 std::vector<FkissDiagnostic>& diagnostics)
    : m_text(text), m_line(line), m_file(file), m_diagnostics(diagnostics)
{
}

std::optional<FkissLineReader::Command> FkissLineReader::Next()
{
    SkipSpaces();
    if (AtEnd() || Peek() == ';')
        return std::nullopt;
    if (!IsLetter(Peek()))
        return Fail(ProblemKind::FkissUnexpectedCharacter, {std::string(1, Peek())});
    Command command;
    command.name = LowerAscii(TakeWord());
    SkipSpaces();
    if (AtEnd() || Peek() != '(')
    {
        // EventHandler and a few bare commands are written without brackets.
        return command;
    }
    ++m_pos;
    while (true)
    {
        SkipSpaces();
        if (AtEnd())
        {
            Fail(ProblemKind::FkissMissingParenthesis, {command.name});
            command.broken = true;
            return command;
        }
        if (Peek() == ')')
        {
            ++m_pos;
            return command;
        }
        if (Peek() == ',')
        {
            ++m_pos;
            continue;
        }
        auto arg = ReadArg(command.name);
        if (!arg)
        {
            command.broken = true;
            return command;
        }
        command.args.push_back(std::move(*arg));
    }
}

void FkissLineReader::SkipSpaces()
{
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r'))
        ++m_pos;
}

std::string_view FkissLineReader::TakeWord()
{
    const std::size_t start = m_pos;
    while (!AtEnd() && (IsLetter(Peek()) || IsDigit(Peek())))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

std::nullopt_t FkissLineReader::Fail(ProblemKind kind, std::vector<std::string> args)
{
    m_diagnostics.push_back(FkissDiagnostic{kind, m_file, m_line, std::move(args)});
    m_pos = m_text.size();
    return std::nullopt;
}

/// An argument that cannot be read spoils its command only: the line goes on after the
/// command's ')'.
std::nullopt_t FkissLineReader::FailArgument(ProblemKind kind, std::vector<std::string> args)
{
    m_diagnostics.push_back(FkissDiagnostic{kind, m_file, m_line, std::move(args)});
    const std::size_t close = m_text.find(')', m_pos);
    m_pos = close == std::string_view::npos ? m_text.size() : close + 1;
    return std::nullopt;
}

std::optional<std::int32_t> FkissLineReader::ReadInteger(const std::string& command)
{
    const bool negative = !AtEnd() && Peek() == '-';
    if (negative || (!AtEnd() && Peek() == '+'))
        ++m_pos;
    const std::size_t start = m_pos;
    while (!AtEnd() && IsDigit(Peek()))
        ++m_pos;
    const std::string_view digits = m_text.substr(start, m_pos - start);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    if (digits.empty() || error != std::errc() || value > limit)
    {
        FailArgument(ProblemKind::FkissBadNumber, {command});
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? std::int64_t{0} - static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
}

std::optional<FkissArg> FkissLineReader::ReadArg(const std::string& command)
{
    FkissArg arg;
    const char c = Peek();
    if (c == '"')
    {
        const std::size_t close = m_text.find('"', m_pos + 1);
        if (close == std::string_view::npos)
            return Fail(ProblemKind::FkissUnterminatedString, {command});
        arg.kind = FkissArg::Kind::Cel;
        arg.text = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
        m_pos = close + 1;
        return arg;
    }
    if (c == '#')
    {
        ++m_pos;
        SkipSpaces();
        const auto number = ReadInteger(command);
        if (!number)
            return std::nullopt;
        arg.kind = FkissArg::Kind::Object;
        arg.number = *number;
        return arg;
    }
    if (c == '!' || IsLetter(c))
    {
        if (c == '!')
            ++m_pos;
        const std::string_view word = TakeWord();
        if (word.empty() || word.size() > kMaxNameLength || !IsLetter(word.front()))
            return FailArgument(ProblemKind::FkissBadName, {command});
        arg.kind = c == '!' ? FkissArg::Kind::Group : FkissArg::Kind::Variable;
        arg.text = LowerAscii(word);
        return arg;
    }
    if (c == '-' || c == '+' || IsDigit(c))
    {
        const auto number = ReadInteger(command);
        if (!number)
            return std::nullopt;
        arg.number = *number;
        return arg;
    }
    if (c == '*')
    {
        ++m_pos;
        arg.kind = FkissArg::Kind::Any;
        return arg;
    }
    return FailArgument(ProblemKind::FkissUnexpectedArgumentCharacter, {command, std::string(1, c)});
}
