// Texts in tests: the ANSI code page of the system under test, lines and records.
#pragma once

#include <string>
#include <vector>

namespace test_support {

#ifdef _WIN32
// A UTF-8 text (as the tests write their Chinese texts) in the ANSI code page: GBK under
// the harness's code page 936.
std::string Ansi(const std::string& utf8);
#endif

// The lines of a text split at each LF, a CR before it dropped; a last line without LF
// counts.
std::vector<std::string> LinesOf(const std::string& text);
// The value of the first "name=value" line of a record; "<none>" when there is none.
std::string RecordField(const std::string& record, const std::string& name);

}  // namespace test_support
