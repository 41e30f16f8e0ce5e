#include "Des/Notice.h"

#include <cstdio>

void ShowInformation(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}
