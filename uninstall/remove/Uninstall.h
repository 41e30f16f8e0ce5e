// The uninstall procedure, run when the command line holds no switch: after the user's
// confirmation it removes the archiver's registration and the files of the
// installation list, then leaves the removal of this program and its folder to a batch
// file and ends the process.
#pragma once

// Returns only when it stops early, with nothing changed: no folder in the program's
// path, the confirmation declined, the list not openable, or the batch file that
// removes the program not writable or not startable (temporary folder, a path without
// an exact form in the OEM code page, the interpreter, the length of a path or of the
// command line). Otherwise it ends the process with exit code 0.
void RunUninstall();

// For "/warning", which the batch starts when this program's file stayed after its
// tries: the file and its folder go at the next restart. Only while the batch runs
// after an uninstall (the batch file is there, the list is gone from the folder).
void RemoveProgramAtRestart();
