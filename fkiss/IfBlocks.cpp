#include "fkiss/IfBlocks.h"

#include <optional>

namespace
{

bool IsIf(FkissOp op)
{
    return op == FkissOp::IfEqual || op == FkissOp::IfNotEqual || op == FkissOp::IfGreaterThan ||
           op == FkissOp::IfLessThan;
}

bool IsElseIf(FkissOp op)
{
    return op == FkissOp::ElseIfEqual || op == FkissOp::ElseIfNotEqual ||
           op == FkissOp::ElseIfGreaterThan || op == FkissOp::ElseIfLessThan;
}

/// An if, elseif or else with the clauses of its chain so far.
struct Chain
{
    std::vector<int> clauses;
    bool hasElse = false;
};

} // namespace

void LinkIfBlocks(FkissHandler& handler, const std::string& file,
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
                diagnostics.push_back({ProblemKind::FkissIfWithoutEndIf, file, action.line, {}});
                unclosed = Chain{{i}, false};
            }
        }
        else if (IsElseIf(action.op) || action.op == FkissOp::Else)
        {
            Chain* chain = !blocks.empty() ? &blocks.back() : unclosed ? &*unclosed : nullptr;
            if (!chain || chain->hasElse)
            {
                diagnostics.push_back({ProblemKind::FkissWithoutIf, file, action.line,
                                       {std::string(FkissOpName(action.op))}});
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
                diagnostics.push_back({ProblemKind::FkissEndIfWithoutIf, file, action.line, {}});
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
