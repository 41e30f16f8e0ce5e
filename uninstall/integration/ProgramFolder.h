// The program folder: the folder of this program's own file, where the archiver's
// other files lie.
#pragma once

#include <cstddef>

// Callers size their path buffers with kPathSize.
#include "base/TextHelpers.h"

// This program's full file name. False when it cannot be read or does not fit.
bool GetProgramPath(char* path, size_t capacity);

// This program's file name with its name part replaced by `fileName`. False when the
// result does not fit: a path is never cut into another path.
bool MakeProgramFilePath(const char* fileName, char* path, size_t capacity);

// Makes GetProgramPath give `modulePath` instead of the real module file name (null
// restores the real one). Lets tests place the program folder in a scratch folder.
void OverrideProgramPath(const char* modulePath);
