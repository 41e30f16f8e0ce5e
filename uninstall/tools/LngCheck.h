// lngcheck FILE [--dll LIBRARY] [--json]: what the uninstall would make of a language file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/LanguageCheck.h"

enum LngcheckExit { kLngcheckClean = 0, kLngcheckFindings = 1, kLngcheckUnreadable = 2 };

int RunLngcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

std::string LanguageReportText(const std::string& file, const LanguageReport& report);
std::string LanguageReportJson(const std::string& file, const LanguageReport& report);
