#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A file written at a fixed name in a directory other users can write to
// (the temp dir). Opening refuses a planted symlink, a device or pipe,
// another user's file and a hard link, so the write can never land in
// someone else's file. Closed when this goes out of scope.
class PrivateOutputFile {
 public:
  PrivateOutputFile() = default;
  PrivateOutputFile(const PrivateOutputFile&) = delete;
  PrivateOutputFile& operator=(const PrivateOutputFile&) = delete;
  ~PrivateOutputFile();

  // Opens or creates `path` (mode 0600) and empties it; false if refused.
  bool Open(const std::string& path);
  // Writes all `count` bytes; false if they could not all be written.
  bool Write(const std::uint8_t* data, std::size_t count);
  // Closes the file; false if the data may not have reached it.
  bool Close();

 private:
  int fd_ = -1;
};
