#pragma once
#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A SCSI device address as the kernel numbers it.
struct ScsiAddress {
  int host = 0;
  int channel = 0;
  int id = 0;
  int lun = 0;
  auto operator<=>(const ScsiAddress&) const = default;
};

// One SCSI generic device as sysfs describes it.
struct SgNode {
  std::string name;  // "sg3": the node under /dev
  ScsiAddress address;
  int type = -1;       // peripheral device type; -1 when sysfs does not say
  std::string vendor;  // trimmed, for messages
  std::string model;
  std::string blockName;  // the block sibling ("sr0"), "" when none
};

// What sysfs says about the SCSI generic layer.
struct SysfsScan {
  bool sysfsPresent = false;     // <root>/class exists
  bool sgDriverPresent = false;  // <root>/class/scsi_generic exists
  std::vector<SgNode> nodes;     // by sg number
  // CD devices seen in class/scsi_device, which the sg driver should serve.
  std::vector<std::string> opticalDevices;
};

// "2:0:4:0" as host, channel, id, lun; nothing for anything else.
std::optional<ScsiAddress> ParseScsiAddress(std::string_view text);
// True for the peripheral types of CD recorders (WORM and CD/DVD).
bool IsOpticalType(int type);
// Reads class/scsi_generic and class/scsi_device under `sysRoot` ("/sys").
SysfsScan ReadSysfs(const std::filesystem::path& sysRoot);

// Where the addressable devices go: adapters are the distinct (host,
// channel) pairs of the devices with LUN 0 and id 0..7, in ascending order,
// at most 8 of them; the target is the id.
struct AdapterPlan {
  std::vector<std::pair<int, int>> adapters;  // (host, channel) of adapter i
  // Per input address, its (adapter, target), or nothing when it cannot be
  // addressed.
  std::vector<std::optional<std::pair<std::uint8_t, std::uint8_t>>> places;
};
AdapterPlan NumberAdapters(const std::vector<ScsiAddress>& addresses);
