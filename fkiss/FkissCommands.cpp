#include "fkiss/FkissCommands.h"

#include <algorithm>
#include <array>

namespace
{

constexpr std::array kCommands = {
    FkissCommand{"initialize", FkissOp::Initialize, ""},
    FkissCommand{"begin", FkissOp::Begin, ""},
    FkissCommand{"end", FkissOp::End, ""},
    FkissCommand{"alarm", FkissOp::Alarm, "k"},
    FkissCommand{"press", FkissOp::Press, "o"},
    FkissCommand{"release", FkissOp::Release, "o"},
    FkissCommand{"catch", FkissOp::Catch, "o"},
    FkissCommand{"drop", FkissOp::Drop, "o"},
    FkissCommand{"fixcatch", FkissOp::FixCatch, "o"},
    FkissCommand{"fixdrop", FkissOp::FixDrop, "o"},
    FkissCommand{"unfix", FkissOp::Unfix, "o"},
    FkissCommand{"set", FkissOp::Set, "a"},
    FkissCommand{"col", FkissOp::Col, "a"},
    FkissCommand{"never", FkissOp::Never, ""},
    FkissCommand{"in", FkissOp::In, "oo"},
    FkissCommand{"out", FkissOp::Out, "oo"},
    FkissCommand{"stillin", FkissOp::StillIn, "oo"},
    FkissCommand{"stillout", FkissOp::StillOut, "oo"},
    FkissCommand{"version", FkissOp::Version, "n"},
    FkissCommand{"collide", FkissOp::Collide, "cc"},
    FkissCommand{"apart", FkissOp::Apart, "cc"},
    FkissCommand{"label", FkissOp::Label, "k"},
    FkissCommand{"overflow", FkissOp::Overflow, ""},
    FkissCommand{"keypress", FkissOp::KeyPress, "s"},
    FkissCommand{"keyrelease", FkissOp::KeyRelease, "s"},
    FkissCommand{"mousein", FkissOp::MouseIn, "o"},
    FkissCommand{"mouseout", FkissOp::MouseOut, "o"},
    FkissCommand{"detached", FkissOp::Detached, "o"},

    FkissCommand{"map", FkissOp::Map, "o"},
    FkissCommand{"unmap", FkissOp::Unmap, "o"},
    FkissCommand{"altmap", FkissOp::AltMap, "o"},
    FkissCommand{"move", FkissOp::Move, "onn"},
    FkissCommand{"sound", FkissOp::Sound, "s"},
    FkissCommand{"timer", FkissOp::Timer, "kn"},
    FkissCommand{"randomtimer", FkissOp::RandomTimer, "knn"},
    FkissCommand{"changeset", FkissOp::ChangeSet, "n"},
    FkissCommand{"changecol", FkissOp::ChangeCol, "n"},
    FkissCommand{"nop", FkissOp::Nop, ""},
    FkissCommand{"quit", FkissOp::Quit, ""},
    FkissCommand{"debug", FkissOp::Debug, "s"},
    FkissCommand{"transparent", FkissOp::Transparent, "on"},
    FkissCommand{"viewport", FkissOp::Viewport, "nn"},
    FkissCommand{"windowsize", FkissOp::WindowSize, "nn"},
    FkissCommand{"moveto", FkissOp::MoveTo, "onn"},
    FkissCommand{"movebyx", FkissOp::MoveByX, "oon"},
    FkissCommand{"movebyy", FkissOp::MoveByY, "oon"},
    FkissCommand{"music", FkissOp::Music, "?s"},
    FkissCommand{"notify", FkissOp::Notify, "s"},
    FkissCommand{"nothing", FkissOp::Nop, ""},
    FkissCommand{"iffixed", FkissOp::IfFixed, "okn"},
    FkissCommand{"ifnotfixed", FkissOp::IfNotFixed, "okn"},
    FkissCommand{"ifmapped", FkissOp::IfMapped, "okn"},
    FkissCommand{"ifnotmapped", FkissOp::IfNotMapped, "okn"},
    FkissCommand{"ifmoved", FkissOp::IfMoved, "okn"},
    FkissCommand{"ifnotmoved", FkissOp::IfNotMoved, "okn"},
    FkissCommand{"moverandx", FkissOp::MoveRandX, "onn"},
    FkissCommand{"moverandy", FkissOp::MoveRandY, "onn"},
    FkissCommand{"movetorand", FkissOp::MoveToRand, "o"},
    FkissCommand{"setfix", FkissOp::SetFix, "on"},
    FkissCommand{"let", FkissOp::Let, "vn"},
    FkissCommand{"add", FkissOp::Add, "vnn"},
    FkissCommand{"sub", FkissOp::Sub, "vnn"},
    FkissCommand{"mul", FkissOp::Mul, "vnn"},
    FkissCommand{"div", FkissOp::Div, "vnn"},
    FkissCommand{"mod", FkissOp::Mod, "vnn"},
    FkissCommand{"random", FkissOp::Random, "vnn"},
    FkissCommand{"ifequal", FkissOp::IfEqual, "nn"},
    FkissCommand{"ifnotequal", FkissOp::IfNotEqual, "nn"},
    FkissCommand{"ifgreaterthan", FkissOp::IfGreaterThan, "nn"},
    FkissCommand{"iflessthan", FkissOp::IfLessThan, "nn"},
    FkissCommand{"else", FkissOp::Else, ""},
    FkissCommand{"endif", FkissOp::EndIf, ""},
    FkissCommand{"goto", FkissOp::Goto, "k"},
    FkissCommand{"gosub", FkissOp::Gosub, "k"},
    FkissCommand{"gotorandom", FkissOp::GotoRandom, "nkk"},
    FkissCommand{"gosubrandom", FkissOp::GosubRandom, "nkk"},
    FkissCommand{"exitevent", FkissOp::ExitEvent, ""},
    FkissCommand{"ghost", FkissOp::Ghost, "on"},
    FkissCommand{"letcatch", FkissOp::LetCatch, "v"},
    FkissCommand{"letcollide", FkissOp::LetCollide, "vcc"},
    FkissCommand{"letinside", FkissOp::LetInside, "voo"},
    FkissCommand{"letfix", FkissOp::LetFix, "vo"},
    FkissCommand{"letmapped", FkissOp::LetMapped, "vo"},
    FkissCommand{"letmousex", FkissOp::LetMouseX, "v"},
    FkissCommand{"letmousey", FkissOp::LetMouseY, "v"},
    FkissCommand{"letobjectx", FkissOp::LetObjectX, "vo"},
    FkissCommand{"letobjecty", FkissOp::LetObjectY, "vo"},
    FkissCommand{"letpal", FkissOp::LetPal, "v"},
    FkissCommand{"letset", FkissOp::LetSet, "v"},
    FkissCommand{"lettransparent", FkissOp::LetTransparent, "vo"},
    FkissCommand{"attach", FkissOp::Attach, "oo"},
    FkissCommand{"glue", FkissOp::Glue, "oo"},
    FkissCommand{"detach", FkissOp::Detach, "o"},
    FkissCommand{"letparent", FkissOp::LetParent, "vo"},
    FkissCommand{"letchild", FkissOp::LetChild, "vo"},
    FkissCommand{"letsibling", FkissOp::LetSibling, "vo"},
    FkissCommand{"letkey", FkissOp::LetKey, "v"},
    FkissCommand{"letkeymap", FkissOp::LetKeyMap, "vs"},
    FkissCommand{"elseifequal", FkissOp::ElseIfEqual, "nn"},
    FkissCommand{"elseifnotequal", FkissOp::ElseIfNotEqual, "nn"},
    FkissCommand{"elseifgreaterthan", FkissOp::ElseIfGreaterThan, "nn"},
    FkissCommand{"elseiflessthan", FkissOp::ElseIfLessThan, "nn"},
    FkissCommand{"restrictx", FkissOp::RestrictX, "onn"},
    FkissCommand{"restricty", FkissOp::RestrictY, "onn"},
    FkissCommand{"setframe", FkissOp::SetFrame, "cn"},
    FkissCommand{"letframe", FkissOp::LetFrame, "vc"},
    FkissCommand{"letwidth", FkissOp::LetWidth, "vo"},
    FkissCommand{"letheight", FkissOp::LetHeight, "vo"},
    FkissCommand{"letinitx", FkissOp::LetInitX, "vo"},
    FkissCommand{"letinity", FkissOp::LetInitY, "vo"},
    FkissCommand{"lettimer", FkissOp::LetTimer, "vk"},
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

FkissArgumentClass ArgClass(char letter)
{
    switch (letter)
    {
    case 'n':
        return FkissArgumentClass::Number;
    case 'k':
        return FkissArgumentClass::NumberOrName;
    case 'o':
        return FkissArgumentClass::ObjectOrCel;
    case 'c':
        return FkissArgumentClass::CelOrGroup;
    case 'v':
        return FkissArgumentClass::Variable;
    case 'a':
        return FkissArgumentClass::NumberOrStar;
    default:
        return FkissArgumentClass::String;
    }
}

} // namespace

const FkissCommand* FindFkissCommand(std::string_view lowerName)
{
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const FkissCommand& c) { return c.name == lowerName; });
    return found == kCommands.end() ? nullptr : &*found;
}

std::string_view FkissOpName(FkissOp op)
{
    for (const FkissCommand& info : kCommands)
    {
        if (info.op == op)
            return info.name;
    }
    return "?";
}

bool CheckFkissArgs(const FkissCommand& info, const std::vector<FkissArg>& args, int line,
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
        diagnostics.push_back({ProblemKind::FkissArgumentCount, file, line,
                               {std::string(info.name), std::to_string(letters.size()),
                                std::to_string(args.size())}});
        return false;
    }
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        if (!ArgFits(letters[i], args[i]))
        {
            diagnostics.push_back(
                {ProblemKind::FkissArgumentType, file, line,
                 {std::string(info.name), std::to_string(i + 1),
                  std::to_string(static_cast<int>(ArgClass(letters[i])))}});
            return false;
        }
    }
    return true;
}
