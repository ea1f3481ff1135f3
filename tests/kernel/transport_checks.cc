#include "transport_checks.h"

#include <fcntl.h>

#include <algorithm>
#include <sstream>

#include "core/failure_code.h"
#include "core/sector.h"
#include "guest_commands.h"
#include "guest_plan.h"
#include "scsi/platform_backend.h"
#include "scsi/sg_sysfs.h"
#include "scsi/unique_fd.h"

namespace {

const std::vector<std::uint8_t> kInquiry = {0x12, 0, 0, 0, 0x2C, 0};
const std::vector<std::uint8_t> kTestUnitReady = {0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kEject = {0x1B, 0, 0, 0, 0x02, 0};
const std::vector<std::uint8_t> kLoad = {0x1B, 0, 0, 0, 0x03, 0};
// The buffer lengths the recorder code gives INQUIRY and TEST UNIT READY.
constexpr std::uint32_t kInquiryLength = 128;
constexpr std::uint32_t kReadyLength = 256;
constexpr std::uint8_t kPeripheralCdDvd = 5;

// One command the emulated drive refuses, with the sense it must decode to.
struct Refusal {
  const char* name;
  std::uint8_t target;
  std::vector<std::uint8_t> cdb;
  std::uint32_t length;
  SenseCodes sense;
};

const std::vector<Refusal>& Refusals() {
  static const std::vector<Refusal> refusals = {
      {"not-ready-without-medium",
       kEmptyTarget,
       kTestUnitReady,
       kReadyLength,
       {0x2, 0x3A, 0x00}},
      {"read10-past-end",
       kType7Target,
       Read10(kMediumSectors, 1),
       SectorSize,
       {0x5, 0x21, 0x00}},
      {"read10-across-end",
       kType7Target,
       Read10(kMediumSectors - 4, 8),
       8 * SectorSize,
       {0x5, 0x21, 0x00}},
      {"write10-write-protected",
       kType7Target,
       Write10(0, 1),
       SectorSize,
       {0x7, 0x27, 0x00}},
      // As type 7 sends it: a 12-byte CDB for a 10-byte command.
      {"read-track-information-not-implemented",
       kType7Target,
       {0x52, 0, 0, 0, 0, 0xFF, 0, 0, 0x60, 0, 0, 0},
       96,
       {0x5, 0x20, 0x00}},
      {"mode-sense-page-05-not-implemented",
       kType6Target,
       {0x5A, 0, 0x05, 0, 0, 0, 0, 0, 0x3C, 0},
       96,
       {0x5, 0x24, 0x00}},
  };
  return refusals;
}

// The reads compared with the image: 1 and 8 sectors, both ends included.
struct ReadCase {
  std::uint32_t lba;
  std::uint16_t count;
};
constexpr ReadCase kReads[] = {{0, 1},
                               {0, 8},
                               {1, 8},
                               {37, 1},
                               {50, 8},
                               {kMediumSectors - 8, 8},
                               {kMediumSectors - 1, 1}};

std::string Printable(const std::vector<std::uint8_t>& bytes, std::size_t from,
                      std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < bytes.size(); ++i) {
    text +=
        static_cast<char>(bytes[i] >= 0x20 && bytes[i] < 0x7F ? bytes[i] : '.');
  }
  return text;
}

void CheckNumbering(Report& report, SCSI& scsi) {
  Findings findings;
  for (std::uint8_t target = 0; target < 8; ++target) {
    const Reply reply = Send(scsi, target, kInquiry, kInquiryLength);
    const std::uint8_t want =
        DriveAt(target) ? kStatusCompleted : kStatusNoDevice;
    findings.Expect(reply.status == want, "target " + std::to_string(target) +
                                              ": status " +
                                              std::to_string(reply.status) +
                                              ", not " + std::to_string(want));
  }
  scsi.adapterId = 1;
  ScsiCommand inquiry;
  std::copy(kInquiry.begin(), kInquiry.end(), inquiry.cdb);
  inquiry.cdbLength = 6;
  findings.Expect(scsi.Execute(inquiry) == kStatusInvalidAdapter,
                  "adapter 1 is not refused as a missing adapter");
  report.Record("numbering", findings);
}

void CheckInquiry(Report& report, SCSI& scsi) {
  Findings findings;
  for (const GuestDrive& drive : GuestDrives()) {
    const Reply reply = Send(scsi, drive.target, kInquiry, kInquiryLength);
    const std::string where = "target " + std::to_string(drive.target) + ": ";
    if (reply.status != kStatusCompleted) {
      findings.Expect(false, where + Describe(reply));
      continue;
    }
    const std::string identity = drive.vendor + drive.product;
    findings.Expect(
        std::equal(identity.begin(), identity.end(), reply.data.begin() + 8),
        where + "bytes 8-31 are \"" + Printable(reply.data, 8, 32) +
            "\", not \"" + identity + "\"");
    findings.Expect(
        (reply.data[0] & 0x1F) == kPeripheralCdDvd,
        where + "peripheral type " + std::to_string(reply.data[0] & 0x1F));
  }
  report.Record("inquiry-identity", findings);
}

void CheckReadyWithMedium(Report& report, SCSI& scsi) {
  Findings findings;
  for (const GuestDrive& drive : GuestDrives()) {
    if (!drive.medium) continue;
    const Reply reply = Send(scsi, drive.target, kTestUnitReady, kReadyLength);
    findings.Expect(
        reply.status == kStatusCompleted,
        "target " + std::to_string(drive.target) + ": " + Describe(reply));
  }
  report.Record("ready-with-medium", findings);
}

void CheckReads(Report& report, SCSI& scsi,
                const std::vector<std::uint8_t>& medium) {
  Findings findings;
  if (medium.size() != kMediumSectors * SectorSize) {
    findings.Expect(false, std::string("cannot read ") + kGuestMedium);
    report.Record("read10-data", findings);
    return;
  }
  for (const ReadCase& read : kReads) {
    const Reply reply = Send(scsi, kType7Target, Read10(read.lba, read.count),
                             read.count * SectorSize);
    const std::string what = "lba " + std::to_string(read.lba) + " x" +
                             std::to_string(read.count) + ": ";
    if (reply.status != kStatusCompleted) {
      findings.Expect(false, what + Describe(reply));
      continue;
    }
    const auto first = medium.begin() + read.lba * SectorSize;
    findings.Expect(std::equal(reply.data.begin(), reply.data.end(), first),
                    what + "data differ from the image file");
  }
  report.Record("read10-data", findings);
}

void CheckRefusals(Report& report, SCSI& scsi) {
  for (const Refusal& refusal : Refusals()) {
    Findings findings;
    const Reply reply = Send(scsi, refusal.target, refusal.cdb, refusal.length);
    const std::string want = SenseText(refusal.sense);
    findings.Expect(
        reply.status == kStatusError && SenseText(reply.sense) == want,
        Describe(reply) + ", not status 4, sense " + want);
    report.Record(std::string("refused ") + refusal.name, findings);
  }
}

void CheckDiscInformation(Report& report, SCSI& scsi) {
  Findings findings;
  // As type 7 sends it: 12 bytes, 96 asked for.
  const Reply reply =
      Send(scsi, kType7Target, {0x51, 0, 0, 0, 0, 0, 0, 0, 0x60, 0, 0, 0}, 96);
  findings.Expect(reply.status == kStatusCompleted, Describe(reply));
  report.Record("read-disc-information", findings);
}

// The trace of three commands, line for line.
void CheckTrace(Report& report, SCSI& scsi) {
  std::ostringstream trace;
  scsi.SetTrace(&trace);
  Send(scsi, kType7Target, kInquiry, kInquiryLength);
  Send(scsi, kEmptyTarget, kTestUnitReady, kReadyLength);
  Send(scsi, kType7Target, Read10(kMediumSectors, 1), SectorSize);
  Send(scsi, 3, kTestUnitReady, kReadyLength);
  scsi.SetTrace(nullptr);
  const std::string expected =
      "0:2 12 00 00 00 2C 00 len=128 timeout=30000 status=1\n"
      "0:6 00 00 00 00 00 00 len=256 timeout=30000 status=4 "
      "sense=700002000000000A000000003A00\n"
      "0:2 28 00 00 00 00 64 00 00 01 00 len=2048 timeout=30000 status=4 "
      "sense=700005000000000A000000002100\n"
      "0:3 00 00 00 00 00 00 len=256 timeout=30000 status=130 "
      "sense=0000000000000000000000000000\n";
  Findings findings;
  findings.Expect(trace.str() == expected, "the trace was:\n" + trace.str());
  report.Record("trace-lines", findings);
}

}  // namespace

std::vector<std::string> TransportCheckNames() {
  std::vector<std::string> names = {"backend-loads", "numbering",
                                    "inquiry-identity", "ready-with-medium",
                                    "read10-data"};
  for (const Refusal& refusal : Refusals()) {
    names.push_back(std::string("refused ") + refusal.name);
  }
  names.insert(names.end(), {"read-disc-information", "trace-lines",
                             "eject-refused-while-sr-open",
                             "eject-while-claimed", "load-after-eject"});
  return names;
}

void RunTransportChecks(Report& report,
                        const std::vector<std::uint8_t>& medium) {
  SCSI scsi(PlatformBackendFactory());
  Findings loaded;
  try {
    scsi.Load();
    loaded.Expect(
        scsi.adapterCount == 1,
        "adapterCount " + std::to_string(scsi.adapterCount) + ", not 1");
    for (const std::string& problem : scsi.Problems()) {
      loaded.Expect(false, problem);
    }
  } catch (FailureCode code) {
    loaded.Expect(false, "Load threw " + std::string(FailureCodeName(code)));
  }
  report.Record("backend-loads", loaded);
  CheckNumbering(report, scsi);
  CheckInquiry(report, scsi);
  CheckReadyWithMedium(report, scsi);
  CheckReads(report, scsi, medium);
  CheckRefusals(report, scsi);
  CheckDiscInformation(report, scsi);
  CheckTrace(report, scsi);
}

void RunEjectChecks(Report& report) {
  SCSI scsi(PlatformBackendFactory());
  try {
    scsi.Load();
  } catch (FailureCode) {
    // The refused commands below report it.
  }

  // An ordinary open of the sr node (a mount, a media player) makes the
  // kernel's CD layer lock the door until it is closed.
  Findings locked;
  std::string block;
  for (const SgNode& node : ReadSysfs("/sys").nodes) {
    if (node.address.id == kType7Target) block = "/dev/" + node.blockName;
  }
  UniqueFd reader(::open(block.c_str(), O_RDONLY | O_CLOEXEC));
  locked.Expect(bool(reader), "cannot open " + block);
  const Reply refused = Send(scsi, kType7Target, kEject, 0, {}, kLongTimeoutMs);
  locked.Expect(
      refused.status == kStatusError && SenseText(refused.sense) == "5/53/02",
      "eject: " + Describe(refused) + ", not status 4, sense 5/53/02");
  reader.reset();
  report.Record("eject-refused-while-sr-open", locked);

  // The claim of a recording holds the sr node too, yet leaves the door free.
  Findings eject;
  scsi.adapterId = 0;
  scsi.targetId = kType7Target;
  const std::string claim = scsi.Claim();
  eject.Expect(claim.empty(), "Claim: " + claim);
  const Reply ejected = Send(scsi, kType7Target, kEject, 0, {}, kLongTimeoutMs);
  eject.Expect(ejected.status == kStatusCompleted,
               "eject: " + Describe(ejected));
  const Reply open = Send(scsi, kType7Target, kTestUnitReady, kReadyLength);
  eject.Expect(
      open.status == kStatusError && SenseText(open.sense) == "2/3A/00",
      "after the eject: " + Describe(open) + ", not status 4, sense 2/3A/00");
  report.Record("eject-while-claimed", eject);

  Findings load;
  const Reply loaded = Send(scsi, kType7Target, kLoad, 0, {}, kLongTimeoutMs);
  load.Expect(loaded.status == kStatusCompleted, "load: " + Describe(loaded));
  const Reply ready = Send(scsi, kType7Target, kTestUnitReady, kReadyLength);
  load.Expect(ready.status == kStatusCompleted,
              "after the load: " + Describe(ready));
  report.Record("load-after-eject", load);
}
