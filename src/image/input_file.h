#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A file opened for reading, closed when this goes out of scope.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Opens `path` read-only; false if it cannot be opened or is a directory.
  bool Open(const std::string& path);
  // Length of the file in bytes, or -1 if it cannot be told.
  std::int64_t Length() const;
  // Moves the read position to `offset` bytes from the start.
  bool Seek(std::int64_t offset);
  // Reads up to `count` bytes, fewer only at the end of the file or on an
  // error; returns how many arrived.
  std::size_t Read(std::uint8_t* destination, std::size_t count);

 private:
  int fd_ = -1;
};
