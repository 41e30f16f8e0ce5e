#include <windows.h>

#include "Core/FileNames.h"

bool IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}
