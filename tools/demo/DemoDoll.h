#pragma once

#include "KissFiles.h"

#include <vector>

/// Every file of the demo doll set, DEMO.CNF first. The same bytes on every run.
std::vector<DemoFile> MakeDemoDoll();
