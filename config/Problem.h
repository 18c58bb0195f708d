#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// Every problem the core reports, as a kind with arguments: the programs that show them
/// choose the words, in the user's language.
enum class ProblemKind : std::uint8_t
{
    // Loading and saving a set. args: the file's name as the configuration gives it.
    CannotOpenFile,
    UnrecognisedFile,
    /// args: the path; systemError says why.
    CannotSave,
    /// No pixel storage for the picture could be had.
    NoScreenBuffer,
    /// The play field is larger than a window can show. args: the size asked for and the size
    /// used, each "WIDTH,HEIGHT".
    PlayFieldClamped,
    /// Saving a set from an archive: a member not written for its name or kind. args: its name.
    MemberRefused,
    /// A member that could not be written. args: its name; systemError says why.
    MemberWriteFailed,

    /// Text a set's code shows (notify, debug). args: the text, UTF-8.
    ScriptText,

    // FKiSS code the engine could not use; file and line locate it.
    /// args: the command.
    FkissUnknownCommand,
    FkissShellRefused,
    /// args: the command.
    FkissActionBeforeEvent,
    /// args: the command, the count it takes, the count found.
    FkissArgumentCount,
    /// args: the command, the argument's position from 1, and what it must be: the number of an
    /// FkissArgumentClass.
    FkissArgumentType,
    /// args: the character.
    FkissUnexpectedCharacter,
    /// args: the command.
    FkissMissingParenthesis,
    FkissBadNumber,
    FkissUnterminatedString,
    FkissBadName,
    /// args: the command, the character.
    FkissUnexpectedArgumentCharacter,
    FkissIfWithoutEndIf,
    /// args: the command (else, elseif...).
    FkissWithoutIf,
    FkissEndIfWithoutIf,
    /// args: the limit.
    FkissEventsTooDeep,
    FkissTooManyActions,
    FkissGosubTooDeep,
    /// args: the label.
    FkissNoLabel,
    /// args: the file.
    FkissCannotOpenSound,
    /// args: the file, why: the number of a SoundFailureKind, then that kind's arguments.
    FkissCannotPlay,
    FkissAttachLoop,
};

/// Whether kind is a warning about a set's FKiSS code.
constexpr bool IsFkissWarning(ProblemKind kind)
{
    return kind >= ProblemKind::FkissUnknownCommand;
}

/// What an FKiSS argument must be, as FkissArgumentType names it.
enum class FkissArgumentClass : std::uint8_t
{
    Number,
    NumberOrName,
    ObjectOrCel,
    CelOrGroup,
    Variable,
    NumberOrStar,
    String,
};

struct Problem
{
    ProblemKind kind = ProblemKind::CannotOpenFile;
    /// The file the problem is in or about, bytes as on disk; empty when none.
    std::string file;
    /// The line in that file; 0 when none.
    std::int32_t line = 0;
    /// The kind's arguments, in the order its comment gives.
    std::vector<std::string> args;
    /// errno, for the kinds a system call fails in.
    int systemError = 0;

    friend bool operator==(const Problem&, const Problem&) = default;
};

/// Receives what the core has to tell the user, a batch at a time.
struct ProblemSink
{
    virtual ~ProblemSink() = default;
    virtual void Report(std::span<const Problem> problems) = 0;
};
