#include "test_registry.h"

#include <cstring>

namespace test_support {

bool RawKeyExists(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void RawCreateKey(HKEY root, const std::string& key) {
  HKEY made = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr) == ERROR_SUCCESS)
    RegCloseKey(made);
}

DWORD RawQuery(HKEY root, const std::string& key, const char* value, std::string* data) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return REG_NONE;
  char buffer[2048];
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  LONG result = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return REG_NONE;
  data->assign(buffer, size);
  return type;
}

void RawSetValue(HKEY root, const std::string& key, const char* value, DWORD type, const void* data,
                 DWORD size) {
  RegSetKeyValueA(root, key.c_str(), value, type, data, size);
}

void RawSetText(HKEY root, const std::string& key, const char* value, const std::string& text) {
  RawSetValue(root, key, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void RawSetNumber(HKEY root, const std::string& key, const char* value, DWORD number) {
  RawSetValue(root, key, value, REG_DWORD, &number, sizeof number);
}

void RawDeleteValue(HKEY root, const std::string& key, const char* value) {
  RegDeleteKeyValueA(root, key.c_str(), value);
}

void RawDeleteTree(HKEY root, const std::string& key) {
  RegDeleteTreeA(root, key.c_str());
}

std::string ReadText(HKEY root, const std::string& key, const char* value) {
  std::string text;
  const DWORD type = RawQuery(root, key, value, &text);
  if (type == REG_NONE) return "<none>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

DWORD ReadNumber(HKEY root, const std::string& key, const char* value) {
  std::string data;
  DWORD number = 0xFFFFFFFF;
  if (RawQuery(root, key, value, &data) == REG_DWORD && data.size() == sizeof number)
    memcpy(&number, data.data(), sizeof number);
  return number;
}

int MakeTree(HKEY root, const std::string& key, int width, int depth) {
  RawCreateKey(root, key);
  int made = 1;
  if (depth == 0) return made;
  for (int i = 0; i < width; ++i) made += MakeTree(root, key + "\\k" + std::to_string(i), width, depth - 1);
  return made;
}

namespace {

std::vector<std::string> SubkeysOf(HKEY key) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
  return names;
}

void AddToSnapshot(HKEY root, const std::string& key, const std::string& prefix, Snapshot* snapshot) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  (*snapshot)[prefix + "|(key)"] = {REG_NONE, ""};
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    DWORD type = REG_NONE;
    if (RegEnumValueA(opened, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    (*snapshot)[prefix + "|" + name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
  }
  const std::vector<std::string> children = SubkeysOf(opened);
  RegCloseKey(opened);
  for (const std::string& child : children)
    AddToSnapshot(root, key + "\\" + child, prefix + "\\" + child, snapshot);
}

const struct {
  HKEY root;
  const char* name;
} kRoots[] = {{HKEY_CLASSES_ROOT, "HKCR"}, {HKEY_CURRENT_USER, "HKCU"}, {HKEY_LOCAL_MACHINE, "HKLM"}};

std::string RootName(HKEY root) {
  for (const auto& known : kRoots)
    if (known.root == root) return known.name;
  return "?";
}

// A snapshot entry "ROOT\key|value" in its parts; `value` is "(key)" for the key itself.
void SplitEntry(const std::string& entry, HKEY* root, std::string* key, std::string* value) {
  const size_t slash = entry.find('\\'), bar = entry.find('|');
  for (const auto& known : kRoots)
    if (entry.compare(0, slash, known.name) == 0) *root = known.root;
  *key = entry.substr(slash + 1, bar - slash - 1);
  *value = entry.substr(bar + 1);
}

}  // namespace

Snapshot TakeSnapshot(HKEY root, const std::string& key) {
  Snapshot snapshot;
  AddToSnapshot(root, key, "", &snapshot);
  return snapshot;
}

Snapshot TakeSnapshot(const std::vector<RegistryPlace>& places) {
  Snapshot all;
  for (const RegistryPlace& place : places) {
    std::vector<std::string> keys = {place.key};
    if (place.key.empty()) keys = SubkeysOf(place.root);
    for (const std::string& key : keys) {
      for (const auto& [name, value] : TakeSnapshot(place.root, key))
        all[RootName(place.root) + "\\" + key + name] = value;
    }
  }
  return all;
}

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> lines;
  for (const auto& [name, value] : before) {
    auto found = after.find(name);
    if (found == after.end()) {
      lines.push_back("- " + name);
    } else if (found->second != value) {
      lines.push_back("~ " + name);
    }
  }
  for (const auto& entry : after)
    if (before.count(entry.first) == 0) lines.push_back("+ " + entry.first);
  return lines;
}

void RestoreRegistry(const Snapshot& before, const std::vector<RegistryPlace>& places) {
  HKEY root = nullptr;
  std::string key, value;
  // What went or changed is written back; a key added since holds only what was added with it.
  for (const std::string& line : Differences(before, TakeSnapshot(places))) {
    const std::string entry = line.substr(2);
    SplitEntry(entry, &root, &key, &value);
    if (line[0] == '+' && value == "(key)") {
      RawDeleteTree(root, key);
    } else if (line[0] == '+') {
      RawDeleteValue(root, key, value.c_str());
    } else if (value == "(key)") {
      RawCreateKey(root, key);
    } else {
      const auto& [type, bytes] = before.at(entry);
      RawSetValue(root, key, value.c_str(), type, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
  }
}

}  // namespace test_support
