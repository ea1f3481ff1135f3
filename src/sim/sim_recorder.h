#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scsi/scsi_command.h"
#include "sim/sim_disc.h"
#include "sim/sim_model.h"
#include "sim/sim_reply.h"
#include "sim/sim_write_params.h"

// One virtual CD recorder: identity, tray and disc. It answers the commands
// of a real MMC recorder (or, for the vendor-command model, of that model)
// and refuses what a real one would refuse.
class SimRecorder {
 public:
  // Called with the disc's sectors just before it leaves the tray.
  using EjectHook = std::function<void(const std::vector<SimSector>&)>;

  // vendor and product blank padded to 8 and 16 characters. Starts with the
  // tray closed on a blank disc.
  SimRecorder(std::string vendor, std::string product);

  // Runs one command; writes no byte of the buffer past bufferLength.
  SimReply Execute(const ScsiCommand& command);
  // Sets what runs when a disc is ejected.
  void SetEjectHook(EjectHook hook) { ejectHook_ = std::move(hook); }

  const std::string& Vendor() const { return vendor_; }
  const std::string& Product() const { return product_; }
  // True while the tray is open; there is no disc then.
  bool TrayOpen() const { return !disc_.has_value(); }
  // The disc in the tray, or null while the tray is open.
  const SimDisc* Disc() const { return disc_ ? &*disc_ : nullptr; }
  // Write speed in kB/s, as SET CD SPEED left it.
  std::uint16_t WriteSpeed() const { return writeSpeed_; }
  // Read speed in kB/s, as SET CD SPEED left it.
  std::uint16_t ReadSpeed() const { return readSpeed_; }

 private:
  SimReply Inquiry(const std::uint8_t* cdb, const SimBuffer& buffer) const;
  SimReply TestUnitReady() const;
  SimReply StartStopUnit(const std::uint8_t* cdb);
  SimReply SynchronizeCache() const;
  SimReply SetCdSpeed(const std::uint8_t* cdb);
  SimReply SendOpcInformation(const std::uint8_t* cdb,
                              const SimBuffer& buffer) const;

  SimReply ModeSense(const std::uint8_t* cdb, const SimBuffer& buffer,
                     bool tenByte) const;
  SimReply ModeSelect(const std::uint8_t* cdb, const SimBuffer& buffer,
                      bool tenByte);
  std::vector<std::uint8_t> CurrentPage(std::uint8_t pc) const;

  SimReply Write10(const std::uint8_t* cdb, const SimBuffer& buffer);
  SimReply Read10(const std::uint8_t* cdb, const SimBuffer& buffer) const;
  SimReply ReadTrackInformation(const std::uint8_t* cdb,
                                const SimBuffer& buffer) const;
  SimReply ReadDiscInformation(const std::uint8_t* cdb,
                               const SimBuffer& buffer) const;
  SimReply CloseTrackSession(const std::uint8_t* cdb);

  SimReply VendorWriteMode(const std::uint8_t* cdb);
  SimReply Write6(const std::uint8_t* cdb, const SimBuffer& buffer);
  SimReply VendorFixate();

  // Checks and appends count sectors from the buffer at lba.
  SimReply Record(std::uint32_t lba, std::uint32_t count,
                  const SimBuffer& buffer, bool testWrite);

  std::string vendor_;
  std::string product_;
  SimModel model_;
  std::optional<SimDisc> disc_ = SimDisc{};
  EjectHook ejectHook_;

  std::uint32_t blockLength_ = 2048;
  SimWriteParams writeParams_;
  // The vendor page 31h and whether it and command E6h were sent.
  std::array<std::uint8_t, 4> vendorPage_ = {0x31, 0x02, 0x00, 0x00};
  bool vendorPageSet_ = false;
  bool vendorWriteMode_ = false;

  std::uint16_t readSpeed_ = 706;  // 4x
  std::uint16_t writeSpeed_ = 706;
};
