#include "app/main_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/fake_view.h"
#include "app/messages.h"
#include "image/image_fixtures.h"
#include "scsi/scripted_backend.h"
#include "sim/sim_bus.h"

namespace {

constexpr const char* kTeac = "TEAC    ";
constexpr const char* kTeacW540 = "CD-W540E        ";

std::shared_ptr<SimBus> Bus(const std::string& text = "0:5=TEAC/CD-W540E",
                            SimOptions options = {}) {
  auto recorders = ParseSimBus(text);
  EXPECT_EQ(recorders.error, "");
  return std::make_shared<SimBus>(recorders.value, options);
}

BackendFactory Factory(std::shared_ptr<SimBus> bus) {
  return [bus]() -> std::shared_ptr<Backend> { return bus; };
}

bool AllEnabled(const FakeView& view) {
  for (Control c : {Control::DriveSelect, Control::DirectorySelect, Control::FileSelect,
                    Control::Exit, Control::Make}) {
    if (!view.enabled(c)) return false;
  }
  return true;
}

// A started window bound to the first recorder of a simulated bus.
struct Window {
  explicit Window(std::shared_ptr<SimBus> simBus = Bus())
      : bus(std::move(simBus)), frame(view, Factory(bus), dir.path()) {
    EXPECT_EQ(frame.FormCreate(), StartupResult::kReady);
  }
  const SimDisc& Disc() const {
    return *bus->Recorder(frame.drive.scsi.adapterId, frame.drive.scsi.targetId)->Disc();
  }
  TempDir dir;
  FakeView view;
  std::shared_ptr<SimBus> bus;
  MainFrame frame;
};

// --- start-up ---------------------------------------------------------------

TEST(Startup, LoadFailureShowsItsTextAndClosesWithoutScanning) {
  struct Case {
    FailureCode code;
    std::string text;
  } cases[] = {{ErrAspiLoad, "ASPI for Win32 is resident!"},
               {ErrAspiEntry, "ASPI for Win32 not available!"},
               {ErrWrite, "System Error!"}};
  for (const auto& c : cases) {
    FakeView view;
    MainFrame frame(view, FailingFactory(c.code));
    EXPECT_EQ(frame.FormCreate(), StartupResult::kLoadFailed);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"box " + c.text, "close"}));
  }
}

TEST(Startup, EmptyBusSaysNotConnectedWithoutDialog) {
  FakeView view;
  auto bus = Bus("");
  MainFrame frame(view, Factory(bus));
  EXPECT_EQ(frame.FormCreate(), StartupResult::kNoRecorder);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"box The CD Recording Unit is not connected.", "close"}));
}

TEST(Startup, DevicesThatCannotBeOpenedAreNamedAfterTheText) {
  FakeView view;
  auto scripted = std::make_shared<ScriptedBackend>(1);
  scripted->SetDefault({.status = kStatusNoDevice});
  scripted->SetProblems({"/dev/sg0: permission denied; join the group cdrom"});
  MainFrame frame(view, ScriptedFactory(scripted));
  EXPECT_EQ(frame.FormCreate(), StartupResult::kNoRecorder);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0],
            "The CD Recording Unit is not connected.\n"
            "/dev/sg0: permission denied; join the group cdrom");
}

TEST(Startup, DialogListsRecordersInScanOrderAndBindsTheChosenOne) {
  FakeView view;
  view.choice = 2;
  auto bus = Bus("1:2=PLEXTOR/CD-R   PX-W1610A;0:5=TEAC/CD-W540E;0:3=YAMAHA/CRW2100E");
  MainFrame frame(view, Factory(bus));
  EXPECT_EQ(frame.FormCreate(), StartupResult::kReady);
  EXPECT_EQ(view.recorderLines, (std::vector<std::string>{
                                    "ID:0-03 YAMAHA  CRW2100E        ",
                                    "ID:0-05 TEAC    CD-W540E        ",
                                    "ID:1-02 PLEXTOR CD-R   PX-W1610A",
                                }));
  EXPECT_EQ(frame.drive.scsi.adapterId, 1);
  EXPECT_EQ(frame.drive.scsi.targetId, 2);
  EXPECT_EQ(frame.drive.recorderType, 2);
  EXPECT_FALSE(view.closeRequested);
}

TEST(Startup, DialogClosedWithoutOkEndsWithoutBindingOrSending) {
  FakeView view;
  view.choice = std::nullopt;
  auto scripted = std::make_shared<ScriptedBackend>(1);
  scripted->On({.target = 0, .opcode = 0x12}, {.data = InquiryData(kTeac, kTeacW540)});
  scripted->SetDefault({.status = kStatusNoDevice});
  MainFrame frame(view, ScriptedFactory(scripted));
  EXPECT_EQ(frame.FormCreate(), StartupResult::kClosed);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"choose", "close"}));
  EXPECT_EQ(scripted->Commands().size(), 8u);  // the scan's INQUIRYs only
  EXPECT_TRUE(scripted->Claims().empty());
  EXPECT_EQ(frame.drive.recorderType, 0);
}

TEST(Startup, RecorderThatCannotBeHeldIsReportedAndCloses) {
  FakeView view;
  auto scripted = std::make_shared<ScriptedBackend>(1);
  scripted->On({.target = 4, .opcode = 0x12}, {.data = InquiryData(kTeac, kTeacW540)});
  scripted->SetDefault({.status = kStatusNoDevice});
  scripted->SetClaimAnswer("/dev/sr0 is mounted at /media/cdrom; unmount it");
  MainFrame frame(view, ScriptedFactory(scripted));
  EXPECT_EQ(frame.FormCreate(), StartupResult::kRecorderUnusable);
  EXPECT_EQ(view.messages.back(),
            "The CD recorder cannot be used: /dev/sr0 is mounted at /media/cdrom; unmount it");
  EXPECT_TRUE(view.closeRequested);
}

// --- image selection --------------------------------------------------------

TEST(ImageSelection, EachKindFillsTheEditsAndEnablesMake) {
  Window w;
  const FirmwareModel& tpx5110 = FirmwareModels()[2];
  struct Case {
    std::string name;
    Bytes bytes;
    ImageKind kind;
    std::string version;
    std::string type;
  } cases[] = {
      {"raw.BIN", RawFirmwareImage("1.05"), kFirmwareImage, "1.05", "ZN7300"},
      {"headed.BIN", HeadedFirmwareImage(tpx5110, 4, "1.20"), kFirmwareImage, "1.20",
       std::string(tpx5110.displayName)},
      {"drive.BIN", RecorderFirmwareFile({.product = "PX-760A", .version = "1.07"}),
       kRecorderFirmware, "1.07", "PLEXTOR PX-760A"},
      {"disc.BIN", DiscImage({.version = "2.00"}), kDiscImage, "2.00", "Magnolix"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = w.dir.Write(c.name, c.bytes);
    w.frame.FileSelectClick(path);
    EXPECT_EQ(w.frame.imageKind, c.kind);
    EXPECT_EQ(w.view.text(Edit::FileName), path);
    EXPECT_EQ(w.view.text(Edit::FileVersion), c.version);
    EXPECT_EQ(w.view.text(Edit::FileType), c.type);
    EXPECT_EQ(w.view.text(Edit::Message), "");
    EXPECT_TRUE(w.view.enabled(Control::Make));
  }
}

TEST(ImageSelection, RejectionClearsEditsDisablesMakeAndKeepsTheKind) {
  Window w;
  w.frame.FileSelectClick(w.dir.Write("drive.BIN", RecorderFirmwareFile()));
  ASSERT_EQ(w.frame.imageKind, kRecorderFirmware);
  struct Case {
    std::string name;
    Bytes bytes;
    std::string message;
  } cases[] = {
      {"short.BIN", Bytes(32768, 0x11), "File Size Error"},
      {"plain.BIN", Bytes(65536, 0x11), "File Format Error"},
      {"badsum.BIN", DiscImage({.dataTotalError = 1}), "Sum Check Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    w.frame.FileSelectClick(w.dir.Write(c.name, c.bytes));
    EXPECT_EQ(w.view.text(Edit::Message), c.message);
    EXPECT_EQ(w.view.text(Edit::FileName), "");
    EXPECT_EQ(w.view.text(Edit::FileVersion), "");
    EXPECT_EQ(w.view.text(Edit::FileType), "");
    EXPECT_FALSE(w.view.enabled(Control::Make));
    EXPECT_EQ(w.frame.imageKind, kRecorderFirmware);
  }
  w.frame.FileSelectClick(w.dir.path() + "missing.BIN");
  EXPECT_EQ(w.view.text(Edit::Message), "File Open Error");
}

TEST(ImageSelection, ImageTooLargeForMemoryIsRejectedWithTheMemoryText) {
  FakeView view;
  TempDir dir;
  MainFrame frame(view, Factory(Bus()), dir.path());
  frame.binFile = BinFile(dir.path(), /*memoryLimit=*/4096);
  frame.FileSelectClick(dir.Write("raw.BIN", RawFirmwareImage()));
  EXPECT_EQ(view.text(Edit::Message), "Memory area not allocate!");
  EXPECT_FALSE(view.enabled(Control::Make));
  EXPECT_EQ(frame.MakeClick(), MakeResult::kNotRecordable);
}

// --- disc making ------------------------------------------------------------

TEST(DiscMaking, CompletedRecordingVerifiesEjectsAndClearsMessage) {
  Window w;
  const Bytes raw = RawFirmwareImage("1.05");
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", raw));
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kCompleted);
  EXPECT_EQ(w.view.messages,
            (std::vector<std::string>{"Start recording.", "Recording is completed"}));
  EXPECT_EQ(w.view.text(Edit::Message), "");
  EXPECT_TRUE(AllEnabled(w.view));
  const SimRecorder* recorder = w.bus->Recorder(0, 5);
  EXPECT_TRUE(recorder->TrayOpen());
  // Stage texts in order, then the eject text.
  std::vector<std::string> stages;
  for (const auto& call : w.view.calls) {
    if (call.rfind("text Message=", 0) == 0 && call.size() > 13) stages.push_back(call.substr(13));
  }
  EXPECT_EQ(stages, (std::vector<std::string>{"Recording leadin", "Recording data",
                                              "Recording leadout", "Verify", "Eject CD"}));
}

TEST(DiscMaking, ReadinessLoopAsksUntilADiscIsIn) {
  Window w(Bus("0:5=TEAC/CD-W540E", {.noDiscTests = 2}));
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage()));
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kCompleted);
  EXPECT_EQ(w.view.messages,
            (std::vector<std::string>{"Insert CD-R Disc", "Insert CD-R Disc", "Start recording.",
                                      "Recording is completed"}));
}

TEST(DiscMaking, CancelAtEitherQuestionWritesNothingAndEnablesControls) {
  for (bool noDisc : {true, false}) {
    SCOPED_TRACE(noDisc ? "insert disc" : "start recording");
    Window w(Bus("0:5=TEAC/CD-W540E", {.noDiscTests = noDisc ? 1u : 0u}));
    w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage()));
    w.view.answers = {Answer::Cancel};
    EXPECT_EQ(w.frame.MakeClick(), MakeResult::kCancelled);
    EXPECT_EQ(w.view.messages.back(), noDisc ? "Insert CD-R Disc" : "Start recording.");
    EXPECT_TRUE(AllEnabled(w.view));
    EXPECT_TRUE(w.Disc().Sectors().empty());
  }
}

TEST(DiscMaking, ReadBackDifferenceSaysVerifyFailsAndStillEjects) {
  Window w(Bus("0:5=TEAC/CD-W540E", {.corruptLbas = {30}}));
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage()));
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kVerifyFailed);
  EXPECT_EQ(w.view.messages.back(), "Verify fails");
  EXPECT_TRUE(w.bus->Recorder(0, 5)->TrayOpen());
  EXPECT_TRUE(AllEnabled(w.view));
}

TEST(DiscMaking, ShortVersionTextIsRefusedBeforeAnyCommand) {
  Window w;
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage("1.5")));
  ASSERT_TRUE(w.view.enabled(Control::Make));
  std::ostringstream trace;
  w.frame.drive.scsi.SetTrace(&trace);
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kNotRecordable);
  EXPECT_EQ(w.view.messages, (std::vector<std::string>{"File Version Error"}));
  EXPECT_EQ(trace.str(), "");
  EXPECT_TRUE(AllEnabled(w.view));
}

TEST(DiscMaking, RecordsTheAcceptedFileNotALaterRejectedSelection) {
  Window w;
  const Bytes disc = DiscImage({.length = 51200 + 3 * 2048});
  w.frame.FileSelectClick(w.dir.Write("disc.BIN", disc));
  // A later click on a rejected file disables Make; the window's edits and
  // Make come back only with an accepted file, which is what is recorded.
  w.frame.FileSelectClick(w.dir.Write("other.BIN", Bytes(100, 1)));
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kNotRecordable);
  w.frame.FileSelectClick(w.dir.path() + "disc.BIN");
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kCompleted);
}

struct FailureCase {
  const char* bus;
  SimFailure failure;
  std::string text;
  bool recovery;
};

class RecordingFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RecordingFailure, ShowsItsTextAndRecoversOrCloses) {
  const FailureCase& c = GetParam();
  Window w(Bus(c.bus, {.failures = {c.failure}}));
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage()));
  const MakeResult result = w.frame.MakeClick();
  EXPECT_EQ(w.view.messages.back(), c.text);
  const SimRecorder* recorder = w.bus->Recorder(w.frame.drive.scsi.adapterId,
                                                w.frame.drive.scsi.targetId);
  if (c.recovery) {
    EXPECT_EQ(result, MakeResult::kRecoveryFailure);
    EXPECT_TRUE(AllEnabled(w.view));
    EXPECT_FALSE(w.view.closeRequested);
  } else {
    EXPECT_EQ(result, MakeResult::kNoRecoveryFailure);
    EXPECT_TRUE(w.view.closeRequested);
    EXPECT_FALSE(w.view.enabled(Control::Make));
  }
  // Only a failing eject comes after the eject; every other failure leaves the disc in.
  EXPECT_EQ(recorder->TrayOpen(), false);
  if (c.failure.opcode != 0x1B) {
    EXPECT_NE(w.view.text(Edit::Message), "");  // the stage text stays
  } else {
    EXPECT_EQ(w.view.text(Edit::Message), "Eject CD");
  }
}

constexpr const char* kType1 = "0:1=YAMAHA/CDR100";
constexpr const char* kType2 = "0:1=PLEXTOR/CD-R   PX-W1610A";
constexpr const char* kType7 = "0:1=TEAC/CD-W540E";

INSTANTIATE_TEST_SUITE_P(
    EveryCode, RecordingFailure,
    ::testing::Values(
        FailureCase{kType2, {0xBB}, "no recovery error. (WriteSpeed)", false},
        FailureCase{kType1, {0x15}, "no recovery error. (WriteSpeed)", false},
        FailureCase{kType1, {0xE6}, "no recovery error. (BlockLen)", false},
        FailureCase{kType7, {0x2A, 30}, "recovery error. (Write)", true},
        FailureCase{kType1, {0x0A, 3}, "recovery error. (Write)", true},
        FailureCase{kType7, {0x35}, "recovery error. (SyncCache)", true},
        FailureCase{kType7, {0x5B, 2}, "recovery error. (FixSession)", true},
        FailureCase{kType1, {0xE9}, "recovery error. (FixSession)", true},
        FailureCase{kType7, {0x54, 1, 0}, "recovery error. (SendOPC)", true},
        FailureCase{kType7, {0x5A}, "no recovery error. (ModeSence)", false},
        FailureCase{kType2, {0x1A}, "no recovery error. (ModeSence)", false},
        FailureCase{kType7, {0x55}, "no recovery error. (ModeSelect)", false},
        FailureCase{kType7, {0x52}, "no recovery error. (TrackInfo)", false},
        FailureCase{kType2, {0x52, 5}, "no recovery error. (TrackInfo)", false},
        FailureCase{kType7, {0x5B, 1}, "recovery error. (FixTrack)", true},
        FailureCase{kType7, {0x1B}, "recovery error. (Eject)", true},
        FailureCase{kType7, {0x51}, "no recovery error. (DiscInfo)", false},
        FailureCase{kType7, {0x28, 4, 0}, "recovery error. (Read)", true}));

TEST(DiscMaking, FileChangedSinceItWasAcceptedIsNotRecorded) {
  struct Case {
    std::string name;
    Bytes file;
    std::function<void(const std::string&)> change;
  } cases[] = {
      {"raw, same size and time, other bytes", RawFirmwareImage(),
       [](const std::string& path) {
         const auto time = std::filesystem::last_write_time(path);
         Bytes other = RawFirmwareImage();
         other[5000] ^= 1;
         WriteBytes(path, other);
         std::filesystem::last_write_time(path, time);
       }},
      {"disc image, longer", DiscImage(),
       [](const std::string& path) {
         Bytes longer = DiscImage();
         longer.resize(longer.size() + 2048);
         WriteBytes(path, longer);
       }},
      {"recorder firmware, removed", RecorderFirmwareFile(),
       [](const std::string& path) { std::filesystem::remove(path); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Window w;
    const std::string path = w.dir.Write("F.BIN", c.file);
    w.frame.FileSelectClick(path);
    c.change(path);
    std::ostringstream trace;
    w.frame.drive.scsi.SetTrace(&trace);
    EXPECT_EQ(w.frame.MakeClick(), MakeResult::kNotRecordable);
    EXPECT_EQ(w.view.messages.back(),
              "The file has changed since it was selected. Select it again.");
    EXPECT_EQ(trace.str(), "");
    EXPECT_FALSE(w.view.enabled(Control::Make));
  }
}

TEST(DiscMaking, RecoveryFailureLeavesTheProgramReadyToRecordAgain) {
  Window w(Bus(kType7, {.failures = {{0x2A, 10}}}));
  w.frame.FileSelectClick(w.dir.Write("raw.BIN", RawFirmwareImage()));
  EXPECT_EQ(w.frame.MakeClick(), MakeResult::kRecoveryFailure);
  EXPECT_TRUE(w.view.enabled(Control::Make));
}

}  // namespace
