#include "remove/Leftovers.h"

#include <algorithm>

#include "base/TextHelpers.h"

int CountPathParts(const char* path) {
  int parts = 0;
  bool named = false;
  for (const char* p = path;; p = NextChar(p)) {
    if (*p == '\0' || IsPathDiv(*p)) {
      if (named) ++parts;
      named = false;
      if (*p == '\0') return parts;
    } else if (*p != '.' && *p != ' ') {
      named = true;
    }
  }
}

void OrderForRestart(std::vector<Leftover>* leftovers) {
  std::stable_sort(leftovers->begin(), leftovers->end(), [](const Leftover& a, const Leftover& b) {
    if (a.folder != b.folder) return !a.folder;
    return a.folder && CountPathParts(a.path.c_str()) > CountPathParts(b.path.c_str());
  });
}
