// The Explorer New-menu entries of .kzp and .zip, which create an empty archive.
#pragma once

enum class ArchiveTemplate { kKzp, kZip };

// Replaces the ShellNew key of `extension`: on systems that take New-menu templates
// from files, the template file in the program folder (made once, never rewritten)
// named by "FileName"; on older ones the template itself as the binary value "Data".
void SetNewMenuEntry(const char* extension, ArchiveTemplate kind);
