// Resources read from their bytes, without the system's loader: the compiled resource
// file (.res) of the program's own resource script, and the resource section of a
// library (a PE image). Both hand out the same resource data, from which the texts of
// string tables and dialog templates are taken. Every offset is checked against the
// bytes: any input is read safely, and what does not fit is left out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct ResourceName {
  bool numeric = true;
  uint16_t id = 0;
  std::u16string text;  // for a named resource
};

struct Resource {
  ResourceName type;
  ResourceName name;
  uint16_t language = 0;
  std::string data;
};

constexpr uint16_t kDialogResource = 5;
constexpr uint16_t kStringResource = 6;

// The resources of a .res file; false when the bytes are not one.
bool ReadResourceFile(const std::string& bytes, std::vector<Resource>& resources);
// The resources of a PE image; false when the bytes are not one or it has no resource section.
bool ReadImageResources(const std::string& bytes, std::vector<Resource>& resources);

// The strings of the string table, by number (each block holds 16 of them).
std::map<int, std::u16string> ReadStringTable(const std::vector<Resource>& resources);

// The texts of a dialog template (DIALOG or DIALOGEX): its caption and, in the order of
// its controls, the texts of those whose title is a text (not a resource number), each
// with the control's place in that order (from 1).
struct DialogTexts {
  std::u16string caption;
  std::vector<std::pair<size_t, std::u16string>> controls;
};
bool ReadDialogTexts(const std::string& data, DialogTexts& texts);

// The dialog of that name, compared in any case as the system's loader does; null when there is none.
const Resource* FindDialog(const std::vector<Resource>& resources, const std::string& name);
// The names of the dialog resources that have one, in ASCII upper case.
std::vector<std::string> DialogNames(const std::vector<Resource>& resources);
