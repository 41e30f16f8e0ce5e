// The folder that the uninstall empties: the folder of the program's own file.
#pragma once

// Cuts the program's full file name to its folder: before its last backslash, or just
// after it when a drive colon precedes it (the root folder of a drive keeps its
// backslash). False, with the path unchanged, when the name holds no backslash. The
// trail byte of a double-byte character is never taken for the backslash.
bool CutToFolder(char* path);
