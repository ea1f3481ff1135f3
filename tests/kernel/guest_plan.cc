#include "guest_plan.h"

#include "core/sector.h"
#include "image/image_fixtures.h"

namespace {

std::string Padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

GuestDrive Model(std::uint8_t target, const char* vendor, const char* product,
                 bool medium) {
  return {.target = target,
          .vendor = Padded(vendor, 8),
          .product = Padded(product, 16),
          .medium = medium};
}

// QEMU's option syntax doubles a comma inside a value.
std::string Escaped(const std::string& value) {
  std::string out;
  for (char c : value) {
    out += c;
    if (c == ',') out += ',';
  }
  return out;
}

}  // namespace

const std::vector<GuestDrive>& GuestDrives() {
  static const std::vector<GuestDrive> drives = [] {
    GuestDrive own = Model(kOwnIdentityTarget, "QEMU", "QEMU CD-ROM", true);
    own.ownIdentity = true;
    return std::vector<GuestDrive>{
        own,
        Model(kType7Target, "TEAC", "CD-W540E", true),
        Model(kType6Target, "LITE-ON", "LTR-52246S", true),
        Model(kEmptyTarget, "TEAC", "CD-W552E", false),
    };
  }();
  return drives;
}

const GuestDrive* DriveAt(std::uint8_t target) {
  for (const GuestDrive& drive : GuestDrives()) {
    if (drive.target == target) return &drive;
  }
  return nullptr;
}

bool WriteFixtures(const std::string& dir) {
  Bytes medium(kMediumSectors * SectorSize);
  FillPattern(medium.data(), medium.size(), 0x5EC7);
  return WriteBytes(dir + "/cd.img", medium) &&
         WriteBytes(dir + "/sample.bin", RawFirmwareImage());
}

std::vector<std::string> QemuArguments(std::string_view controller,
                                       const std::string& medium) {
  std::vector<std::string> args = {"-device",
                                   std::string(controller) + ",id=scsi0"};
  for (const GuestDrive& drive : GuestDrives()) {
    const std::string id = "cd" + std::to_string(drive.target);
    std::string backing = "if=none,id=" + id + ",media=cdrom";
    if (drive.medium)
      backing += ",format=raw,readonly=on,file=" + Escaped(medium);
    std::string device =
        "scsi-cd,bus=scsi0.0,scsi-id=" + std::to_string(drive.target) +
        ",lun=0,drive=" + id;
    if (!drive.ownIdentity) {
      // QEMU pads both fields with blanks itself.
      auto trimmed = [](std::string text) {
        return text.erase(text.find_last_not_of(' ') + 1);
      };
      device += ",vendor=" + Escaped(trimmed(drive.vendor)) +
                ",product=" + Escaped(trimmed(drive.product));
    }
    args.insert(args.end(), {"-drive", backing, "-device", device});
  }
  return args;
}
