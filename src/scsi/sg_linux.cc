#include "scsi/sg_linux.h"

#include <fcntl.h>
#include <grp.h>
#include <scsi/sg.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "core/failure_code.h"
#include "scsi/direction.h"
#include "scsi/platform_backend.h"
#include "scsi/sg_messages.h"
#include "scsi/sg_status.h"

namespace fs = std::filesystem;

namespace {

// A device held by another program is tried a few times before giving up.
constexpr int kOpenTries = 5;
constexpr auto kBusyPause = std::chrono::milliseconds(200);
// SG_IO arrived with version 3 of the sg driver.
constexpr int kFirstSgIoVersion = 30000;
// The kernel is asked for more sense than the 14 bytes the record keeps.
constexpr std::size_t kSenseRequested = 64;

// Opens `path`, trying again while it is busy; the descriptor or -errno.
int OpenRetrying(const fs::path& path, int flags) {
  for (int attempt = 1;; ++attempt) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) return fd;
    const int error = errno;
    if ((error != EBUSY && error != EINTR) || attempt == kOpenTries) {
      return -error;
    }
    std::this_thread::sleep_for(kBusyPause);
  }
}

// Takes an exclusive flock, trying again while another holder has it; 0 or
// the errno.
int LockRetrying(int fd) {
  for (int attempt = 1;; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    const int error = errno;
    if ((error != EWOULDBLOCK && error != EINTR) || attempt == kOpenTries) {
      return error;
    }
    std::this_thread::sleep_for(kBusyPause);
  }
}

// The name of the group owning `path`, "" when it cannot be told.
std::string GroupOf(const fs::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  group entry{};
  group* found = nullptr;
  char names[4096];
  if (::getgrgid_r(status.st_gid, &entry, names, sizeof names, &found) != 0 ||
      found == nullptr) {
    return std::to_string(status.st_gid);
  }
  return found->gr_name;
}

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string AddressText(const ScsiAddress& a) {
  return std::to_string(a.host) + ":" + std::to_string(a.channel) + ":" +
         std::to_string(a.id) + ":" + std::to_string(a.lun);
}

}  // namespace

SgBackend::SgBackend(const SgPaths& paths) : paths_(paths) {
  const SysfsScan scan = ReadSysfs(paths_.sys);
  if (!scan.sysfsPresent) throw ErrAspiLoad;
  if (!scan.sgDriverPresent) {
    // The sg module is loaded when the first SCSI device appears, so without
    // CD devices its absence is just an empty bus; with them, the layer that
    // would reach them is missing.
    if (!scan.opticalDevices.empty()) throw ErrAspiLoad;
    return;
  }

  std::vector<Device> found;
  int usable = 0;
  int refused = 0;  // held back by permissions or another program
  for (const SgNode& node : scan.nodes) {
    Device device;
    device.node = node;
    const fs::path path = paths_.dev / node.name;
    int error = 0;
    const int fd = OpenRetrying(path, O_RDWR | O_NONBLOCK);
    if (fd < 0) {
      error = -fd;
    } else {
      device.fd.reset(fd);
      int version = 0;
      if (::ioctl(fd, SG_GET_VERSION_NUM, &version) != 0 ||
          version < kFirstSgIoVersion) {
        error = ENOTTY;
        device.fd.reset();
      }
    }
    if (device.fd) {
      // The node's own word on its address outranks sysfs.
      sg_scsi_id id{};
      if (::ioctl(fd, SG_GET_SCSI_ID, &id) == 0) {
        device.node.address = {id.host_no, id.channel, id.scsi_id, id.lun};
        device.node.type = id.scsi_type;
      }
      ++usable;
    } else {
      if (error == EACCES || error == EPERM || error == EBUSY) ++refused;
      device.problem = OpenFailureText(Describe(device), error, GroupOf(path));
      // Disks and the like are no recorders: their refusal is no news.
      if (IsOpticalType(device.node.type) || device.node.type < 0) {
        problems_.push_back(device.problem);
      }
    }
    found.push_back(std::move(device));
  }
  if (!found.empty() && usable == 0 && refused == 0) throw ErrAspiEntry;

  std::vector<ScsiAddress> addresses;
  for (const Device& device : found) addresses.push_back(device.node.address);
  const AdapterPlan plan = NumberAdapters(addresses);
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (!plan.places[i]) {
      if (IsOpticalType(found[i].node.type)) {
        problems_.push_back(Describe(found[i]) +
                            ": cannot be addressed (only LUN 0, SCSI ids 0 to "
                            "7 and the first 8 host adapters are)");
      }
      continue;
    }
    found[i].adapter = plan.places[i]->first;
    found[i].target = plan.places[i]->second;
    devices_.push_back(std::move(found[i]));
  }
  adapterCount_ = static_cast<std::uint8_t>(plan.adapters.size());
}

SgBackend::~SgBackend() = default;

SgBackend::Device* SgBackend::Find(std::uint8_t adapter, std::uint8_t target) {
  for (Device& device : devices_) {
    if (device.adapter == adapter && device.target == target) return &device;
  }
  return nullptr;
}

std::string SgBackend::Describe(const Device& device) const {
  return DescribeNode((paths_.dev / device.node.name).string(),
                      device.node.vendor, device.node.model,
                      AddressText(device.node.address));
}

CommandResult SgBackend::Run(std::uint8_t adapter, std::uint8_t target,
                             ScsiCommand& command) {
  CommandResult result;
  std::fill(std::begin(command.sense), std::end(command.sense), 0);
  Device* device = Find(adapter, target);
  if (device == nullptr || !device->fd) {
    result.status = kStatusNoDevice;
    result.resid = command.bufferLength;
    return result;
  }
  const std::uint32_t length = TransferLength(command);
  std::uint8_t sense[kSenseRequested] = {};
  sg_io_hdr_t io{};
  io.interface_id = 'S';
  io.cmd_len = command.cdbLength;
  io.cmdp = command.cdb;
  io.dxfer_direction = length == 0 ? SG_DXFER_NONE
                       : DirectionOf(command) == DataDirection::kOut
                           ? SG_DXFER_TO_DEV
                           : SG_DXFER_FROM_DEV;
  io.dxfer_len = length;
  io.dxferp = length == 0 ? nullptr : command.buffer;
  io.mx_sb_len = sizeof sense;
  io.sbp = sense;
  io.timeout = command.timeoutMs;  // 0 would take the kernel's default
  // SG_IO returns only when the command is over: one still pending at its
  // time limit is aborted by the SCSI error handler (or the device reset)
  // before the call returns, so nothing writes into the caller's buffer
  // afterwards. Indirect I/O (flags 0) moves the data through kernel
  // buffers, so a wait cut short by a signal leaves the kernel to finish the
  // orphaned command into its own memory and throw the result away. Such a
  // call is not repeated: the command may already have written the disc.
  const bool sent = ::ioctl(device->fd.get(), SG_IO, &io) == 0;
  result.status =
      StatusFromSg(sent, io.status, io.host_status, io.driver_status);
  if (sent) {
    std::copy_n(sense,
                std::min<std::size_t>(io.sb_len_wr, sizeof command.sense),
                command.sense);
  }
  const std::uint32_t unmoved =
      sent ? std::clamp<std::uint32_t>(std::max(io.resid, 0), 0, length)
           : length;
  result.resid = command.bufferLength - length + unmoved;
  return result;
}

std::string SgBackend::Claim(std::uint8_t adapter, std::uint8_t target) {
  Device* device = Find(adapter, target);
  if (device == nullptr) {
    return "no device at adapter " + std::to_string(adapter) + ", target " +
           std::to_string(target);
  }
  if (!device->fd) return device->problem;

  if (!device->exclusive) {
    const fs::path path = paths_.dev / device->node.name;
    // Our own shared descriptor would make the exclusive open fail.
    device->fd.reset();
    const int fd = OpenRetrying(path, O_RDWR | O_NONBLOCK | O_EXCL);
    if (fd < 0) {
      // Commands still go through while the hold is refused.
      const int shared = OpenRetrying(path, O_RDWR | O_NONBLOCK);
      if (shared >= 0) device->fd.reset(shared);
      return ClaimFailureText(Describe(*device), -fd, "", GroupOf(path));
    }
    device->fd.reset(fd);
    device->exclusive = true;
  }

  if (!device->node.blockName.empty() && !device->blockFd) {
    // An exclusive sg open does not stop the sr sibling from being mounted
    // or probed: an O_EXCL open of it refuses mounts, the flock makes udev
    // and udisks leave it alone.
    const fs::path block = paths_.dev / device->node.blockName;
    const int fd = OpenRetrying(block, O_RDONLY | O_NONBLOCK | O_EXCL);
    if (fd == -ENOENT) return {};  // no node: nothing can mount it either
    if (fd < 0) {
      return ClaimFailureText(
          block.string(), -fd,
          MountPointOf(ReadWhole(paths_.mounts), block.string()),
          GroupOf(block));
    }
    UniqueFd held(fd);
    if (const int error = LockRetrying(fd); error != 0) {
      return ClaimFailureText(block.string(), error, "", GroupOf(block));
    }
    device->blockFd = std::move(held);
  }
  return {};
}

BackendFactory PlatformBackendFactory() {
  return []() -> std::shared_ptr<Backend> {
    return std::make_shared<SgBackend>();
  };
}
