#pragma once

#include "config/Problem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

/// Something the parser or the engine could not use: one of the Fkiss kinds, in the
/// configuration file at a line.
using FkissDiagnostic = Problem;

/// Every command the parser knows, events and actions alike.
// clang-format off
enum class FkissOp : std::uint8_t
{
    // Events.
    Initialize, Begin, End, Alarm, Press, Release, Catch, Drop, FixCatch, FixDrop, Unfix, Set, Col,
    Never, In, Out, StillIn, StillOut, Version, Collide, Apart, Label, Overflow, KeyPress,
    KeyRelease, MouseIn, MouseOut, Detached,
    // Actions.
    Map, Unmap, AltMap, Move, Sound, Timer, RandomTimer, ChangeSet, ChangeCol, Nop, Quit, Debug,
    Transparent, Viewport, WindowSize, MoveTo, MoveByX, MoveByY, Music, Notify, IfFixed,
    IfNotFixed, IfMapped, IfNotMapped, IfMoved, IfNotMoved, MoveRandX, MoveRandY, MoveToRand,
    SetFix, Let, Add, Sub, Mul, Div, Mod, Random, IfEqual, IfNotEqual, IfGreaterThan, IfLessThan,
    Else, EndIf, Goto, Gosub, GotoRandom, GosubRandom, ExitEvent, Ghost, LetCatch, LetCollide,
    LetInside, LetFix, LetMapped, LetMouseX, LetMouseY, LetObjectX, LetObjectY, LetPal, LetSet,
    LetTransparent, Attach, Glue, Detach, LetParent, LetChild, LetSibling, LetKey, LetKeyMap,
    ElseIfEqual, ElseIfNotEqual, ElseIfGreaterThan, ElseIfLessThan, RestrictX, RestrictY,
    SetFrame, LetFrame, LetWidth, LetHeight, LetInitX, LetInitY, LetTimer,
};

/// Every event, in the order FkissOp lists them: handler tables are sized from this list, and a
/// command is an event exactly when it is here.
inline constexpr std::array kFkissEvents = {
    FkissOp::Initialize, FkissOp::Begin, FkissOp::End, FkissOp::Alarm, FkissOp::Press,
    FkissOp::Release, FkissOp::Catch, FkissOp::Drop, FkissOp::FixCatch, FkissOp::FixDrop,
    FkissOp::Unfix, FkissOp::Set, FkissOp::Col, FkissOp::Never, FkissOp::In, FkissOp::Out,
    FkissOp::StillIn, FkissOp::StillOut, FkissOp::Version, FkissOp::Collide, FkissOp::Apart,
    FkissOp::Label, FkissOp::Overflow, FkissOp::KeyPress, FkissOp::KeyRelease, FkissOp::MouseIn,
    FkissOp::MouseOut, FkissOp::Detached,
};
// clang-format on

constexpr bool IsFkissEvent(FkissOp op)
{
    return static_cast<std::size_t>(op) < kFkissEvents.size();
}

static_assert(
    []
    {
        for (std::size_t i = 0; i < kFkissEvents.size(); ++i)
        {
            if (static_cast<std::size_t>(kFkissEvents[i]) != i)
                return false;
        }
        return true;
    }(),
    "the events open FkissOp, in its order");

/// One argument as written. Names (cels, groups, variables) are kept in lower case, strings as
/// their bytes.
struct FkissArg
{
    enum class Kind : std::uint8_t
    {
        Number,   ///< 12, -3
        Object,   ///< #12
        Cel,      ///< "name.cel" (also any other quoted text)
        Group,    ///< !name
        Variable, ///< name
        Any,      ///< * (set and col of every number)
    };
    Kind kind = Kind::Number;
    std::int32_t number = 0;
    std::string text;

    /// #n and variables name an object by its number.
    bool NamesObject() const { return kind == Kind::Object || kind == Kind::Variable; }
};

struct FkissAction
{
    FkissOp op = FkissOp::Nop;
    std::vector<FkissArg> args;
    int line = 0;
    /// For an if or elseif: where its test fails to: the next elseif or else of its chain, or
    /// the chain's end.
    int jump = -1;
    /// For an if, elseif or else: where the chain goes on once a branch has run (past its
    /// endif, or for an if left without one where the next if begins).
    int end = -1;
};

struct FkissHandler
{
    FkissOp event = FkissOp::Never;
    std::vector<FkissArg> args;
    int line = 0;
    std::vector<FkissAction> actions;
};

/// The FKiSS code of a configuration file, parsed.
struct FkissScript
{
    std::vector<FkissHandler> handlers;
    std::vector<FkissDiagnostic> diagnostics;
    std::string fileName;
    /// Whether the file has an EventHandler line at all.
    bool hasCode = false;
};

/// Parses the ";@" lines of a configuration file's bytes (line ends and the 0x1A end mark as
/// the configuration reader handles them). fileName only labels the diagnostics.
FkissScript ParseFkiss(std::string_view configBytes, const std::string& fileName);

/// The command's name in lower case, for messages.
std::string_view FkissOpName(FkissOp op);
