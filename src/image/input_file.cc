#include "image/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

bool InputFile::Open(const std::string& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  // A directory opens on POSIX but holds no bytes to read.
  struct stat status;
  if (fstat(fd_, &status) != 0 || S_ISDIR(status.st_mode)) {
    close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

std::int64_t InputFile::Length() const {
  struct stat status;
  if (fstat(fd_, &status) != 0) return -1;
  return status.st_size;
}

bool InputFile::Seek(std::int64_t offset) {
  return lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == offset;
}

std::size_t InputFile::Read(std::uint8_t* destination, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    // One read() moves at most about 2 GiB; keep going until the end.
    ssize_t got = read(fd_, destination + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}
