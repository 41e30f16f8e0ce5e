// Built into a copy of uninstall.exe for the tests: every key of HKEY_LOCAL_MACHINE
// refuses changes, as it does for a user without administrator rights.
#include "registry/ChangeFilter.h"

namespace {
bool OnlyUserKeys(HKEY root, const char*) { return root != HKEY_LOCAL_MACHINE; }
const ChangeFilter kNoneBefore = SetChangeFilter(OnlyUserKeys);  // before WinMain runs
}  // namespace
