#include <clocale>
#include <iostream>

#include "tools/Sqecrypt.h"

int main(int argc, char** argv) {
  // File names are read in the characters of the user's locale.
  std::setlocale(LC_CTYPE, "");
  return RunSqecrypt(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
