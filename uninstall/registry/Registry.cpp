#include "registry/Registry.h"

#include <cstring>

#include "base/TextHelpers.h"
#include "registry/ChangeFilter.h"

bool MakeKeyName(HKEY root, const char* name, char* fullName, int capacity) {
  if (capacity <= 0) return false;
  fullName[0] = '\0';
  if (strlen(name) > static_cast<size_t>(capacity > 20 ? capacity - 20 : 0)) return false;
  if (root != HKEY_CURRENT_USER) return CopyText(fullName, capacity, name);
  if (name[0] == '\\') return CopyText(fullName, capacity, name + 1);
  return FormatText(fullName, capacity, "%s%s%s", kProductKey, name[0] != '\0' ? "\\" : "", name);
}

KeyHandle CreateKeyForWrite(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, name, fullName)) return KeyHandle();
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, fullName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return KeyHandle();
  return KeyHandle(key);
}

KeyHandle OpenFullKey(HKEY root, const char* fullName, REGSAM access, LONG* result) {
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExA(root, fullName, 0, access, &key);
  if (result != nullptr) *result = opened;
  return KeyHandle(opened == ERROR_SUCCESS ? key : nullptr);
}

KeyHandle OpenKeyForRead(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, name, fullName)) return KeyHandle();
  return OpenFullKey(root, fullName, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
}

namespace {

void WriteValue(HKEY root, const char* key, const char* value, DWORD type, const void* data, DWORD size) {
  const KeyHandle handle = CreateKeyForWrite(root, key);
  if (!handle) return;
  RegSetValueExA(handle.Get(), value, 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

void WriteString(HKEY root, const char* key, const char* value, const char* text) {
  WriteValue(root, key, value, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

void WriteDword(HKEY root, const char* key, const char* value, DWORD number) {
  WriteValue(root, key, value, REG_DWORD, &number, sizeof number);
}

void WriteBinary(HKEY root, const char* key, const char* value, const void* data, DWORD size) {
  WriteValue(root, key, value, REG_BINARY, data, size);
}

bool ReadString(HKEY root, const char* key, const char* value, char* buffer, DWORD size,
                const char* defaultText) {
  if (size == 0) return false;
  const KeyHandle handle = OpenKeyForRead(root, key);
  DWORD length = size;
  if (handle && RegQueryValueExA(handle.Get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                                 &length) == ERROR_SUCCESS) {
    // Values stored without their terminating zero are terminated here; one that
    // fills the whole buffer loses its last byte for it.
    if (length < size)
      buffer[length] = '\0';
    else if (buffer[size - 1] != '\0') {
      buffer[size - 1] = '\0';
      TrimPartialChar(buffer);
    }
    return true;
  }
  CopyText(buffer, size, defaultText);
  return false;
}

DWORD ReadDword(HKEY root, const char* key, const char* value, DWORD defaultNumber) {
  const KeyHandle handle = OpenKeyForRead(root, key);
  if (!handle) return defaultNumber;
  DWORD number = 0;
  DWORD length = sizeof number;
  if (RegQueryValueExA(handle.Get(), value, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &length) !=
      ERROR_SUCCESS)
    return defaultNumber;
  return number;
}

void WriteUserString(const char* key, const char* value, const char* text) {
  WriteString(HKEY_CURRENT_USER, key, value, text);
}

void WriteUserDword(const char* key, const char* value, DWORD number) {
  WriteDword(HKEY_CURRENT_USER, key, value, number);
}

bool ReadUserString(const char* key, const char* value, char* buffer, DWORD size, const char* defaultText) {
  return ReadString(HKEY_CURRENT_USER, key, value, buffer, size, defaultText);
}

DWORD ReadUserDword(const char* key, const char* value, DWORD defaultNumber) {
  return ReadDword(HKEY_CURRENT_USER, key, value, defaultNumber);
}

void DeleteKey(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, name, fullName)) return;
  RegDeleteKeyA(root, fullName);
}

void DeleteValue(HKEY root, const char* key, const char* value) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, key, fullName)) return;
  const KeyHandle handle = OpenFullKey(root, fullName, KEY_WRITE);
  if (handle) RegDeleteValueA(handle.Get(), value);
}

bool KeyExists(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, name, fullName)) return false;
  return static_cast<bool>(OpenFullKey(root, fullName, KEY_QUERY_VALUE));
}

bool CanChangeKey(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  if (!MakeKeyName(root, name, fullName)) return false;
  REGSAM access = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE;
  for (;;) {
    LONG result = ERROR_SUCCESS;
    if (OpenFullKey(root, fullName, access, &result)) return PassesChangeFilter(root, fullName);
    // Only a missing key sends the question up; a refusal is the answer.
    if (result != ERROR_FILE_NOT_FOUND || fullName[0] == '\0') return false;
    // A missing key is made below the one above it (the root for a name of one part).
    char* parent = FindLastChar(fullName, '\\');
    if (parent != nullptr)
      *parent = '\0';
    else
      fullName[0] = '\0';
    access = KEY_CREATE_SUB_KEY;
  }
}
