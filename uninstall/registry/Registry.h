// Every registry access of the program goes through these functions. Names under
// HKEY_CURRENT_USER are relative to "Software\Zendra" unless they start with a
// backslash; every read takes a default that stands in for a missing key or value;
// writers open and close the key for each single value. No function reports an error.
#pragma once

#include <windows.h>

#include "base/WinHandles.h"

constexpr int kKeyNameSize = 256;
// The archiver's own per-user key.
inline constexpr char kProductKey[] = "Software\\Zendra";

// Builds the full key name; fails (returns false) when the name is longer than
// capacity - 20 or the result does not fit.
bool MakeKeyName(HKEY root, const char* name, char* fullName, int capacity = kKeyNameSize);

// Empty when the key cannot be created or opened.
KeyHandle CreateKeyForWrite(HKEY root, const char* name);
KeyHandle OpenKeyForRead(HKEY root, const char* name);
// Opens a key by its full name, as it is below the root (no product key is put before
// it). Empty when it cannot be opened; `result` then has the system's reason.
KeyHandle OpenFullKey(HKEY root, const char* fullName, REGSAM access, LONG* result = nullptr);

void WriteString(HKEY root, const char* key, const char* value, const char* text);
void WriteDword(HKEY root, const char* key, const char* value, DWORD number);
void WriteBinary(HKEY root, const char* key, const char* value, const void* data, DWORD size);

// Reads a value into a buffer of `size` bytes; the result is always terminated inside
// the buffer. A missing key or value, or one larger than the buffer, gives the default
// and false.
bool ReadString(HKEY root, const char* key, const char* value, char* buffer, DWORD size,
                const char* defaultText);
DWORD ReadDword(HKEY root, const char* key, const char* value, DWORD defaultNumber);

void WriteUserString(const char* key, const char* value, const char* text);
void WriteUserDword(const char* key, const char* value, DWORD number);
bool ReadUserString(const char* key, const char* value, char* buffer, DWORD size, const char* defaultText);
DWORD ReadUserDword(const char* key, const char* value, DWORD defaultNumber);

// Deletes one key; a key that still has subkeys stays on the NT family.
void DeleteKey(HKEY root, const char* name);
void DeleteValue(HKEY root, const char* key, const char* value);
bool KeyExists(HKEY root, const char* name);
// Whether this process may change the key: when it exists, set its values, make keys
// below it and delete it; when it does not, make it below the nearest key above it that
// exists. False when the name is refused or the rights are missing.
bool CanChangeKey(HKEY root, const char* name);
// Deletes a key with everything below it.
void DeleteKeyTree(HKEY root, const char* name);
