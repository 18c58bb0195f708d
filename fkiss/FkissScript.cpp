#include "fkiss/FkissScript.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace
{

/// How a command is written. Argument letters: n a number or variable, k an alarm or label
/// (number or name), o an object (#n, cel, group or variable), c a cel or group, v a variable,
/// s a string, a a number or * (any); arguments after '?' may be left out.
struct CommandInfo
{
    std::string_view name;
    FkissOp op;
    bool isEvent;
    std::string_view args;
};

constexpr std::array kCommands = {
    CommandInfo{"initialize", FkissOp::Initialize, true, ""},
    CommandInfo{"begin", FkissOp::Begin, true, ""},
    CommandInfo{"end", FkissOp::End, true, ""},
    CommandInfo{"alarm", FkissOp::Alarm, true, "k"},
    CommandInfo{"press", FkissOp::Press, true, "o"},
    CommandInfo{"release", FkissOp::Release, true, "o"},
    CommandInfo{"catch", FkissOp::Catch, true, "o"},
    CommandInfo{"drop", FkissOp::Drop, true, "o"},
    CommandInfo{"fixcatch", FkissOp::FixCatch, true, "o"},
    CommandInfo{"fixdrop", FkissOp::FixDrop, true, "o"},
    CommandInfo{"unfix", FkissOp::Unfix, true, "o"},
    CommandInfo{"set", FkissOp::Set, true, "a"},
    CommandInfo{"col", FkissOp::Col, true, "a"},
    CommandInfo{"never", FkissOp::Never, true, ""},
    CommandInfo{"in", FkissOp::In, true, "oo"},
    CommandInfo{"out", FkissOp::Out, true, "oo"},
    CommandInfo{"stillin", FkissOp::StillIn, true, "oo"},
    CommandInfo{"stillout", FkissOp::StillOut, true, "oo"},
    CommandInfo{"version", FkissOp::Version, true, "n"},
    CommandInfo{"collide", FkissOp::Collide, true, "cc"},
    CommandInfo{"apart", FkissOp::Apart, true, "cc"},
    CommandInfo{"label", FkissOp::Label, true, "k"},
    CommandInfo{"overflow", FkissOp::Overflow, true, ""},
    CommandInfo{"keypress", FkissOp::KeyPress, true, "s"},
    CommandInfo{"keyrelease", FkissOp::KeyRelease, true, "s"},
    CommandInfo{"mousein", FkissOp::MouseIn, true, "o"},
    CommandInfo{"mouseout", FkissOp::MouseOut, true, "o"},
    CommandInfo{"detached", FkissOp::Detached, true, "o"},

    CommandInfo{"map", FkissOp::Map, false, "o"},
    CommandInfo{"unmap", FkissOp::Unmap, false, "o"},
    CommandInfo{"altmap", FkissOp::AltMap, false, "o"},
    CommandInfo{"move", FkissOp::Move, false, "onn"},
    CommandInfo{"sound", FkissOp::Sound, false, "s"},
    CommandInfo{"timer", FkissOp::Timer, false, "kn"},
    CommandInfo{"randomtimer", FkissOp::RandomTimer, false, "knn"},
    CommandInfo{"changeset", FkissOp::ChangeSet, false, "n"},
    CommandInfo{"changecol", FkissOp::ChangeCol, false, "n"},
    CommandInfo{"nop", FkissOp::Nop, false, ""},
    CommandInfo{"quit", FkissOp::Quit, false, ""},
    CommandInfo{"debug", FkissOp::Debug, false, "s"},
    CommandInfo{"transparent", FkissOp::Transparent, false, "on"},
    CommandInfo{"viewport", FkissOp::Viewport, false, "nn"},
    CommandInfo{"windowsize", FkissOp::WindowSize, false, "nn"},
    CommandInfo{"moveto", FkissOp::MoveTo, false, "onn"},
    CommandInfo{"movebyx", FkissOp::MoveByX, false, "oon"},
    CommandInfo{"movebyy", FkissOp::MoveByY, false, "oon"},
    CommandInfo{"music", FkissOp::Music, false, "?s"},
    CommandInfo{"notify", FkissOp::Notify, false, "s"},
    CommandInfo{"nothing", FkissOp::Nop, false, ""},
    CommandInfo{"iffixed", FkissOp::IfFixed, false, "okn"},
    CommandInfo{"ifnotfixed", FkissOp::IfNotFixed, false, "okn"},
    CommandInfo{"ifmapped", FkissOp::IfMapped, false, "okn"},
    CommandInfo{"ifnotmapped", FkissOp::IfNotMapped, false, "okn"},
    CommandInfo{"ifmoved", FkissOp::IfMoved, false, "okn"},
    CommandInfo{"ifnotmoved", FkissOp::IfNotMoved, false, "okn"},
    CommandInfo{"moverandx", FkissOp::MoveRandX, false, "onn"},
    CommandInfo{"moverandy", FkissOp::MoveRandY, false, "onn"},
    CommandInfo{"movetorand", FkissOp::MoveToRand, false, "o"},
    CommandInfo{"setfix", FkissOp::SetFix, false, "on"},
    CommandInfo{"let", FkissOp::Let, false, "vn"},
    CommandInfo{"add", FkissOp::Add, false, "vnn"},
    CommandInfo{"sub", FkissOp::Sub, false, "vnn"},
    CommandInfo{"mul", FkissOp::Mul, false, "vnn"},
    CommandInfo{"div", FkissOp::Div, false, "vnn"},
    CommandInfo{"mod", FkissOp::Mod, false, "vnn"},
    CommandInfo{"random", FkissOp::Random, false, "vnn"},
    CommandInfo{"ifequal", FkissOp::IfEqual, false, "nn"},
    CommandInfo{"ifnotequal", FkissOp::IfNotEqual, false, "nn"},
    CommandInfo{"ifgreaterthan", FkissOp::IfGreaterThan, false, "nn"},
    CommandInfo{"iflessthan", FkissOp::IfLessThan, false, "nn"},
    CommandInfo{"else", FkissOp::Else, false, ""},
    CommandInfo{"endif", FkissOp::EndIf, false, ""},
    CommandInfo{"goto", FkissOp::Goto, false, "k"},
    CommandInfo{"gosub", FkissOp::Gosub, false, "k"},
    CommandInfo{"gotorandom", FkissOp::GotoRandom, false, "nkk"},
    CommandInfo{"gosubrandom", FkissOp::GosubRandom, false, "nkk"},
    CommandInfo{"exitevent", FkissOp::ExitEvent, false, ""},
    CommandInfo{"ghost", FkissOp::Ghost, false, "on"},
    CommandInfo{"letcatch", FkissOp::LetCatch, false, "v"},
    CommandInfo{"letcollide", FkissOp::LetCollide, false, "vcc"},
    CommandInfo{"letinside", FkissOp::LetInside, false, "voo"},
    CommandInfo{"letfix", FkissOp::LetFix, false, "vo"},
    CommandInfo{"letmapped", FkissOp::LetMapped, false, "vo"},
    CommandInfo{"letmousex", FkissOp::LetMouseX, false, "v"},
    CommandInfo{"letmousey", FkissOp::LetMouseY, false, "v"},
    CommandInfo{"letobjectx", FkissOp::LetObjectX, false, "vo"},
    CommandInfo{"letobjecty", FkissOp::LetObjectY, false, "vo"},
    CommandInfo{"letpal", FkissOp::LetPal, false, "v"},
    CommandInfo{"letset", FkissOp::LetSet, false, "v"},
    CommandInfo{"lettransparent", FkissOp::LetTransparent, false, "vo"},
    CommandInfo{"attach", FkissOp::Attach, false, "oo"},
    CommandInfo{"glue", FkissOp::Glue, false, "oo"},
    CommandInfo{"detach", FkissOp::Detach, false, "o"},
    CommandInfo{"letparent", FkissOp::LetParent, false, "vo"},
    CommandInfo{"letchild", FkissOp::LetChild, false, "vo"},
    CommandInfo{"letsibling", FkissOp::LetSibling, false, "vo"},
    CommandInfo{"letkey", FkissOp::LetKey, false, "v"},
    CommandInfo{"letkeymap", FkissOp::LetKeyMap, false, "vs"},
    CommandInfo{"elseifequal", FkissOp::ElseIfEqual, false, "nn"},
    CommandInfo{"elseifnotequal", FkissOp::ElseIfNotEqual, false, "nn"},
    CommandInfo{"elseifgreaterthan", FkissOp::ElseIfGreaterThan, false, "nn"},
    CommandInfo{"elseiflessthan", FkissOp::ElseIfLessThan, false, "nn"},
    CommandInfo{"restrictx", FkissOp::RestrictX, false, "onn"},
    CommandInfo{"restricty", FkissOp::RestrictY, false, "onn"},
    CommandInfo{"setframe", FkissOp::SetFrame, false, "cn"},
    CommandInfo{"letframe", FkissOp::LetFrame, false, "vc"},
    CommandInfo{"letwidth", FkissOp::LetWidth, false, "vo"},
    CommandInfo{"letheight", FkissOp::LetHeight, false, "vo"},
    CommandInfo{"letinitx", FkissOp::LetInitX, false, "vo"},
    CommandInfo{"letinity", FkissOp::LetInitY, false, "vo"},
    CommandInfo{"lettimer", FkissOp::LetTimer, false, "vk"},
};

constexpr std::size_t kMaxNameLength = 32;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const CommandInfo* FindCommand(std::string_view lowerName)
{
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const CommandInfo& c) { return c.name == lowerName; });
    return found == kCommands.end() ? nullptr : &*found;
}

bool IsIf(FkissOp op)
{
    switch (op)
    {
    case FkissOp::IfEqual:
    case FkissOp::IfNotEqual:
    case FkissOp::IfGreaterThan:
    case FkissOp::IfLessThan:
        return true;
    default:
        return false;
    }
}

bool IsElseIf(FkissOp op)
{
    switch (op)
    {
    case FkissOp::ElseIfEqual:
    case FkissOp::ElseIfNotEqual:
    case FkissOp::ElseIfGreaterThan:
    case FkissOp::ElseIfLessThan:
        return true;
    default:
        return false;
    }
}

/// Reads the commands of one line of FKiSS text.
class LineParser
{
public:
    LineParser(std::string_view text, int line, const std::string& file,
               std::vector<FkissDiagnostic>& diagnostics)
        : m_text(text), m_line(line), m_file(file), m_diagnostics(diagnostics)
    {
    }

    struct Command
    {
        std::string name;
        std::vector<FkissArg> args;
        /// Its arguments could not be read (reported already).
        bool broken = false;
    };

    /// The next command, or nothing at the end of the line (or after an error that spoils the
    /// rest of it, which is then reported). A command whose arguments cannot be read comes back
    /// broken; the line goes on after its ')'.
    std::optional<Command> Next()
    {
        SkipSpaces();
        if (AtEnd() || Peek() == ';')
            return std::nullopt;
        if (!IsLetter(Peek()))
            return Fail("unexpected character '" + std::string(1, Peek()) + "'");
        Command command;
        command.name = Lowered(TakeWord());
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
                Fail(command.name + ": missing ')'");
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

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }
    void SkipSpaces()
    {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r'))
            ++m_pos;
    }
    std::string_view TakeWord()
    {
        const std::size_t start = m_pos;
        while (!AtEnd() && (IsLetter(Peek()) || IsDigit(Peek())))
            ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    std::nullopt_t Fail(std::string text)
    {
        m_diagnostics.push_back(FkissDiagnostic{m_file, m_line, std::move(text)});
        m_pos = m_text.size();
        return std::nullopt;
    }

    /// An argument that cannot be read spoils its command only: the line goes on after the
    /// command's ')'.
    std::nullopt_t FailArgument(std::string text)
    {
        m_diagnostics.push_back(FkissDiagnostic{m_file, m_line, std::move(text)});
        const std::size_t close = m_text.find(')', m_pos);
        m_pos = close == std::string_view::npos ? m_text.size() : close + 1;
        return std::nullopt;
    }

    std::optional<std::int32_t> ReadInteger(const std::string& command)
    {
        const bool negative = !AtEnd() && Peek() == '-';
        if (negative || (!AtEnd() && Peek() == '+'))
            ++m_pos;
        const std::size_t start = m_pos;
        while (!AtEnd() && IsDigit(Peek()))
            ++m_pos;
        const std::string_view digits = m_text.substr(start, m_pos - start);
        std::uint64_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        const std::uint64_t limit =
            negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
        if (digits.empty() || error != std::errc() || value > limit)
        {
            FailArgument(command + ": bad number");
            return std::nullopt;
        }
        return static_cast<std::int32_t>(negative
                                             ? std::int64_t{0} - static_cast<std::int64_t>(value)
                                             : static_cast<std::int64_t>(value));
    }

    std::optional<FkissArg> ReadArg(const std::string& command)
    {
        FkissArg arg;
        const char c = Peek();
        if (c == '"')
        {
            const std::size_t close = m_text.find('"', m_pos + 1);
            if (close == std::string_view::npos)
                return Fail(command + ": unterminated string");
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
                return FailArgument(command + ": bad name");
            arg.kind = c == '!' ? FkissArg::Kind::Group : FkissArg::Kind::Variable;
            arg.text = Lowered(word);
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
        return FailArgument(command + ": unexpected character '" + std::string(1, c) + "'");
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line;
    const std::string& m_file;
    std::vector<FkissDiagnostic>& m_diagnostics;
};

bool ArgFits(char letter, const FkissArg& arg)
{
    using Kind = FkissArg::Kind;
    switch (letter)
    {
    case 'n':
        return arg.kind == Kind::Number || arg.kind == Kind::Variable;
    case 'k':
        return arg.kind == Kind::Number || arg.kind == Kind::Variable;
    case 'o':
        return arg.kind != Kind::Number && arg.kind != Kind::Any;
    case 'c':
        return arg.kind == Kind::Cel || arg.kind == Kind::Group;
    case 'v':
        return arg.kind == Kind::Variable;
    case 's':
        return arg.kind == Kind::Cel;
    case 'a':
        return arg.kind == Kind::Number || arg.kind == Kind::Variable || arg.kind == Kind::Any;
    default:
        return false;
    }
}

std::string_view ArgDescription(char letter)
{
    switch (letter)
    {
    case 'n':
        return "a number";
    case 'k':
        return "a number or name";
    case 'o':
        return "an object or cel";
    case 'c':
        return "a cel or group";
    case 'v':
        return "a variable";
    case 'a':
        return "a number or *";
    default:
        return "a string";
    }
}

/// Checks the arguments against the command's pattern; reports and returns false on a mismatch.
bool CheckArgs(const CommandInfo& info, const std::vector<FkissArg>& args, int line,
               const std::string& file, std::vector<FkissDiagnostic>& diagnostics)
{
    const std::size_t optional = info.args.find('?');
    std::string letters(info.args);
    std::size_t required = letters.size();
    if (optional != std::string_view::npos)
    {
        letters.erase(optional, 1);
        required = optional;
    }
    if (args.size() < required || args.size() > letters.size())
    {
        diagnostics.push_back({file, line,
                               std::string(info.name) + ": expected " +
                                   std::to_string(letters.size()) + " arguments, found " +
                                   std::to_string(args.size())});
        return false;
    }
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (!ArgFits(letters[i], args[i]))
        {
            diagnostics.push_back({file, line,
                                   std::string(info.name) + ": argument " + std::to_string(i + 1) +
                                       " must be " + std::string(ArgDescription(letters[i]))});
            return false;
        }
    }
    return true;
}

/// An if, elseif or else with the clauses of its chain so far.
struct Chain
{
    std::vector<int> clauses;
    bool hasElse = false;
};

/// Links every if, elseif and else of a handler to the clause that follows it and to the end of
/// its chain, and reports the unbalanced ones. Endifs close the innermost open if; an if left
/// without one (older sets write them so) ends where the next if begins, and so does its else.
void LinkBlocks(FkissHandler& handler, const std::string& file,
                std::vector<FkissDiagnostic>& diagnostics)
{
    auto& actions = handler.actions;
    const int count = static_cast<int>(actions.size());
    std::vector<char> closed(actions.size(), 0);
    std::vector<int> open;
    for (int i = 0; i < count; ++i)
    {
        const FkissOp op = actions[static_cast<std::size_t>(i)].op;
        if (IsIf(op))
        {
            open.push_back(i);
        }
        else if (op == FkissOp::EndIf && !open.empty())
        {
            closed[static_cast<std::size_t>(open.back())] = 1;
            open.pop_back();
        }
    }

    const auto finish = [&actions](const Chain& chain, int end)
    {
        for (std::size_t k = 0; k < chain.clauses.size(); ++k)
        {
            FkissAction& clause = actions[static_cast<std::size_t>(chain.clauses[k])];
            clause.end = end;
            if (clause.op != FkissOp::Else)
                clause.jump = k + 1 < chain.clauses.size() ? chain.clauses[k + 1] : end;
        }
    };
    std::vector<Chain> blocks;
    std::optional<Chain> unclosed;
    std::vector<std::size_t> unusable;
    for (int i = 0; i < count; ++i)
    {
        const FkissAction& action = actions[static_cast<std::size_t>(i)];
        if (IsIf(action.op))
        {
            if (unclosed)
                finish(*unclosed, i);
            unclosed.reset();
            if (closed[static_cast<std::size_t>(i)])
            {
                blocks.push_back(Chain{{i}, false});
            }
            else
            {
                diagnostics.push_back({file, action.line, "if without endif"});
                unclosed = Chain{{i}, false};
            }
        }
        else if (IsElseIf(action.op) || action.op == FkissOp::Else)
        {
            Chain* chain = !blocks.empty() ? &blocks.back() : unclosed ? &*unclosed : nullptr;
            if (!chain || chain->hasElse)
            {
                diagnostics.push_back(
                    {file, action.line, std::string(FkissOpName(action.op)) + " without if"});
                unusable.push_back(static_cast<std::size_t>(i));
                continue;
            }
            chain->clauses.push_back(i);
            chain->hasElse = action.op == FkissOp::Else;
        }
        else if (action.op == FkissOp::EndIf)
        {
            if (blocks.empty())
            {
                diagnostics.push_back({file, action.line, "endif without if"});
                unusable.push_back(static_cast<std::size_t>(i));
                continue;
            }
            finish(blocks.back(), i + 1);
            blocks.pop_back();
        }
    }
    if (unclosed)
        finish(*unclosed, count);
    // A stray else or endif does nothing.
    for (const std::size_t i : unusable)
        actions[i].op = FkissOp::Nop;
}

bool IsEventHandlerLine(std::string_view text)
{
    std::string word;
    for (const char c : text)
    {
        if (c == ' ' || c == '\t')
        {
            if (!word.empty())
                break;
            continue;
        }
        word += Lower(c);
    }
    return word == "eventhandler" || word == "eventhandler()";
}

} // namespace

std::string FkissDiagnostic::Format() const
{
    return file + ":" + std::to_string(line) + ": warning: " + text;
}

std::string_view FkissOpName(FkissOp op)
{
    for (const CommandInfo& info : kCommands)
    {
        if (info.op == op)
            return info.name;
    }
    return "?";
}

FkissScript ParseFkiss(std::string_view configBytes, const std::string& fileName)
{
    FkissScript script;
    script.fileName = fileName;
    const std::string_view bytes = configBytes.substr(0, configBytes.find('\x1A'));
    std::size_t pos = 0;
    int lineNumber = 0;
    while (pos < bytes.size())
    {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() < 2 || line[0] != ';' || line[1] != '@')
            continue;
        const std::string_view text = line.substr(2);
        if (!script.hasCode)
        {
            script.hasCode = IsEventHandlerLine(text);
            continue;
        }

        LineParser parser(text, lineNumber, fileName, script.diagnostics);
        while (auto command = parser.Next())
        {
            const CommandInfo* info = FindCommand(command->name);
            if (command->broken)
            {
                // An event that cannot be read swallows its actions, so they never run as
                // part of the event above; its fault is reported already.
                if (info && info->isEvent)
                    script.handlers.push_back(FkissHandler{FkissOp::Never, {}, lineNumber, {}});
                continue;
            }
            if (!info)
            {
                const std::string text = command->name == "shell"
                                             ? "shell: running programs is refused"
                                             : "unknown command " + command->name;
                script.diagnostics.push_back({fileName, lineNumber, text});
                continue;
            }
            if (!CheckArgs(*info, command->args, lineNumber, fileName, script.diagnostics))
            {
                // A bad event still starts a handler, so its actions are not run elsewhere.
                if (info->isEvent)
                    script.handlers.push_back(FkissHandler{FkissOp::Never, {}, lineNumber, {}});
                continue;
            }
            if (info->isEvent)
            {
                script.handlers.push_back(
                    FkissHandler{info->op, std::move(command->args), lineNumber, {}});
            }
            else if (script.handlers.empty())
            {
                script.diagnostics.push_back(
                    {fileName, lineNumber, command->name + ": action before the first event"});
            }
            else
            {
                script.handlers.back().actions.push_back(
                    FkissAction{info->op, std::move(command->args), lineNumber, -1, -1});
            }
        }
    }
    for (FkissHandler& handler : script.handlers)
        LinkBlocks(handler, fileName, script.diagnostics);
    std::stable_sort(script.diagnostics.begin(), script.diagnostics.end(),
                     [](const FkissDiagnostic& a, const FkissDiagnostic& b)
                     { return a.line < b.line; });
    return script;
}
