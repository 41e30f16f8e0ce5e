#include "tools/ResourceReader.h"

namespace {

// Reads little-endian values at an offset, refusing any that would pass the end.
class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : bytes_(bytes) {}

  size_t Size() const { return bytes_.size(); }
  bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
  bool Word(size_t offset, uint16_t& value) const {
    if (!Has(offset, 2)) return false;
    value = static_cast<uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
    return true;
  }
  bool Dword(size_t offset, uint32_t& value) const {
    uint16_t low, high;
    if (!Word(offset, low) || !Word(offset + 2, high)) return false;
    value = low | static_cast<uint32_t>(high) << 16;
    return true;
  }
  // A zero-terminated UTF-16 text; `end` becomes the offset after its terminator.
  bool Text(size_t offset, std::u16string& text, size_t& end) const {
    text.clear();
    for (uint16_t unit; Word(offset, unit); offset += 2) {
      if (unit == 0) {
        end = offset + 2;
        return true;
      }
      text += static_cast<char16_t>(unit);
    }
    return false;
  }
  // `count` UTF-16 units.
  bool Units(size_t offset, size_t count, std::u16string& text) const {
    if (!Has(offset, count * 2)) return false;
    text.clear();
    for (size_t i = 0; i < count; ++i) text += static_cast<char16_t>(Byte(offset + 2 * i) | Byte(offset + 2 * i + 1) << 8);
    return true;
  }
  // A name or number as dialog templates and .res headers hold them: 0xFFFF and a
  // number, or a zero-terminated text (empty when the first unit is 0).
  bool NameOrNumber(size_t offset, ResourceName& name, size_t& end) const {
    uint16_t first;
    if (!Word(offset, first)) return false;
    name = ResourceName();
    if (first == 0xFFFF) {
      end = offset + 4;
      return Word(offset + 2, name.id);
    }
    name.numeric = false;
    return Text(offset, name.text, end);
  }
  std::string Slice(size_t offset, size_t count) const { return bytes_.substr(offset, count); }

 private:
  unsigned Byte(size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }

  const std::string& bytes_;
};

size_t AlignDword(size_t offset) {
  return (offset + 3) & ~static_cast<size_t>(3);
}

// Both readers stop at this many resources, whatever the input claims.
constexpr size_t kMaxResources = 4096;

// The resource section of an image: where its directory lies in the file and how its
// addresses map to file offsets.
class ImageSections {
 public:
  explicit ImageSections(const Bytes& bytes) : bytes_(bytes) {}

  bool Read(size_t& resourceOffset) {
    uint32_t header, signature;
    uint16_t sectionCount, optionalSize, magic;
    if (!bytes_.Dword(0x3C, header) || !bytes_.Dword(header, signature) || signature != 0x00004550) return false;
    const size_t optional = size_t{header} + 24;
    if (!bytes_.Word(header + 6, sectionCount) || !bytes_.Word(header + 20, optionalSize) ||
        !bytes_.Word(optional, magic))
      return false;
    const size_t directories = optional + (magic == 0x20B ? 112 : 96);
    const size_t countAt = directories - 4;
    uint32_t directoryCount, resourceAddress;
    if ((magic != 0x10B && magic != 0x20B) || !bytes_.Dword(countAt, directoryCount) || directoryCount < 3 ||
        !bytes_.Dword(directories + 16, resourceAddress) || resourceAddress == 0)
      return false;
    sections_ = optional + optionalSize;
    sectionCount_ = sectionCount;
    return FileOffset(resourceAddress, resourceOffset);
  }

  // The file offset of a relative virtual address inside one of the sections.
  bool FileOffset(uint32_t address, size_t& offset) const {
    for (size_t i = 0; i < sectionCount_; ++i) {
      const size_t at = sections_ + i * 40;
      uint32_t virtualSize, virtualAddress, rawSize, rawOffset;
      if (!bytes_.Dword(at + 8, virtualSize) || !bytes_.Dword(at + 12, virtualAddress) ||
          !bytes_.Dword(at + 16, rawSize) || !bytes_.Dword(at + 20, rawOffset))
        return false;
      if (address >= virtualAddress && address - virtualAddress < rawSize) {
        offset = size_t{rawOffset} + (address - virtualAddress);
        return bytes_.Has(offset, 0);
      }
    }
    return false;
  }

 private:
  const Bytes& bytes_;
  size_t sections_ = 0;
  size_t sectionCount_ = 0;
};

// Walks the three levels of a resource directory: type, name, language.
class ResourceDirectory {
 public:
  ResourceDirectory(const Bytes& bytes, const ImageSections& sections, size_t root, std::vector<Resource>& out)
      : bytes_(bytes), sections_(sections), root_(root), out_(out) {}

  void Walk(size_t offset, int level, Resource& resource) {
    uint16_t named, numbered;
    if (!bytes_.Word(offset + 12, named) || !bytes_.Word(offset + 14, numbered)) return;
    for (size_t i = 0; i < size_t{named} + numbered && ++visited_ <= kMaxEntries; ++i) {
      uint32_t name, target;
      const size_t entry = offset + 16 + i * 8;
      if (!bytes_.Dword(entry, name) || !bytes_.Dword(entry + 4, target)) return;
      ResourceName& slot = level == 0 ? resource.type : resource.name;
      if (level < 2 && !ReadName(name, slot)) continue;
      if (level == 2) resource.language = static_cast<uint16_t>(name);
      const bool subdirectory = (target & 0x80000000u) != 0;
      const size_t next = root_ + (target & 0x7FFFFFFFu);
      // Only languages hold data, only types and names subdirectories: no loops.
      if (level < 2 && subdirectory) Walk(next, level + 1, resource);
      if (level == 2 && !subdirectory) AddData(next, resource);
    }
  }

 private:
  bool ReadName(uint32_t name, ResourceName& slot) const {
    slot = ResourceName();
    if ((name & 0x80000000u) == 0) {
      slot.id = static_cast<uint16_t>(name);
      return true;
    }
    const size_t at = root_ + (name & 0x7FFFFFFFu);
    uint16_t length;
    slot.numeric = false;
    return bytes_.Word(at, length) && bytes_.Units(at + 2, length, slot.text);
  }

  void AddData(size_t entry, const Resource& resource) {
    uint32_t address, size;
    size_t offset;
    if (out_.size() >= kMaxResources || !bytes_.Dword(entry, address) || !bytes_.Dword(entry + 4, size) ||
        !sections_.FileOffset(address, offset) || !bytes_.Has(offset, size))
      return;
    out_.push_back(resource);
    out_.back().data = bytes_.Slice(offset, size);
  }

  const Bytes& bytes_;
  const ImageSections& sections_;
  const size_t root_;
  std::vector<Resource>& out_;
  // Entries may point at the same directory many times over: the walk is bounded.
  static constexpr size_t kMaxEntries = 16 * kMaxResources;
  size_t visited_ = 0;
};

std::string AsciiUpper(const std::u16string& text) {
  std::string upper;
  for (char16_t c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    upper += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  return upper;
}

}  // namespace

bool ReadResourceFile(const std::string& data, std::vector<Resource>& resources) {
  const Bytes bytes(data);
  resources.clear();
  size_t offset = 0;
  bool any = false;
  while (offset < bytes.Size() && resources.size() < kMaxResources) {
    uint32_t dataSize, headerSize;
    if (!bytes.Dword(offset, dataSize) || !bytes.Dword(offset + 4, headerSize) || headerSize < 32 ||
        !bytes.Has(offset, headerSize) || !bytes.Has(offset + headerSize, dataSize))
      return false;
    Resource resource;
    size_t end;
    if (!bytes.NameOrNumber(offset + 8, resource.type, end) || !bytes.NameOrNumber(end, resource.name, end) ||
        !bytes.Word(offset + headerSize - 10, resource.language))
      return false;
    // The first, empty resource only marks the file as 32-bit.
    if (dataSize != 0 || !resource.type.numeric || resource.type.id != 0) {
      resource.data = bytes.Slice(offset + headerSize, dataSize);
      resources.push_back(resource);
    }
    any = true;
    offset = AlignDword(offset + headerSize + dataSize);
  }
  return any;
}

bool ReadImageResources(const std::string& data, std::vector<Resource>& resources) {
  const Bytes bytes(data);
  resources.clear();
  ImageSections sections(bytes);
  size_t root;
  if (!sections.Read(root)) return false;
  Resource resource;
  ResourceDirectory(bytes, sections, root, resources).Walk(root, 0, resource);
  return true;
}

std::map<int, std::u16string> ReadStringTable(const std::vector<Resource>& resources) {
  std::map<int, std::u16string> strings;
  for (const Resource& resource : resources) {
    if (!resource.type.numeric || resource.type.id != kStringResource || !resource.name.numeric) continue;
    const Bytes bytes(resource.data);
    size_t offset = 0;
    for (int i = 0; i < 16; ++i) {
      uint16_t length;
      std::u16string text;
      if (!bytes.Word(offset, length) || !bytes.Units(offset + 2, length, text)) break;
      const int number = (resource.name.id - 1) * 16 + i;
      if (length > 0 && strings.count(number) == 0) strings[number] = text;
      offset += 2 + size_t{length} * 2;
    }
  }
  return strings;
}

bool ReadDialogTexts(const std::string& data, DialogTexts& texts) {
  const Bytes bytes(data);
  texts = DialogTexts();
  uint16_t version, signature, count;
  if (!bytes.Word(0, version) || !bytes.Word(2, signature)) return false;
  const bool extended = version == 1 && signature == 0xFFFF;
  uint32_t style;
  if (!bytes.Dword(extended ? 12 : 0, style) || !bytes.Word(extended ? 16 : 8, count)) return false;
  ResourceName menu, windowClass, item;
  size_t at;
  if (!bytes.NameOrNumber(extended ? 26 : 18, menu, at) || !bytes.NameOrNumber(at, windowClass, at) ||
      !bytes.Text(at, texts.caption, at))
    return false;
  const uint32_t kSetFont = 0x40;  // also part of the shell font style
  if ((style & kSetFont) != 0) {
    // The point size (and, in the extended form, weight, italic and character set), then the face name.
    std::u16string face;
    if (!bytes.Text(at + (extended ? 6 : 2), face, at)) return false;
  }
  for (uint16_t i = 0; i < count; ++i) {
    at = AlignDword(at) + (extended ? 24 : 18);
    uint16_t extra;
    if (!bytes.NameOrNumber(at, windowClass, at) || !bytes.NameOrNumber(at, item, at) || !bytes.Word(at, extra))
      return false;
    if (!item.numeric && !item.text.empty()) texts.controls.emplace_back(i + 1, item.text);
    at += 2 + extra;
  }
  return true;
}

const Resource* FindDialog(const std::vector<Resource>& resources, const std::string& name) {
  const std::string wanted = AsciiUpper(std::u16string(name.begin(), name.end()));
  for (const Resource& resource : resources) {
    if (resource.type.numeric && resource.type.id == kDialogResource && !resource.name.numeric &&
        AsciiUpper(resource.name.text) == wanted)
      return &resource;
  }
  return nullptr;
}

std::vector<std::string> DialogNames(const std::vector<Resource>& resources) {
  std::vector<std::string> names;
  for (const Resource& resource : resources) {
    if (resource.type.numeric && resource.type.id == kDialogResource && !resource.name.numeric)
      names.push_back(AsciiUpper(resource.name.text));
  }
  return names;
}
