#include "scsi/scsi.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "core/failure_code.h"
#include "scsi/scripted_backend.h"

namespace {

ScsiCommand Inquiry(std::uint8_t* buffer) {
  ScsiCommand command;
  const std::uint8_t cdb[6] = {0x12, 0, 0, 0, 0x2C, 0};
  std::copy(std::begin(cdb), std::end(cdb), command.cdb);
  command.cdbLength = 6;
  command.timeoutMs = 30000;
  command.buffer = buffer;
  command.bufferLength = 128;
  return command;
}

TEST(SCSI, LoadCreatesTheBackendAndResetsTheAddress) {
  auto bus = std::make_shared<ScriptedBackend>(3);
  SCSI scsi(ScriptedFactory(bus));
  EXPECT_EQ(scsi.adapterCount, 0);
  scsi.adapterId = 5;
  scsi.targetId = 6;
  scsi.Load();
  EXPECT_EQ(scsi.adapterCount, 3);
  EXPECT_EQ(scsi.adapterId, 0);
  EXPECT_EQ(scsi.targetId, 0);
}

TEST(SCSI, LoadPassesOnTheFactorysFailure) {
  for (FailureCode code : {ErrAspiLoad, ErrAspiEntry}) {
    SCSI scsi(FailingFactory(code));
    try {
      scsi.Load();
      ADD_FAILURE() << "Load did not throw";
    } catch (FailureCode thrown) {
      EXPECT_EQ(thrown, code);
    }
    std::uint8_t buffer[128];
    ScsiCommand command = Inquiry(buffer);
    EXPECT_EQ(scsi.Execute(command), kStatusNotSent);
  }
  SCSI none(nullptr);
  EXPECT_THROW(none.Load(), FailureCode);
}

TEST(SCSI, ExecuteRunsAtTheCurrentAddressAndOverwritesSense) {
  auto bus = std::make_shared<ScriptedBackend>(2);
  bus->On({.adapter = 1, .target = 5},
          {.status = 4,
           .sense = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x01},
           .resid = 100});
  SCSI scsi(ScriptedFactory(bus));
  scsi.Load();
  std::uint8_t buffer[128];
  ScsiCommand command = Inquiry(buffer);
  std::fill(std::begin(command.sense), std::end(command.sense), 0xEE);

  EXPECT_EQ(scsi.Execute(command), kStatusCompleted);
  for (std::uint8_t byte : command.sense) EXPECT_EQ(byte, 0);

  scsi.adapterId = 1;
  scsi.targetId = 5;
  EXPECT_EQ(scsi.Execute(command), 4);
  EXPECT_EQ(command.sense[12], 0x24);
  EXPECT_EQ(scsi.LastResult().resid, 100u);
  EXPECT_EQ(scsi.LastResult().senseKey, 5);
  EXPECT_EQ(scsi.LastResult().asc, 0x24);
  EXPECT_EQ(scsi.LastResult().ascq, 0x01);

  ASSERT_EQ(bus->Commands().size(), 2u);
  EXPECT_EQ(bus->Commands()[0].adapter, 0);
  EXPECT_EQ(bus->Commands()[1].adapter, 1);
  EXPECT_EQ(bus->Commands()[1].target, 5);
}

TEST(SCSI, MalformedRecordsAndAddressesAreNotSent) {
  struct Case {
    const char* name;
    void (*spoil)(SCSI&, ScsiCommand&);
    std::uint8_t status;
  };
  const Case cases[] = {
      {"NoCdb", [](SCSI&, ScsiCommand& c) { c.cdbLength = 0; },
       kStatusInvalidCommand},
      {"CdbLongerThanTheRecord",
       [](SCSI&, ScsiCommand& c) { c.cdbLength = 17; }, kStatusInvalidCommand},
      {"LengthWithoutBuffer", [](SCSI&, ScsiCommand& c) { c.buffer = nullptr; },
       kStatusInvalidCommand},
      {"AdapterBeyondTheCount", [](SCSI& s, ScsiCommand&) { s.adapterId = 2; },
       kStatusInvalidAdapter},
      {"TargetBeyondSeven", [](SCSI& s, ScsiCommand&) { s.targetId = 8; },
       kStatusNoDevice},
  };
  for (const Case& c : cases) {
    auto bus = std::make_shared<ScriptedBackend>(2);
    SCSI scsi(ScriptedFactory(bus));
    scsi.Load();
    std::uint8_t buffer[128];
    ScsiCommand command = Inquiry(buffer);
    command.sense[0] = 0x70;
    c.spoil(scsi, command);
    EXPECT_EQ(scsi.Execute(command), c.status) << c.name;
    EXPECT_TRUE(bus->Commands().empty()) << c.name;
    EXPECT_EQ(command.sense[0], 0x70) << c.name;  // nothing sent, kept
  }
}

class ThrowingBackend : public ScriptedBackend {
 public:
  CommandResult Run(std::uint8_t, std::uint8_t, ScsiCommand&) override {
    throw std::runtime_error("broken");
  }
};

TEST(SCSI, ExecuteNeverThrows) {
  auto bus = std::make_shared<ThrowingBackend>();
  SCSI scsi(ScriptedFactory(bus));
  scsi.Load();
  std::uint8_t buffer[128];
  ScsiCommand command = Inquiry(buffer);
  EXPECT_EQ(scsi.Execute(command), kStatusError);
}

TEST(SCSI, StopCheckSendsNothingMoreAndTellsWhetherTheDiscWasWritten) {
  auto bus = std::make_shared<ScriptedBackend>(1);
  SCSI scsi(ScriptedFactory(bus));
  scsi.Load();
  bool stop = false;
  scsi.SetStopCheck([&stop] { return stop; });
  auto send = [&scsi](std::uint8_t opcode) {
    ScsiCommand command;
    command.cdb[0] = opcode;
    command.cdbLength = 10;
    scsi.Execute(command);
  };
  auto interruption = [&]() -> std::optional<bool> {
    stop = true;
    try {
      send(0x00);
    } catch (const Interrupted& i) {
      stop = false;
      return i.afterWrite;
    }
    stop = false;
    return std::nullopt;
  };
  send(0x55);
  EXPECT_EQ(interruption(), false);  // mode pages only: the disc is untouched
  send(0x2A);
  EXPECT_EQ(interruption(), true);
  send(0x1B);  // eject: the next disc is a new one
  EXPECT_EQ(interruption(), false);
  EXPECT_EQ(bus->Commands().size(), 3u);  // nothing was sent while stopped
}

TEST(SCSI, ClaimAndProblemsGoToTheBackend) {
  auto bus = std::make_shared<ScriptedBackend>(2);
  bus->SetClaimAnswer("/dev/sr0 is mounted").SetProblems({"sg1: denied"});
  SCSI scsi(ScriptedFactory(bus));
  EXPECT_NE(scsi.Claim(), "");  // not loaded
  EXPECT_TRUE(scsi.Problems().empty());
  scsi.Load();
  scsi.adapterId = 1;
  scsi.targetId = 4;
  EXPECT_EQ(scsi.Claim(), "/dev/sr0 is mounted");
  using Claims = std::vector<std::pair<std::uint8_t, std::uint8_t>>;
  EXPECT_EQ(bus->Claims(), (Claims{{1, 4}}));
  EXPECT_EQ(scsi.Problems(), std::vector<std::string>{"sg1: denied"});
}

TEST(SCSI, DestroyingTheTransportReleasesTheBackend) {
  auto bus = std::make_shared<ScriptedBackend>();
  std::weak_ptr<ScriptedBackend> watch = bus;
  {
    SCSI scsi(ScriptedFactory(bus));
    scsi.Load();
    bus.reset();  // the factory's copy and the transport's remain
  }
  EXPECT_TRUE(watch.expired());
}

}  // namespace
