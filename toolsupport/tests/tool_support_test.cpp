// The tools' shared command line and JSON writer, on a tool made up for the test.
#include <gtest/gtest.h>

#include <sstream>

#include "toolsupport/JsonText.h"
#include "toolsupport/ToolUsage.h"

namespace {

const ToolUsage kTool("tool", "usage: tool FILE [--json] [-D VALUE]\n", 7);

struct ArgumentCase {
  std::vector<std::string> arguments;
  int code;  // -1: the tool runs
  const char* out;
  const char* err;  // before the usage text
};

const ArgumentCase kArgumentCases[] = {
    {{"f", "--json", "-D", "/?"}, -1, "", ""},  // a value may look like a switch
    {{"f", "/?"}, 0, "usage: tool FILE [--json] [-D VALUE]\n", ""},
    {{"-h", "-x"}, 0, "usage: tool FILE [--json] [-D VALUE]\n", ""},
    {{"-", "--x"}, 7, "", "tool: unknown option --x\n"},
    {{"f", "g", "-x"}, 7, "", "tool: more than one file\n"},
    {{"", "--json"}, 7, "", "tool: no file given\n"},
    {{"f", "-D"}, 7, "", "tool: -D needs a name\n"},
};

TEST(ToolUsage, SwitchesHelpAndBadUsage) {
  for (const ArgumentCase& c : kArgumentCases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    std::ostringstream out, err;
    std::string file, value;
    bool json = false;
    int code = -1;
    const bool runs = ReadToolArguments(kTool, c.arguments, {{"--json", &json, nullptr, nullptr},
                                        {"-D", nullptr, &value, "a name"}}, "file", file, out, err, code);
    EXPECT_EQ(c.code, code);
    EXPECT_EQ(c.code == -1, runs);
    EXPECT_EQ(c.out, out.str());
    EXPECT_EQ(*c.err ? c.err + std::string("usage: tool FILE [--json] [-D VALUE]\n") : "", err.str());
    if (runs) {
      EXPECT_EQ("f/?1", file + value + std::to_string(json));
    }
  }
  std::ostringstream err;
  EXPECT_EQ(7, kTool.Bad(err, ""));
  EXPECT_EQ("usage: tool FILE [--json] [-D VALUE]\n", err.str());
}

TEST(JsonObject, FieldsLinesAndLists) {
  const std::vector<int> none, two = {1, 2};
  JsonObject json;
  json.Text("a", "x").TextOrNull("b", "").TextIfAny("c", "").NumberOrNull("d", false, 5).Flag("e", true).NewLine();
  json.Objects("f", two, [](JsonObject& object, int n) { object.Number("n", n).TextOrNull("t", "\xff"); });
  json.NewLine().Objects("g", none, [](JsonObject&, int) {}).Texts("h", {"y"});
  EXPECT_EQ("{\"a\": \"x\", \"b\": null, \"d\": null, \"e\": true,\n \"f\": [\n  {\"n\": 1, \"t\": \"\xef\xbf\xbd\", "
            "\"t_bytes\": \"FF\"},\n  {\"n\": 2, \"t\": \"\xef\xbf\xbd\", \"t_bytes\": \"FF\"}],\n \"g\": [], "
            "\"h\": [\"y\"]}",
            json.Close());
}

}  // namespace
