#pragma once
#include <cstddef>
#include <string>

// How a layout tells the operator where a recording stands.
class Progress {
 public:
  virtual ~Progress() = default;
  // A new stage ("Recording leadin", "Verify", ...).
  virtual void Stage(const std::string& text) = 0;
  // Sectors done of total within the stage, for a progress bar.
  virtual void Sectors(std::size_t done, std::size_t total) = 0;
};
