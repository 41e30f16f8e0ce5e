#include <windows.h>

#include "Main/FileNames.h"

bool IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}
