// Registry access for tests, independent of the code under test: raw reads and writes,
// scratch trees, snapshots of whole trees compared and put back.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

bool RawKeyExists(HKEY root, const std::string& key);
void RawCreateKey(HKEY root, const std::string& key);
// The value's type, or REG_NONE when it cannot be read; its bytes go to `data`.
DWORD RawQuery(HKEY root, const std::string& key, const char* value, std::string* data);
// Writes a value, making its key when missing.
void RawSetValue(HKEY root, const std::string& key, const char* value, DWORD type, const void* data,
                 DWORD size);
void RawSetText(HKEY root, const std::string& key, const char* value, const std::string& text);
void RawSetNumber(HKEY root, const std::string& key, const char* value, DWORD number);
void RawDeleteValue(HKEY root, const std::string& key, const char* value);
// Removes a tree whatever the code under test did.
void RawDeleteTree(HKEY root, const std::string& key);
// A REG_SZ value as stored, without its terminating zero; "<none>" when it cannot be
// read, "<type N>" when it has another type.
std::string ReadText(HKEY root, const std::string& key, const char* value);
// A REG_DWORD value; 0xFFFFFFFF when there is none of that type and size.
DWORD ReadNumber(HKEY root, const std::string& key, const char* value);
// The four bytes of a REG_DWORD value as stored.
inline std::string DwordBytes(DWORD number) {
  return std::string(reinterpret_cast<const char*>(&number), 4);
}
// Makes a tree `depth` levels deep below `key`, `width` children on every key; returns the keys made.
int MakeTree(HKEY root, const std::string& key, int width, int depth);

// Every key and value of a tree, "subkey path|value name" ("path|(key)" for a key), to type and bytes.
using Snapshot = std::map<std::string, std::pair<DWORD, std::string>>;
Snapshot TakeSnapshot(HKEY root, const std::string& key);

// A tree of one of the roots HKCR, HKCU and HKLM; an empty key stands for every key below the root.
struct RegistryPlace {
  HKEY root;
  std::string key;
};
// The trees of `places` in one snapshot, by "ROOT\key path|value name".
Snapshot TakeSnapshot(const std::vector<RegistryPlace>& places);
// Lines "- name" (gone), "~ name" (changed) and "+ name" (added).
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after);
// Puts the trees of `places` back as `before` holds them: what was added since is deleted, what was
// removed or changed is written back.
void RestoreRegistry(const Snapshot& before, const std::vector<RegistryPlace>& places);

}  // namespace test_support
