// Registration of the archiver's shell extension library and its Explorer handlers.
#pragma once

#include "integration/SetupOptions.h"

// The class under which the shell extension library serves its objects.
inline constexpr char kShellExtensionClassId[] = "{6E3F1B2A-94C7-4D58-8A1E-C5B20F7D3946}";

// Registers the extension and its handler entries with Explorer integration on,
// removes them with it off.
void SetShellExtension(const SetupOptions& options);

// Whether this process may change the machine's keys that the registration writes: the
// class, the handler entries and the list of approved extensions.
bool CanChangeShellExtensionKeys();
