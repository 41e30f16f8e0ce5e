// Removing the archiver's registration: its associations (given back to their earlier
// owners), its shell extension, its shortcuts and program groups, its classes, its
// entries in the system's lists and its per-user settings.
#pragma once

void RemoveRegistration();
