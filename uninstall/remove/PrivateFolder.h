// Places of their own for the self-removal batch in the temporary folder, which every
// process of the user may write to while the interpreter, which reads a batch line by
// line as it runs, carries it out with the uninstall's rights.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/WinHandles.h"

// Makes a new name "<parent>Kzp?????<suffix>" with `create`, trying random names until
// one did not exist yet; `parent` ends with a backslash. `create` makes the thing new
// (never through what stands at the name) and returns false when it could not, with the
// system's error. False when no name fits `capacity` or could be made.
bool MakeNewName(const char* parent, const char* suffix, char* path, size_t capacity,
                 bool (*create)(const char* path, void* context), void* context);

// The security that the folder made for the batch and the batch file get on the NT
// family: only the system, the administrators and this user may open them, nothing is
// inherited from the temporary folder, and, when the program runs elevated (high
// integrity, Windows Vista and later), processes of lower integrity cannot change them.
class PrivateSecurity {
 public:
  PrivateSecurity();
  ~PrivateSecurity();
  PrivateSecurity(const PrivateSecurity&) = delete;
  PrivateSecurity& operator=(const PrivateSecurity&) = delete;

  // Null when this system could not describe it.
  SECURITY_ATTRIBUTES* Attributes() {
    return attributes_.lpSecurityDescriptor != nullptr ? &attributes_ : nullptr;
  }

 private:
  SECURITY_ATTRIBUTES attributes_ = {sizeof attributes_, nullptr, FALSE};
};

// That security in the string form, for the user's SID and the SID of the process's
// integrity level ("S-1-16-12288" is high; empty before Vista).
std::string PrivateSecurityText(const std::string& user, const std::string& integrity);

// Makes a new folder "<parent>Kzp?????" with that security; false when none was made.
bool MakePrivateFolder(const char* parent, PrivateSecurity& security, char* folder, size_t capacity);

// Creates the file `path` new for writing, with `security` (null: the default); an
// existing file, link or folder at the name makes it fail. Invalid when it failed.
KernelHandle CreateNewFile(const char* path, SECURITY_ATTRIBUTES* security);
