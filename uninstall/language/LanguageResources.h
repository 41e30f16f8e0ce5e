// The language text file: a section of entries that map the CRC-32 key of a default text
// to its translation. The parsing and lookup here are platform-free; loading the file
// (LanguageFile.cpp) is built for Windows only, and the dialogs that use the entries
// are localised in DialogLayout.h.
#pragma once

#include <cstdint>
#include <new>

#include "base/Array.h"

enum class TranslationCategory { Message = 0, Dialog = 1, Other = 2 };

class LanguageResources {
 public:
  // The section is read from its marker on, at most this many bytes.
  static constexpr int kSectionSize = 65536;
  static constexpr int kMarkerBlockSize = 8192;
  static constexpr int kMarkerBlocks = 16;
  static constexpr int kMarkerOverlap = 16;
  static constexpr int kKeyLength = 8;
  // Text buffers and the number of children that dialog localisation handles.
  static constexpr int kDialogTextSize = 1024;
  static constexpr int kScaleTextSize = 512;
  static constexpr int kMaxDialogChildren = 512;

  LanguageResources() = default;
  LanguageResources(const LanguageResources&) = delete;
  LanguageResources& operator=(const LanguageResources&) = delete;
  ~LanguageResources() { Clear(); }

  bool IsLoaded() const { return text != nullptr; }
  void Clear();

  // Finds the section marker in a byte source (Read, Seek, Tell like File), reads the
  // section and builds the index. Returns whether a section is held afterwards.
  template <class Source>
  bool LoadFrom(Source& source);
  // How far a search for the section marker went: the last offset it tested (-1 when it
  // read too little to test one) and whether it read up to the end of the source.
  struct MarkerSearch {
    int64_t lastTested = -1;
    bool reachedEnd = false;
  };
  // The offset of the section marker in a byte source, looked for from the source's
  // position in at most kMarkerBlocks overlapping blocks; -1 when it is not found there.
  // A block's last kMarkerOverlap - 1 offsets are tested with the next block only, so
  // the last few bytes of a source are never tested.
  template <class Source>
  static int64_t FindSectionMarker(Source& source, MarkerSearch* search = nullptr);
  // Takes a raw section (starting at its marker): converts the escapes and line ends,
  // builds and sorts the line index.
  bool SetSection(const char* raw, int length);
  // One step of that conversion: the character that the raw text at `raw` (with
  // `available` characters) gives, and how many raw characters it takes: 2 for an
  // escape, 1 otherwise, 0 at a NUL, which ends the section.
  static int ConvertStep(const char* raw, int available, char* converted);

  // Writes the translation of `source`, or the text itself when there is none, into
  // `output` of `capacity` characters, cut to fit. `output` may be `source`.
  void Translate(const char* source, char* output, int capacity, const char* section = nullptr,
                 TranslationCategory category = TranslationCategory::Message) const;
  // Looks an eight-digit key up (index first, then a scan of the whole section) and
  // copies the entry's text; false when no entry has that key.
  bool TranslateKey(const char* key, char* output, int capacity) const;
  // The offset in `text` of the line that a lookup of the key finds, or -1.
  int FindEntry(const char* key) const;
  // Copies the text of the entry that starts at `line` into `output`, cut to fit.
  void CopyEntry(int line, char* output, int capacity) const;
  static void MakeKey(const char* source, const char* section, TranslationCategory category,
                      char key[kKeyLength + 1]);

  // The scale entry of a dialog: percentages, and whether scaling is needed.
  bool GetDialogScale(const char* dialogName, int* scaleX, int* scaleY) const;
  // The reading-direction entry of the language file says "RTL".
  bool DirectionEntryIsRightToLeft() const;

  // Reads the language file (a bare name is looked for next to the program), builds the
  // index and detects the reading direction. Failures leave no section held.
  void Load(const char* fileName);
  // Right to left when the language library has a dialog named "RTL" or the language
  // file's direction entry says so.
  void DetectLayout();

  char* text = nullptr;
  int textLength = 0;
  Array<int> lineIndex;
  bool rightToLeft = false;

 private:
  static int FindMarker(const char* block, int size);
  int FindLine(const char* key) const;
  int ScanForLine(const char* key) const;
};

template <class Source>
int64_t LanguageResources::FindSectionMarker(Source& source, MarkerSearch* search) {
  MarkerSearch unused;
  MarkerSearch& searched = search != nullptr ? *search : unused;
  char block[kMarkerBlockSize];
  for (int i = 0; i < kMarkerBlocks; ++i) {
    int64_t position = source.Tell();
    int n = source.Read(block, kMarkerBlockSize);
    searched.reachedEnd = searched.reachedEnd || n < kMarkerBlockSize;
    if (n < kMarkerOverlap) break;
    searched.lastTested = position + n - kMarkerOverlap;
    int offset = FindMarker(block, n);
    if (offset >= 0) return position + offset;
    source.Seek(position + n - kMarkerOverlap, 0);
  }
  return -1;
}

template <class Source>
bool LanguageResources::LoadFrom(Source& source) {
  Clear();
  int64_t marker = FindSectionMarker(source);
  if (marker < 0) return false;
  char* raw = new (std::nothrow) char[kSectionSize];
  if (raw == nullptr) return false;
  source.Seek(marker, 0);
  int n = source.Read(raw, kSectionSize);
  bool held = n > 0 && SetSection(raw, n);
  delete[] raw;
  return held;
}

// The language file of the process.
extern LanguageResources languageResources;
