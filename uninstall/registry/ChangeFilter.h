// A test's say in which keys CanChangeKey (Registry.h) finds changeable: a program
// built for a test sets a filter that makes chosen keys refuse, as keys without the
// rights would. The program itself never sets one.
#pragma once

#include <windows.h>

// True when the key `fullName` under `root` may be changed. `fullName` is the key that
// CanChangeKey opened: the nearest existing key of the name it was asked about.
using ChangeFilter = bool (*)(HKEY root, const char* fullName);

// Sets the filter (null: none, the default); returns the one set before.
ChangeFilter SetChangeFilter(ChangeFilter filter);
// True without a filter, otherwise the filter's answer.
bool PassesChangeFilter(HKEY root, const char* fullName);
