// Whether this process has the rights to change the machine-wide keys of the setup and
// the uninstall. Without administrator rights those changes fail one by one while the
// per-user ones succeed; the callers ask first and then change nothing at all.
#pragma once

// A key of HKEY_CLASSES_ROOT, asked where the setup's writes of it land: among the
// machine's classes (HKEY_LOCAL_MACHINE\Software\Classes).
bool CanChangeMachineClassKey(const char* name);

// The associations and classes, the shell extension's class, handlers and approval, and
// the App Paths and Uninstall entries.
bool CanChangeMachineKeys();
