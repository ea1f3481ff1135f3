#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The emulated CD drives every guest has, on one controller, LUN 0 each.
struct GuestDrive {
  std::uint8_t target = 0;   // the SCSI id QEMU gives it
  std::string vendor;        // INQUIRY bytes 8-15, blank-padded
  std::string product;       // INQUIRY bytes 16-31, blank-padded
  bool ownIdentity = false;  // answers as QEMU's own drive, not a table model
  bool medium = false;       // the medium image is in the tray
};

// The drive that answers as itself, the type-7 and type-6 table models (all
// three with the medium) and an empty type-7 drive. The lsi53c895a reserves
// id 7 for itself, so every id is below it.
inline constexpr std::uint8_t kOwnIdentityTarget = 0;
inline constexpr std::uint8_t kType7Target = 2;
inline constexpr std::uint8_t kType6Target = 5;
inline constexpr std::uint8_t kEmptyTarget = 6;
const std::vector<GuestDrive>& GuestDrives();
// The drive at `target`, or null.
const GuestDrive* DriveAt(std::uint8_t target);

// The medium image: this many sectors of a pattern.
inline constexpr std::uint32_t kMediumSectors = 100;

// Where the files are inside the guest.
inline constexpr const char* kGuestMedium = "/data/cd.img";
inline constexpr const char* kGuestSample = "/data/sample.bin";
inline constexpr const char* kGuestProgramcd = "/bin/programcd";

// Writes the medium image (cd.img) and the image that `programcd make`
// records (sample.bin) into `dir`; false when a file cannot be written.
bool WriteFixtures(const std::string& dir);

// QEMU's -device/-drive arguments for `controller` (a QEMU SCSI host
// adapter device, e.g. virtio-scsi-pci) with the drives above; `medium` is
// the host path of the medium image.
std::vector<std::string> QemuArguments(std::string_view controller,
                                       const std::string& medium);
