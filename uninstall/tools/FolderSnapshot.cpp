#include "tools/FolderSnapshot.h"

#include <cstring>

#include "base/TextHelpers.h"

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compared as the system does for the letters of the Latin alphabet; double-byte
// characters compare whole and exactly.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (const char *p = a.c_str(), *q = b.c_str(); *p != '\0'; p = NextChar(p), q = NextChar(q)) {
    const size_t length = static_cast<size_t>(NextChar(p) - p);
    if (static_cast<size_t>(NextChar(q) - q) != length) return false;
    if (length == 1 ? LowerAscii(*p) != LowerAscii(*q) : memcmp(p, q, length) != 0) return false;
  }
  return true;
}

// The parts of an entry, split at separators outside double-byte characters.
std::vector<std::string> SplitParts(const char* entry) {
  std::vector<std::string> parts(1);
  for (const char* p = entry; *p != '\0';) {
    const char* next = NextChar(p);
    if (IsPathDiv(*p)) {
      parts.emplace_back();
    } else {
      parts.back().append(p, next);
    }
    p = next;
  }
  return parts;
}

}  // namespace

FolderSnapshot::FolderSnapshot() : nodes_(1) {
  nodes_[kRoot].folder = true;
}

void FolderSnapshot::Add(const std::string& path, bool folder) {
  const std::vector<std::string> parts = SplitParts(path.c_str());
  size_t parent = kRoot;
  for (size_t i = 0; i + 1 < parts.size() && parent != kNone; ++i) parent = Child(parent, parts[i]);
  if (parent == kNone || !nodes_[parent].folder) return;
  Node node;
  node.name = parts.back();
  node.parent = parent;
  node.folder = folder;
  nodes_.push_back(node);
  nodes_[parent].children.push_back(nodes_.size() - 1);
}

size_t FolderSnapshot::Child(size_t folder, const std::string& name) const {
  for (size_t child : nodes_[folder].children)
    if (SameName(nodes_[child].name, name)) return child;
  return kNone;
}

size_t FolderSnapshot::Resolve(const char* entry, bool removed) const {
  std::vector<std::string> parts = SplitParts(entry);
  // A trailing separator names a folder; the last name loses its trailing dots and blanks.
  const bool folderOnly = parts.size() > 1 && parts.back().empty();
  std::string& last = parts[folderOnly ? parts.size() - 2 : parts.size() - 1];
  while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
  size_t node = kRoot;
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (!nodes_[node].folder) return kNone;
    node = Child(node, part);
    if (node == kNone || (!nodes_[node].present && !removed)) return kNone;
  }
  if (folderOnly && !nodes_[node].folder) return kNone;
  return node;
}

bool FolderSnapshot::Remove(size_t node) {
  if (node == kNone || node == kRoot || !nodes_[node].present || nodes_[node].kept) return false;
  if (nodes_[node].folder && FirstPresentInside(node) != kNone) return false;
  nodes_[node].present = false;
  return true;
}

std::string FolderSnapshot::PathOf(size_t node) const {
  std::string path;
  for (; node != kRoot && node != kNone; node = nodes_[node].parent)
    path = nodes_[node].name + (path.empty() ? "" : "\\") + path;
  return path;
}

std::vector<size_t> FolderSnapshot::Present() const {
  std::vector<size_t> present;
  for (size_t node = 1; node < nodes_.size(); ++node)
    if (nodes_[node].present) present.push_back(node);
  return present;
}

size_t FolderSnapshot::FirstPresentInside(size_t folder) const {
  for (size_t child : nodes_[folder].children) {
    if (nodes_[child].present) return child;
  }
  return kNone;
}
