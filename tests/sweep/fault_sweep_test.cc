// Every command of a good recording, on one model of each RecorderType and
// for each kind of image, made to fail in turn, end to end through MainFrame
// and the simulated bus as `programcd make` runs them: once refused (status
// 4), once timed out (status 0), and once with the recorder gone from the
// bus from that command on. Each must end as the failure tables say, with
// nothing sent after the failed command, and a recovery failure must leave
// the program able to record the next disc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <sstream>

#include "app/fake_view.h"
#include "app/main_frame.h"
#include "command_trace.h"
#include "expected_outcome.h"
#include "image/image_fixtures.h"
#include "image/image_format.h"
#include "sim/sim_bus.h"
#include "vanishing_backend.h"

namespace {

constexpr std::uint8_t kAdapter = 0;
constexpr std::uint8_t kTarget = 1;  // the recorder under test
// A second recorder, so that a recorder the scan cannot see is shown to be
// left out of the list rather than the bus being found empty.
const SimRecorderSlot kOther{0, 2, "TEAC    ", "CD-W540E        "};
constexpr const char* kOtherLine = "ID:0-02 TEAC    CD-W540E        ";
constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

enum class Fault { kRefused, kTimedOut, kVanished };

struct Image {
  std::string name;
  Bytes bytes;
  std::string dataStage;  // the stage shown while the image's sectors are written
};

// One image for each of the two ways the layouts write: a firmware image
// from memory in runs of 8 sectors, and a file sector by sector (as the
// recorder firmware's DriveFirme.img is too).
std::vector<Image> Images() {
  return {
      {"raw.BIN", RawFirmwareImage("1.05"), "Recording data"},
      {"disc.BIN", DiscImage({.length = kDiscDataOffset + 2 * SectorSize}), "Recording leadin"},
  };
}

// The first model of the recorder table with this RecorderType, if any.
std::optional<SimRecorderSlot> ModelOfType(int type) {
  for (const RecorderModel& row : SupportedRecorderModels()) {
    if (row.recorderType == type) {
      return SimRecorderSlot{kAdapter, kTarget, std::string(row.vendor.data(), 8),
                             std::string(row.product.data(), 16)};
    }
  }
  return std::nullopt;
}

// One program run: start-up, the selection of a file and presses of Make,
// with every command traced and the last disc that left the tray kept.
struct Run {
  Run(const SimRecorderSlot& recorder, const SimOptions& options, std::size_t vanishFrom,
      const std::string& tempDir)
      : bus(std::make_shared<SimBus>(std::vector<SimRecorderSlot>{recorder, kOther}, options)),
        frame(view, Factory(bus, vanishFrom), tempDir) {
    bus->SetEjectHandler([this](std::uint8_t a, std::uint8_t t,
                                const std::vector<SimSector>& sectors) {
      if (a == kAdapter && t == kTarget) ejected = sectors;
    });
    frame.drive.scsi.SetTrace(&trace);
  }

  static BackendFactory Factory(std::shared_ptr<SimBus> bus, std::size_t vanishFrom) {
    std::shared_ptr<Backend> backend =
        std::make_shared<VanishingBackend>(bus, kAdapter, kTarget, vanishFrom);
    return [backend] { return backend; };
  }

  std::vector<TracedCommand> Commands() const { return ParseTrace(trace.str()); }

  // The operator takes the disc out and closes the tray on a blank one.
  void ChangeDisc() {
    for (std::uint8_t loadEject : {0x02, 0x03}) {
      ScsiCommand command;
      command.cdb[0] = 0x1B;
      command.cdb[4] = loadEject;
      command.cdbLength = 6;
      ASSERT_EQ(bus->Run(kAdapter, kTarget, command).status, kStatusCompleted);
    }
  }

  bool AllEnabled() const {
    for (Control c : {Control::DriveSelect, Control::DirectorySelect, Control::FileSelect,
                      Control::Exit, Control::Make}) {
      if (!view.enabled(c)) return false;
    }
    return true;
  }
  bool NoneEnabled() const {
    for (Control c : {Control::DriveSelect, Control::DirectorySelect, Control::FileSelect,
                      Control::Exit, Control::Make}) {
      if (view.enabled(c)) return false;
    }
    return true;
  }

  FakeView view;
  std::shared_ptr<SimBus> bus;
  std::ostringstream trace;
  MainFrame frame;
  std::vector<SimSector> ejected;
};

bool SameCommand(const TracedCommand& a, const TracedCommand& b) {
  return a.adapter == b.adapter && a.target == b.target && a.cdb == b.cdb;
}

bool AtRecorder(const TracedCommand& c) {
  return c.adapter == kAdapter && (c.target == kTarget || c.target == kOther.target);
}

// The good recording of one image on one recorder, and what sweeping it found.
class Sweep {
 public:
  Sweep(int type, SimRecorderSlot recorder, const Image& image, const TempDir& dir)
      : type_(type), recorder_(std::move(recorder)), image_(image), dir_(dir) {
    path_ = dir.Write(image.name, image.bytes);
    Run run(recorder_, {}, kNever, dir_.path());
    EXPECT_EQ(run.frame.FormCreate(), StartupResult::kReady);
    run.frame.FileSelectClick(path_);
    EXPECT_EQ(run.frame.MakeClick(), MakeResult::kCompleted);
    good_ = run.Commands();
    disc_ = run.ejected;
    EXPECT_FALSE(disc_.empty());
  }

  // Fails every command the recorder under test received, in every way.
  int SweepAll() {
    int cases = 0;
    for (std::size_t i = 0; i < good_.size(); ++i) {
      if (good_[i].adapter != kAdapter || good_[i].target != kTarget) continue;
      for (Fault fault : {Fault::kRefused, Fault::kTimedOut, Fault::kVanished}) {
        SweepOne(i, fault);
        ++cases;
        if (::testing::Test::HasFailure()) return cases;  // one broken case says enough
      }
    }
    return cases;
  }

 private:
  void SweepOne(std::size_t index, Fault fault) {
    const TracedCommand& failed = good_[index];
    const char* faultName[] = {"refused", "timed out", "recorder gone"};
    char where[96];
    std::snprintf(where, sizeof where, "%s, command %zu (opcode %02X), %s", image_.name.c_str(),
                  index, failed.opcode(), faultName[static_cast<int>(fault)]);
    SCOPED_TRACE(where);

    SimOptions options;
    const std::uint8_t status = fault == Fault::kTimedOut ? kStatusTimedOut : kStatusError;
    if (fault != Fault::kVanished) {
      // Counted across the bus, as the simulator counts.
      const auto occurrence = std::count_if(
          good_.begin(), good_.begin() + index + 1, [&failed](const TracedCommand& c) {
            return AtRecorder(c) && c.opcode() == failed.opcode();
          });
      options.failures = {{failed.opcode(), static_cast<std::uint32_t>(occurrence), status}};
    }
    Run run(recorder_, options, fault == Fault::kVanished ? index : kNever, dir_.path());
    const ExpectedOutcome expected = ExpectedFor(good_, index, type_, image_.dataStage);

    const StartupResult started = run.frame.FormCreate();
    if (expected.consequence == Consequence::kHidden) {
      EXPECT_EQ(started, StartupResult::kReady);
      EXPECT_EQ(run.view.recorderLines, std::vector<std::string>{kOtherLine});
      return;
    }
    ASSERT_EQ(started, StartupResult::kReady);
    run.frame.FileSelectClick(path_);
    if (fault == Fault::kVanished) {
      // "Start recording." is answered OK unless the recorder is gone
      // before it; the next "Insert CD-R Disc" is cancelled.
      run.view.answers = {expected.consequence == Consequence::kNotReady ? Answer::Cancel
                                                                         : Answer::Ok,
                          Answer::Cancel};
    }
    const MakeResult made = run.frame.MakeClick();
    const std::vector<TracedCommand> sent = run.Commands();

    if (expected.consequence == Consequence::kNotReady) {
      if (fault == Fault::kVanished) {
        EXPECT_EQ(made, MakeResult::kCancelled);
        EXPECT_EQ(run.view.messages, std::vector<std::string>{"Insert CD-R Disc"});
        EXPECT_EQ(sent.size(), index + 1);
        EXPECT_TRUE(run.AllEnabled());
        return;
      }
      // Asked once, then the recording runs as the good one with one more
      // readiness test.
      EXPECT_EQ(made, MakeResult::kCompleted);
      EXPECT_EQ(run.view.messages, (std::vector<std::string>{
                                       "Insert CD-R Disc", "Start recording.",
                                       "Recording is completed"}));
      ASSERT_EQ(sent.size(), good_.size() + 1);
      for (std::size_t j = 0; j < sent.size(); ++j) {
        ASSERT_TRUE(SameCommand(sent[j], good_[j <= index ? j : j - 1])) << "command " << j;
      }
      EXPECT_EQ(run.ejected, disc_);
      return;
    }

    EXPECT_EQ(made, expected.recovery ? MakeResult::kRecoveryFailure
                                      : MakeResult::kNoRecoveryFailure);
    std::vector<std::string> boxes{"Start recording."};
    if (expected.code == ErrEject) boxes.push_back("Recording is completed");
    boxes.push_back(expected.text);
    EXPECT_EQ(run.view.messages, boxes);
    EXPECT_EQ(run.view.text(Edit::Message), expected.stage);
    // The failed command is the last one sent: no clean-up, no eject.
    ASSERT_EQ(sent.size(), index + 1);
    for (std::size_t j = 0; j <= index; ++j) {
      ASSERT_TRUE(SameCommand(sent[j], good_[j])) << "command " << j;
    }
    if (fault == Fault::kVanished) {
      EXPECT_NE(sent.back().status, kStatusCompleted);
    } else {
      EXPECT_EQ(sent.back().status, status);
    }

    if (!expected.recovery) {
      EXPECT_TRUE(run.view.closeRequested);
      EXPECT_TRUE(run.NoneEnabled());
      return;
    }
    EXPECT_FALSE(run.view.closeRequested);
    EXPECT_TRUE(run.AllEnabled());
    run.view.messages.clear();
    if (fault == Fault::kVanished) {
      // Nothing answers any more: the next press asks for a disc.
      EXPECT_EQ(run.frame.MakeClick(), MakeResult::kCancelled);
      EXPECT_EQ(run.view.messages, std::vector<std::string>{"Insert CD-R Disc"});
      EXPECT_EQ(run.Commands().size(), index + 2);
      return;
    }
    // The same image on a blank disc, in the same program run.
    run.ChangeDisc();
    EXPECT_EQ(run.frame.MakeClick(), MakeResult::kCompleted);
    EXPECT_EQ(run.view.messages,
              (std::vector<std::string>{"Start recording.", "Recording is completed"}));
    EXPECT_EQ(run.ejected, disc_);
  }

  int type_;
  SimRecorderSlot recorder_;
  const Image& image_;
  const TempDir& dir_;
  std::string path_;
  std::vector<TracedCommand> good_;
  std::vector<SimSector> disc_;
};

class FaultSweep : public ::testing::TestWithParam<int> {};

TEST_P(FaultSweep, EveryCommandOfEveryImageFailsAsTheTablesSay) {
  const int type = GetParam();
  const std::optional<SimRecorderSlot> recorder = ModelOfType(type);
  if (!recorder) GTEST_SKIP() << "the recorder table has no model of RecorderType " << type;
  TempDir dir;
  int cases = 0;
  for (const Image& image : Images()) {
    Sweep sweep(type, *recorder, image, dir);
    if (HasFailure()) return;
    cases += sweep.SweepAll();
    if (HasFailure()) return;
  }
  std::printf("RecorderType %d (%s %s): %d cases swept\n", type, recorder->vendor.c_str(),
              recorder->product.c_str(), cases);
  RecordProperty("cases", cases);
}

INSTANTIATE_TEST_SUITE_P(RecorderTypes, FaultSweep, ::testing::Range(1, 10));

}  // namespace
