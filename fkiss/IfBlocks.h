#pragma once

#include "fkiss/FkissScript.h"

#include <string>
#include <vector>

/// Links every if, elseif and else of a handler to the clause that follows it and to the end of
/// its chain, and reports the unbalanced ones. Endifs close the innermost open if; an if left
/// without one (older sets write them so) ends where the next if begins, and so does its else.
/// A stray else or endif becomes a nop.
void LinkIfBlocks(FkissHandler& handler, const std::string& file,
                  std::vector<FkissDiagnostic>& diagnostics);
