// The files and folders below a folder, taken once, in which the deletion passes of the
// uninstall can be played through without deleting anything. Names are found the way
// the system finds them: either separator, letters in any case, "." parts and doubled
// separators ignored, trailing dots and blanks of the last part dropped.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class FolderSnapshot {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  static constexpr size_t kRoot = 0;

  FolderSnapshot();

  // Adds a file or folder found below the root; `path` is relative, its parts joined by
  // backslashes, its folders added before it.
  void Add(const std::string& path, bool folder);

  // The node an entry of the list names, relative to the root; kNone when there is none.
  // With `removed` also one that a deletion has taken.
  size_t Resolve(const char* entry, bool removed = false) const;
  // Deletes a file, or a folder that holds nothing any more, as the system would; false
  // for the root, for something already gone and for a kept node.
  bool Remove(size_t node);
  // A node that a deletion never removes (a file that is open or running).
  void Keep(size_t node) { nodes_[node].kept = true; }

  bool IsFolder(size_t node) const { return nodes_[node].folder; }
  bool IsPresent(size_t node) const { return nodes_[node].present; }
  // The path of a node relative to the root, parts joined by backslashes.
  std::string PathOf(size_t node) const;
  // Every node still present below the root, in the order they were added.
  std::vector<size_t> Present() const;
  // The first node still present inside a folder, or kNone.
  size_t FirstPresentInside(size_t folder) const;

 private:
  struct Node {
    std::string name;
    size_t parent = kNone;
    bool folder = false;
    bool present = true;
    bool kept = false;
    std::vector<size_t> children;
  };

  size_t Child(size_t folder, const std::string& name) const;

  std::vector<Node> nodes_;
};

// Takes the snapshot of a folder of this machine's file system. False, with the
// system's reason, when the folder cannot be read.
bool ScanFolder(const std::string& folder, FolderSnapshot& snapshot, std::string& error);
