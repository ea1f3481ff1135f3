#include "scsi/sg_linux.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/failure_code.h"
#include "scsi/fake_sysfs.h"
#include "scsi/platform_backend.h"
#include "scsi/scsi.h"

namespace {

enum class Outcome { kEmptyBus, kLoadFails, kEntryFails };

struct Case {
  const char* name;
  void (*build)(FakeSysfs&);
  Outcome outcome;
};

const Case kCases[] = {
    {"NoSysfs", [](FakeSysfs&) {}, Outcome::kLoadFails},
    {"NoSgDriverAndNoScsiDevice", [](FakeSysfs& t) { t.MountSysfs(); },
     Outcome::kEmptyBus},
    {"NoSgDriverButOnlyADisk",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.AddDevice("0:0:0:0", 0);
     },
     Outcome::kEmptyBus},
    {"NoSgDriverButACdDevice",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.AddDevice("0:0:0:0", 0);
       t.AddDevice("1:0:0:0", 5);
     },
     Outcome::kLoadFails},
    {"SgDriverWithoutDevices",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.LoadSgDriver();
     },
     Outcome::kEmptyBus},
    {"SgListedButNoNodes",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.LoadSgDriver();
       t.AddSg("sg0", "1:0:0:0", 5, false);
     },
     Outcome::kEntryFails},
    {"NodesThatAreNoSgDevices",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.LoadSgDriver();
       t.AddSg("sg0", "1:0:0:0", 5, true);
       t.AddSg("sg1", "1:0:1:0", 5, true);
     },
     Outcome::kEntryFails},
    {"OnlyADiskThatIsNoSgDevice",
     [](FakeSysfs& t) {
       t.MountSysfs();
       t.LoadSgDriver();
       t.AddSg("sg0", "0:0:0:0", 0, true, "ATA", "SSD");
     },
     Outcome::kEntryFails},
};

class SgBackendLoadTest : public testing::TestWithParam<Case> {};

TEST_P(SgBackendLoadTest, TellsAMissingLayerFromAnEmptyBus) {
  FakeSysfs tree;
  GetParam().build(tree);
  const SgPaths paths{tree.sys(), tree.dev(), tree.dev() / "no-mounts"};
  switch (GetParam().outcome) {
    case Outcome::kEmptyBus: {
      SgBackend backend(paths);
      EXPECT_EQ(backend.AdapterCount(), 0);
      EXPECT_TRUE(backend.Problems().empty());
      break;
    }
    case Outcome::kLoadFails:
    case Outcome::kEntryFails:
      try {
        SgBackend backend(paths);
        ADD_FAILURE() << "no FailureCode thrown";
      } catch (FailureCode code) {
        EXPECT_EQ(code, GetParam().outcome == Outcome::kLoadFails
                            ? ErrAspiLoad
                            : ErrAspiEntry);
      }
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, SgBackendLoadTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// On a machine without SCSI devices the real backend loads and the bus is
// empty; with devices it loads at least without error.
TEST(SgBackend, LoadsOnThisMachine) {
  SCSI scsi(PlatformBackendFactory());
  ASSERT_NO_THROW(scsi.Load());
  if (!std::filesystem::exists("/sys/class/scsi_generic")) {
    EXPECT_EQ(scsi.adapterCount, 0);
  }
  ScsiCommand inquiry;
  inquiry.cdbLength = 6;
  inquiry.cdb[0] = 0x12;
  inquiry.cdb[4] = 44;
  inquiry.timeoutMs = 30000;
  std::uint8_t buffer[128] = {};
  inquiry.buffer = buffer;
  inquiry.bufferLength = sizeof buffer;
  if (scsi.adapterCount == 0) {
    EXPECT_EQ(scsi.Execute(inquiry), kStatusInvalidAdapter);
  }
}

}  // namespace
