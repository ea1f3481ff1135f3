#include "image/private_output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

PrivateOutputFile::~PrivateOutputFile() { Close(); }

bool PrivateOutputFile::Open(const std::string& path) {
  // No O_TRUNC here: nothing is changed before the checks below pass.
  // O_NONBLOCK keeps a planted FIFO from hanging the open.
  int fd = open(path.c_str(),
                O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat status;
  bool ours = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
              status.st_uid == geteuid() && status.st_nlink == 1;
  if (!ours || fchmod(fd, 0600) != 0 || ftruncate(fd, 0) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool PrivateOutputFile::Write(const std::uint8_t* data, std::size_t count) {
  if (fd_ < 0) return false;
  std::size_t done = 0;
  while (done < count) {
    ssize_t put = write(fd_, data + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool PrivateOutputFile::Close() {
  if (fd_ < 0) return false;
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0;
}
