// The program's file object over the handle-based file functions. Failures show in the
// results only: false from Open and Close, -1 from Read.
#pragma once

#include <windows.h>

#include <cstdint>

class File {
 public:
  static constexpr int kNameSize = 1024;

  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File();

  // Opens an existing file. The wide name, when given and not empty, is used on the NT
  // family; elsewhere the ANSI name.
  bool Open(const char* ansiName, const wchar_t* wideName = nullptr, bool forWriting = false,
            bool shareWrite = false);
  int Read(void* buffer, int count);
  // method: FILE_BEGIN, FILE_CURRENT or FILE_END.
  void Seek(int64_t offset, int method);
  int64_t Tell();
  bool Close();
  bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }

  HANDLE handle = INVALID_HANDLE_VALUE;
  char name[kNameSize] = {};
  wchar_t wideName[kNameSize] = {};
};
