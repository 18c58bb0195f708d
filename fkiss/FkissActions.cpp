// FkissEngine: the one place that names every command, so that -Wswitch catches an action
// left without its family.
#include "fkiss/FkissEngine.h"

#include <cassert>

void FkissEngine::Execute(const FkissAction& action)
{
    const auto value = [&](std::size_t i) { return Value(action.args[i]); };
    switch (action.op)
    {
    case FkissOp::Map:
    case FkissOp::Unmap:
    case FkissOp::AltMap:
        SetMapping(action);
        break;
    case FkissOp::Ghost:
        SetGhost(action);
        break;
    case FkissOp::Transparent:
        AddTransparency(action);
        break;
    case FkissOp::SetFrame:
        SetFrame(action);
        break;

    case FkissOp::Move:
    case FkissOp::MoveTo:
    case FkissOp::MoveByX:
    case FkissOp::MoveByY:
    case FkissOp::MoveRandX:
    case FkissOp::MoveRandY:
        MoveActions(action);
        break;
    case FkissOp::MoveToRand:
        MoveToRandom(action);
        break;
    case FkissOp::SetFix:
        SetFix(action);
        break;
    case FkissOp::Attach:
    case FkissOp::Glue:
        Attach(action);
        break;
    case FkissOp::Detach:
        Detach(action);
        break;
    case FkissOp::RestrictX:
    case FkissOp::RestrictY:
        Restrict(action);
        break;

    case FkissOp::Timer:
        StartTimer(action);
        break;
    case FkissOp::RandomTimer:
        StartRandomTimer(action);
        break;
    case FkissOp::IfFixed:
    case FkissOp::IfNotFixed:
    case FkissOp::IfMapped:
    case FkissOp::IfNotMapped:
    case FkissOp::IfMoved:
    case FkissOp::IfNotMoved:
        TimerIf(action);
        break;
    case FkissOp::Quit:
        Quit();
        break;

    case FkissOp::Let:
    case FkissOp::Add:
    case FkissOp::Sub:
    case FkissOp::Mul:
    case FkissOp::Div:
    case FkissOp::Mod:
    case FkissOp::Random:
        Calculate(action);
        break;

    case FkissOp::Sound:
        PlaySound(action, Channel::Sound);
        break;
    case FkissOp::Music:
        PlaySound(action, Channel::Music);
        break;
    case FkissOp::ChangeSet:
        ChangeSet(value(0));
        break;
    case FkissOp::ChangeCol:
        ChangeCol(value(0));
        break;
    case FkissOp::Debug:
    case FkissOp::Notify:
        m_host.ShowText(action.line, action.args[0].text);
        break;
    case FkissOp::Viewport:
        m_host.ScrollTo(Point{value(0), value(1)});
        break;
    case FkissOp::WindowSize:
        m_host.ResizePlayField(Point{value(0), value(1)});
        break;

    case FkissOp::LetCatch:
    case FkissOp::LetCollide:
    case FkissOp::LetInside:
    case FkissOp::LetMapped:
    case FkissOp::LetMouseX:
    case FkissOp::LetMouseY:
    case FkissOp::LetPal:
    case FkissOp::LetSet:
    case FkissOp::LetTransparent:
    case FkissOp::LetTimer:
    case FkissOp::LetKey:
    case FkissOp::LetFrame:
        LetQuery(action);
        break;
    case FkissOp::LetFix:
    case FkissOp::LetObjectX:
    case FkissOp::LetObjectY:
    case FkissOp::LetInitX:
    case FkissOp::LetInitY:
    case FkissOp::LetWidth:
    case FkissOp::LetHeight:
        LetObjectQuery(action);
        break;
    case FkissOp::LetParent:
    case FkissOp::LetChild:
    case FkissOp::LetSibling:
        LetTreeQuery(action);
        break;
    case FkissOp::LetKeyMap:
        LetKeyMap(action);
        break;

    case FkissOp::Nop:
    case FkissOp::EndIf:
        break;

    // The flow of a handler is RunHandler's, and events never stand among actions.
    case FkissOp::IfEqual:
    case FkissOp::IfNotEqual:
    case FkissOp::IfGreaterThan:
    case FkissOp::IfLessThan:
    case FkissOp::Else:
    case FkissOp::ElseIfEqual:
    case FkissOp::ElseIfNotEqual:
    case FkissOp::ElseIfGreaterThan:
    case FkissOp::ElseIfLessThan:
    case FkissOp::Goto:
    case FkissOp::Gosub:
    case FkissOp::GotoRandom:
    case FkissOp::GosubRandom:
    case FkissOp::ExitEvent:
    case FkissOp::Initialize:
    case FkissOp::Begin:
    case FkissOp::End:
    case FkissOp::Alarm:
    case FkissOp::Press:
    case FkissOp::Release:
    case FkissOp::Catch:
    case FkissOp::Drop:
    case FkissOp::FixCatch:
    case FkissOp::FixDrop:
    case FkissOp::Unfix:
    case FkissOp::Set:
    case FkissOp::Col:
    case FkissOp::Never:
    case FkissOp::In:
    case FkissOp::Out:
    case FkissOp::StillIn:
    case FkissOp::StillOut:
    case FkissOp::Version:
    case FkissOp::Collide:
    case FkissOp::Apart:
    case FkissOp::Label:
    case FkissOp::Overflow:
    case FkissOp::KeyPress:
    case FkissOp::KeyRelease:
    case FkissOp::MouseIn:
    case FkissOp::MouseOut:
    case FkissOp::Detached:
        assert(false && "not an action");
        break;
    }
}
