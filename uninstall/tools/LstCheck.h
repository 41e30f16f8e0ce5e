// lstcheck FOLDER [--json]: what the uninstall would delete in FOLDER by its
// installation list, and which lines it would skip.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/ListCheck.h"

enum LstcheckExit { kLstcheckClean = 0, kLstcheckSkips = 1, kLstcheckUnreadable = 2 };

int RunLstcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

std::string ListReportText(const std::string& list, const ListReport& report);
std::string ListReportJson(const std::string& list, const ListReport& report);
