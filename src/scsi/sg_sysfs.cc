#include "scsi/sg_sysfs.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

#include "scsi/backend.h"

namespace fs = std::filesystem;

namespace {

std::string ReadTrimmed(const fs::path& file) {
  std::ifstream in(file);
  std::string text((std::istreambuf_iterator<char>(in)),
                   std::istreambuf_iterator<char>());
  const auto end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  const auto begin = text.find_first_not_of(" \t");
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

int ReadType(const fs::path& file) {
  const std::string text = ReadTrimmed(file);
  int type = -1;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), type);
  return error == std::errc() && end == text.data() + text.size() ? type : -1;
}

// The block device beside a SCSI device: device/block/<name>, or the older
// device/block:<name> link.
std::string BlockNameOf(const fs::path& device) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(device / "block", error)) {
    return entry.path().filename().string();
  }
  for (const auto& entry : fs::directory_iterator(device, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("block:")) return name.substr(6);
  }
  return {};
}

// The sg number of "sgN", for ordering; names that are not sgN sort last.
int SgNumber(const std::string& name) {
  int number = -1;
  if (name.starts_with("sg")) {
    std::from_chars(name.data() + 2, name.data() + name.size(), number);
  }
  return number < 0 ? 1 << 30 : number;
}

}  // namespace

std::optional<ScsiAddress> ParseScsiAddress(std::string_view text) {
  int values[4];
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (p == end || *p != ':') return std::nullopt;
      ++p;
    }
    const auto [next, error] = std::from_chars(p, end, values[i]);
    if (error != std::errc() || values[i] < 0) return std::nullopt;
    p = next;
  }
  if (p != end) return std::nullopt;
  return ScsiAddress{values[0], values[1], values[2], values[3]};
}

bool IsOpticalType(int type) { return type == 4 || type == 5; }

SysfsScan ReadSysfs(const fs::path& sysRoot) {
  SysfsScan scan;
  std::error_code error;
  scan.sysfsPresent = fs::is_directory(sysRoot / "class", error);
  const fs::path generic = sysRoot / "class" / "scsi_generic";
  scan.sgDriverPresent = fs::is_directory(generic, error);

  for (const auto& entry : fs::directory_iterator(generic, error)) {
    const fs::path device = fs::canonical(entry.path() / "device", error);
    if (error) continue;
    const std::optional<ScsiAddress> address =
        ParseScsiAddress(device.filename().string());
    if (!address) continue;
    SgNode node;
    node.name = entry.path().filename().string();
    node.address = *address;
    node.type = ReadType(device / "type");
    node.vendor = ReadTrimmed(device / "vendor");
    node.model = ReadTrimmed(device / "model");
    node.blockName = BlockNameOf(device);
    scan.nodes.push_back(std::move(node));
  }
  std::sort(scan.nodes.begin(), scan.nodes.end(),
            [](const SgNode& a, const SgNode& b) {
              return SgNumber(a.name) < SgNumber(b.name);
            });

  for (const auto& entry :
       fs::directory_iterator(sysRoot / "class" / "scsi_device", error)) {
    if (IsOpticalType(ReadType(entry.path() / "device" / "type"))) {
      scan.opticalDevices.push_back(entry.path().filename().string());
    }
  }
  std::sort(scan.opticalDevices.begin(), scan.opticalDevices.end());
  return scan;
}

AdapterPlan NumberAdapters(const std::vector<ScsiAddress>& addresses) {
  auto addressable = [](const ScsiAddress& a) {
    return a.lun == 0 && a.id >= 0 && a.id < kAddressableTargets;
  };
  AdapterPlan plan;
  for (const ScsiAddress& a : addresses) {
    if (addressable(a)) plan.adapters.emplace_back(a.host, a.channel);
  }
  std::sort(plan.adapters.begin(), plan.adapters.end());
  plan.adapters.erase(std::unique(plan.adapters.begin(), plan.adapters.end()),
                      plan.adapters.end());
  if (plan.adapters.size() > kAddressableAdapters) {
    plan.adapters.resize(kAddressableAdapters);
  }
  for (const ScsiAddress& a : addresses) {
    const auto found = std::find(plan.adapters.begin(), plan.adapters.end(),
                                 std::make_pair(a.host, a.channel));
    if (!addressable(a) || found == plan.adapters.end()) {
      plan.places.emplace_back();
      continue;
    }
    plan.places.emplace_back(
        std::make_pair(static_cast<std::uint8_t>(found - plan.adapters.begin()),
                       static_cast<std::uint8_t>(a.id)));
  }
  return plan;
}
