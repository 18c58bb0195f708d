#pragma once

#include "fkiss/FkissScript.h"

#include <string>
#include <string_view>
#include <vector>

/// How a command is written. Argument letters: n a number or variable, k an alarm or label
/// (number or name), o an object (#n, cel, group or variable), c a cel or group, v a variable,
/// s a string, a a number or * (any); arguments after '?' may be left out.
struct FkissCommand
{
    std::string_view name;
    FkissOp op;
    std::string_view args;
};

/// The command of that name (in lower case); null for none.
const FkissCommand* FindFkissCommand(std::string_view lowerName);

/// Checks the arguments against the command's pattern; reports and returns false on a mismatch.
bool CheckFkissArgs(const FkissCommand& command, const std::vector<FkissArg>& args, int line,
                    const std::string& file, std::vector<FkissDiagnostic>& diagnostics);
