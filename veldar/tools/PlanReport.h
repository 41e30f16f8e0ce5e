// The plan of a run as the console tool prints it: lines for people, or one JSON object.
#pragma once

#include <string>

#include "tools/ScriptPlan.h"

// In the run's order: each directive and each batch at the line where the run reaches
// it, then the warnings by line, then what happens after the run.
std::string PlanText(const ScriptPlan& plan);
std::string PlanJson(const ScriptPlan& plan);
