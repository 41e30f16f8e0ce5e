// Texts moved from the ANSI code page, in which the program holds its paths, to the OEM
// code page, in which the command interpreter reads a batch file. Where the two differ
// (1251 and 866 on Russian Windows, 1252 and 850 on Western European ones) a letter
// outside ASCII written as it is would name another file in the batch.
#pragma once

#include <string>

class OemConversion {
 public:
  virtual ~OemConversion() = default;
  // `ansi` in the OEM code page; false when a character of it has no exact form there (a
  // best fit or the default character would name another file) or it is not valid text.
  virtual bool ToOem(const char* ansi, std::string* oem) const = 0;
};

#ifdef _WIN32
// Through the UTF-16 form, with the system's tables of the given code pages (those of
// the process unless given).
class SystemOemConversion : public OemConversion {
 public:
  SystemOemConversion();
  SystemOemConversion(unsigned ansiCodePage, unsigned oemCodePage);
  bool ToOem(const char* ansi, std::string* oem) const override;

 private:
  unsigned ansi_;
  unsigned oem_;
};
#endif
