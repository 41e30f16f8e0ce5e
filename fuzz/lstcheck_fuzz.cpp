// Any bytes as an installation list over a fixed folder: the passes played on the
// folder's snapshot end, every line named lies in the list, no line both deletes and
// is skipped, each pass but the last deletes something, and the reports carry no raw
// control byte but their own line ends.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "tools/CodePage.h"
#include "tools/LstCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UseCodePage936LeadBytes();
  FolderSnapshot snapshot;
  for (const char* folder : {"sub", "sub\\deep", "\x81\x5c"}) snapshot.Add(folder, true);
  for (const char* file : {"a", "sub\\b", "sub\\deep\\c", "\x81\x5c\\x", "uninstall.exe", "Uninstall.lst", "zendra.gid"})
    snapshot.Add(file, false);
  FILE* list = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (list == nullptr) return 0;
  const ListReport report = CheckInstallationList(list, "C:\\Zendra\\", snapshot);
  fclose(list);

  std::set<size_t> deleting, passes;
  for (const ListDelete& deleted : report.deletes) {
    if (deleted.line < 1 || deleted.line > report.lines || deleted.pass < 0 || deleted.pass >= report.passes) abort();
    if (deleted.pass > 0) deleting.insert(deleted.line);
    passes.insert(static_cast<size_t>(deleted.pass));
  }
  for (int pass = 1; pass < report.passes; ++pass)
    if (passes.count(static_cast<size_t>(pass)) == 0) abort();
  for (const ListSkip& skip : report.skips)
    if (skip.line < 1 || skip.line > report.lines || deleting.count(skip.line) != 0) abort();
  for (const std::string& text : {ListReportText("l", report), ListReportJson("l", report)})
    for (const char c : text)
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) abort();
  return 0;
}
