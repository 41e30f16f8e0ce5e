// File associations: the archive extensions taken over by the archiver and given back
// to their previous owners, the archiver's classes, and the Explorer New-menu entries
// that create an empty KZP or ZIP archive.
#pragma once

#include "integration/SetupOptions.h"

// The archiver's classes under HKEY_CLASSES_ROOT.
inline constexpr char kArchiveClass[] = "Zendra";
inline constexpr char kZipClass[] = "Zendra.ZIP";
inline constexpr char kRecoveryClass[] = "Zendra.REV";
// The recovery-volume extension, always associated with kRecoveryClass.
inline constexpr char kRecoveryExtension[] = ".rev";

struct AssociationGroup {
  const char* name;        // "KZP", "ZIP", ...
  const char* extensions;  // the extensions run together: ".lzh.lha"
  const char* className;   // the class the group's extensions get
};

// The groups in the order of the association flags of SetupOptions.
extern const AssociationGroup AssociationGroups[kAssociationGroupCount];

// True when HKEY_CLASSES_ROOT\extension names one of the archiver's classes.
bool IsOwnAssociation(const char* extension);

// Takes every extension of each chosen group (recording its previous owner once) and
// gives back every extension of the other groups that is still the archiver's. With
// Explorer integration on it also sets the New-menu entries of .kzp and .zip. Does
// not notify the shell.
void SetAssociations(const SetupOptions& options);

// Writes the archiver's classes and tells the shell that associations changed.
void RegisterProgIds();

// Whether this process may change the machine's keys of every extension the groups
// take (with the New-menu keys and the volumes), of ".rev" and of the archiver's classes.
bool CanChangeAssociationKeys();
