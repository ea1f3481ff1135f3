#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "scsi/backend.h"
#include "scsi/sg_sysfs.h"
#include "scsi/unique_fd.h"

// Where the Linux backend looks; tests point these at a temporary tree.
struct SgPaths {
  std::filesystem::path sys = "/sys";
  std::filesystem::path dev = "/dev";
  std::filesystem::path mounts = "/proc/self/mounts";
};

// The Linux backend: commands go to the SCSI generic nodes (/dev/sgN) through
// SG_IO. The sg node, not /dev/srN, since the kernel filters vendor opcodes
// such as 0xE6 and 0xE9 on block nodes.
class SgBackend : public Backend {
 public:
  // Finds and opens the sg devices. Throws ErrAspiLoad when sysfs or the sg
  // driver is missing although CD devices exist, ErrAspiEntry when sg devices
  // are listed but none of them offers SG_IO.
  explicit SgBackend(const SgPaths& paths = {});
  ~SgBackend() override;
  SgBackend(const SgBackend&) = delete;
  SgBackend& operator=(const SgBackend&) = delete;

  std::uint8_t AdapterCount() override { return adapterCount_; }
  CommandResult Run(std::uint8_t adapter, std::uint8_t target,
                    ScsiCommand& command) override;
  // Reopens the sg node with O_EXCL and holds the sr sibling with an O_EXCL
  // open plus flock, so neither an auto-mounter nor another program can
  // interleave commands with a recording.
  std::string Claim(std::uint8_t adapter, std::uint8_t target) override;
  std::vector<std::string> Problems() const override { return problems_; }

 private:
  struct Device {
    SgNode node;
    std::uint8_t adapter = 0;
    std::uint8_t target = 0;
    UniqueFd fd;          // the sg node; none when it could not be opened
    std::string problem;  // why it could not be opened
    bool exclusive = false;
    UniqueFd blockFd;  // the held sr sibling, none until claimed
  };
  Device* Find(std::uint8_t adapter, std::uint8_t target);
  std::string Describe(const Device& device) const;

  SgPaths paths_;
  std::vector<Device> devices_;
  std::uint8_t adapterCount_ = 0;
  std::vector<std::string> problems_;
};
