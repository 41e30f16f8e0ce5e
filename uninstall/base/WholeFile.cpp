#include "base/WholeFile.h"

#include <cstdio>

#include "base/Handle.h"

bool ReadWholeFile(const char* path, std::string* bytes) {
  FileStream file(fopen(path, "rb"));
  if (!file) return false;
  bytes->clear();
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, file.Get())) > 0) bytes->append(buffer, count);
  return ferror(file.Get()) == 0;
}

bool WriteWholeFile(const char* path, const std::string& bytes) {
  FileStream file(fopen(path, "wb"));
  if (!file) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
  return fclose(file.Release()) == 0 && written;
}
