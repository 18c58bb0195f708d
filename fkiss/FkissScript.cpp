#include "fkiss/FkissScript.h"

#include "fkiss/FkissCommands.h"
#include "fkiss/FkissLineReader.h"
#include "config/AsciiCase.h"
#include "fkiss/IfBlocks.h"

#include <algorithm>

namespace
{

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
        word += LowerAscii(c);
    }
    return word == "eventhandler" || word == "eventhandler()";
}

} // namespace

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

        FkissLineReader parser(text, lineNumber, fileName, script.diagnostics);
        while (auto command = parser.Next())
        {
            const FkissCommand* info = FindFkissCommand(command->name);
            if (command->broken)
            {
                // An event that cannot be read swallows its actions, so they never run as
                // part of the event above; its fault is reported already.
                if (info && IsFkissEvent(info->op))
                    script.handlers.push_back(FkissHandler{FkissOp::Never, {}, lineNumber, {}});
                continue;
            }
            if (!info)
            {
                if (command->name == "shell")
                    script.diagnostics.push_back(
                        {ProblemKind::FkissShellRefused, fileName, lineNumber, {}});
                else
                    script.diagnostics.push_back(
                        {ProblemKind::FkissUnknownCommand, fileName, lineNumber, {command->name}});
                continue;
            }
            if (!CheckFkissArgs(*info, command->args, lineNumber, fileName, script.diagnostics))
            {
                // A bad event still starts a handler, so its actions are not run elsewhere.
                if (IsFkissEvent(info->op))
                    script.handlers.push_back(FkissHandler{FkissOp::Never, {}, lineNumber, {}});
                continue;
            }
            if (IsFkissEvent(info->op))
            {
                script.handlers.push_back(
                    FkissHandler{info->op, std::move(command->args), lineNumber, {}});
            }
            else if (script.handlers.empty())
            {
                script.diagnostics.push_back(
                    {ProblemKind::FkissActionBeforeEvent, fileName, lineNumber, {command->name}});
            }
            else
            {
                script.handlers.back().actions.push_back(
                    FkissAction{info->op, std::move(command->args), lineNumber, -1, -1});
            }
        }
    }
    for (FkissHandler& handler : script.handlers)
        LinkIfBlocks(handler, fileName, script.diagnostics);
    std::stable_sort(script.diagnostics.begin(), script.diagnostics.end(),
                     [](const FkissDiagnostic& a, const FkissDiagnostic& b)
                     { return a.line < b.line; });
    return script;
}
