#include <iostream>

#include "tools/Sqecrypt.h"

int main(int argc, char** argv) {
  return RunSqecrypt(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
