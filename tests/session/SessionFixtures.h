#pragma once

#include "support/TempDir.h"

#include <string>
#include <vector>

/// A folder set of two objects on a 40 × 30 screen: #1 A.CEL red 8 × 8 at 2,2 and #2 B.CEL
/// green 6 × 6 at 20,10; extraCel, when given, is a #3 that names a file that may be missing.
/// code holds the set's FKiSS lines (without ";@").
struct SmallSet
{
    explicit SmallSet(const std::vector<std::string>& code = {}, const std::string& extraCel = {});

    TempDir folder;
    std::string configPath;
};
