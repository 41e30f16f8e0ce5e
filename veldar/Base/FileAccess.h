// Whole-file reading and safe replacing of a file, with the system's own reason text on
// failure (in the system's language and code page), so that a caller can show it. The
// installer's own file calls report their errors with the same text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The system's text for an error code (GetLastError on Windows, errno elsewhere),
// without the trailing line break; on Windows the code in hexadecimal when the system
// has no text for it.
std::string SystemErrorText(unsigned long code);

// True for an existing file, false for a folder or nothing.
bool FileExists(const std::string& name);

// A file operation that failed: what failed, on which file, and the system's error code
// (GetLastError on Windows, errno elsewhere) with the system's text for it, taken when
// it failed. Every file operation of the installer and its tools reports this way.
struct FileFailure {
  enum class Kind {
    Read,     // the file could not be opened or read
    Write,    // the file, or a folder on its way, could not be created, written or replaced
    BadName,  // the name cannot name a file; nothing was asked of the system
    Link,     // `file` is a folder on the way that is a link, which is not followed
  };
  Kind kind = Kind::Read;
  std::string file;         // the name the caller gave, or the folder that is a link
  unsigned long error = 0;  // the system's code; 0 for BadName and Link, and when the system gave none
  std::string reason;       // the system's text for `error`, or why the failure has no code
};

// Fills `failure` with the system's text for `error` and returns false, so that a failed
// step ends with `return FileFailed(...)`.
inline bool FileFailed(FileFailure& failure, FileFailure::Kind kind, const std::string& file,
                       unsigned long error) {
  failure = {kind, file, error, SystemErrorText(error)};
  return false;
}

// Reads the whole file into `data`.
bool ReadWholeFile(const std::string& file, std::string& data, FileFailure& failure);

// Writes `data` to a new file in the same folder as `file` and renames it over `file`
// only once it is complete, so a failure never leaves a half-written `file` and keeps
// an existing one as it was. `file` may be a file that was just read.
bool ReplaceFileContents(const std::string& file, const std::string& data, FileFailure& failure);

// A file that is written while the program goes on, such as a run's log: created empty
// (replacing an existing file), written at given positions, and flushed to the disk
// when it is closed. Others may read it meanwhile.
class OutputFile {
 public:
  OutputFile() = default;
  // Closes the file without waiting for the disk.
  ~OutputFile() { Abandon(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Create(const std::string& name, FileFailure& failure);
  bool IsOpen() const { return handle_ != kNone; }
  // Writes `data` at `offset`; with `end` the file then ends after it.
  bool WriteAt(std::uint64_t offset, std::string_view data, bool end, FileFailure& failure);
  // Flushes the file to the disk and closes it; closed also when that fails.
  bool Close(FileFailure& failure);
  void Abandon();

 private:
  static constexpr std::intptr_t kNone = -1;
  std::string name_;
  std::intptr_t handle_ = kNone;  // a HANDLE on Windows, a file descriptor elsewhere
};
