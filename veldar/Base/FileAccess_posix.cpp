#include "Base/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace {

// A name in the folder of `file` that no other writer picks: process id and attempt.
std::string TemporaryNameBeside(const std::string& file, unsigned attempt) {
  const std::size_t slash = file.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
  return folder + ".~sqe" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

// Writes at `offset`, or at the file's position when it is negative.
bool WriteAll(int fd, std::string_view data, off_t offset = -1) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        offset < 0 ? write(fd, data.data() + done, data.size() - done)
                   : pwrite(fd, data.data() + done, data.size() - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
  return std::strerror(static_cast<int>(code));
}

bool FileExists(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool ReadWholeFile(const std::string& file, std::string& data, FileFailure& failure) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileFailed(failure, FileFailure::Kind::Read, file, errno);
  struct stat info {};
  std::string result;
  if (fstat(fd, &info) == 0 && info.st_size > 0) result.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      return FileFailed(failure, FileFailure::Kind::Read, file, error);
    }
    result.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  data = std::move(result);
  return true;
}

bool ReplaceFileContents(const std::string& file, const std::string& data, FileFailure& failure) {
  std::string temporary;
  int fd = -1;
  for (unsigned attempt = 0; fd < 0; ++attempt) {
    temporary = TemporaryNameBeside(file, attempt);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100))
      return FileFailed(failure, FileFailure::Kind::Write, file, errno);
  }
  // A replaced file keeps its permissions.
  struct stat old {};
  if (stat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

  bool written = WriteAll(fd, data) && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && rename(temporary.c_str(), file.c_str()) == 0) return true;
  if (written) error = errno;
  unlink(temporary.c_str());
  return FileFailed(failure, FileFailure::Kind::Write, file, error);
}

bool OutputFile::Create(const std::string& name, FileFailure& failure) {
  Abandon();
  const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return FileFailed(failure, FileFailure::Kind::Write, name, errno);
  name_ = name;
  handle_ = fd;
  return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, std::string_view data, bool end, FileFailure& failure) {
  const int fd = static_cast<int>(handle_);
  const off_t start = static_cast<off_t>(offset);
  if (!WriteAll(fd, data, start) || (end && ftruncate(fd, start + static_cast<off_t>(data.size())) != 0))
    return FileFailed(failure, FileFailure::Kind::Write, name_, errno);
  return true;
}

bool OutputFile::Close(FileFailure& failure) {
  const int fd = static_cast<int>(std::exchange(handle_, kNone));
  bool closed = fsync(fd) == 0;
  int error = closed ? 0 : errno;
  if (close(fd) != 0 && closed) {
    closed = false;
    error = errno;
  }
  return closed || FileFailed(failure, FileFailure::Kind::Write, name_, error);
}

void OutputFile::Abandon() {
  if (IsOpen()) close(static_cast<int>(std::exchange(handle_, kNone)));
}
