// The deletion passes of tricky lists on folders in memory: what each pass deletes,
// which lines are skipped and why, what stays.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/scoped_gbk_table.h"
#include "tools/ListCheck.h"

namespace {

struct ListCase {
  const char* name;
  std::vector<const char*> contents;  // folders end with a backslash
  std::string list;
  const char* deletes;  // pass@line for each deletion in order, 0 for one apart from the passes
  const char* skips;    // line:reason
  const char* remaining;
};

std::string LongEntry(size_t length) {
  return std::string(length, 'x') + "\n";
}

const ListCase kCases[] = {
    {"a folder listed before its files goes in a later pass", {"sub\\", "sub\\deep\\", "sub\\deep\\a", "sub\\b"},
     "sub\r\nsub\\deep\nsub\\deep\\a\nsub\\b\n", "1@3 1@4 2@2 3@1 ", "", ""},
    {"a folder listed after its files goes in the same pass", {"sub\\", "sub\\a"}, "sub\\a\nsub\n", "1@1 1@2 ", "",
     ""},
    {"unlisted files keep their folder", {"keep\\", "keep\\a", "keep\\b"}, "keep\\a\nkeep\n", "1@1 ",
     "2:folder not empty ", "keep keep\\b "},
    {"names found as the system finds them", {"Sub\\", "Sub\\A.txt", "b.txt", "c"},
     "sUB/a.TXT \t\r\n\nsub\\\\\nb.txt. \n.\\c\n", "1@1 1@3 1@4 1@5 ", "", ""},
    {"entries outside the folder", {"a"}, "..\\a\n\\a\n/a\nC:a\nsub\\. .\\a\na:stream\n", "",
     "1:leaves the folder 2:leaves the folder 3:leaves the folder 4:leaves the folder 5:leaves the folder "
     "6:leaves the folder ",
     "a "},
    // The paths begin with the 10 characters of "C:\Zendra\" and must fit 1023.
    {"damaged and overlong lines", {"a"},
     std::string("a\0b\n", 4) + LongEntry(2048) + LongEntry(2047) + LongEntry(1014) + LongEntry(1013) + "a\n", "1@6 ",
     "1:zero byte 2:line too long 3:path too long 4:path too long 5:does not exist ", ""},
    {"lines that find nothing to delete", {"a", "sub\\"}, "a\nA\nmissing\nsub\\a\na\\\n.\n", "1@1 ",
     "2:already deleted 3:does not exist 4:does not exist 5:does not exist 6:the program's folder ", "sub "},
    {"files the uninstall deletes apart from the passes", {"uninstall.exe", "Uninstall.lst", "zendra.gid", "x"},
     "Uninstall.lst\nzendra.gid\nUNINSTALL.EXE\n", "0@2 0@1 0@3 ", "", "x "},
    {"a trail byte equal to the backslash is no separator", {"\x81\x5c\\", "\x81\x5c\\a"},
     "\x81\x5c\\a\n\x81\x5c\n", "1@1 1@2 ", "", ""},
};

class ListTableTest : public testing::TestWithParam<ListCase> {
 private:
  ScopedGbkTable gbk_;
};

TEST_P(ListTableTest, PassesSkipsAndRemains) {
  const ListCase& c = GetParam();
  FolderSnapshot snapshot;
  for (std::string path : c.contents) {
    const bool folder = path.back() == '\\';
    if (folder) path.pop_back();
    snapshot.Add(path, folder);
  }
  FILE* list = tmpfile();
  ASSERT_NE(nullptr, list);
  fwrite(c.list.data(), 1, c.list.size(), list);
  rewind(list);
  const ListReport report = CheckInstallationList(list, "C:\\Zendra\\", snapshot);
  fclose(list);

  std::string deletes, skips, remaining;
  for (const ListDelete& d : report.deletes) deletes += std::to_string(d.pass) + "@" + std::to_string(d.line) + " ";
  for (const ListSkip& s : report.skips) skips += std::to_string(s.line) + ":" + s.reason + " ";
  for (const std::string& path : report.remaining) remaining += path + " ";
  EXPECT_EQ(c.deletes, deletes);
  EXPECT_EQ(c.skips, skips);
  EXPECT_EQ(c.remaining, remaining);
}

INSTANTIATE_TEST_SUITE_P(Lists, ListTableTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ListCase>& info) { return "case" + std::to_string(info.index); });

}  // namespace
