// make_fuzz_seeds DIR: writes the seed corpora of the fuzz targets into
// DIR/identify, DIR/option_values, DIR/recorder_choice and DIR/sim_bus, made by the project's own
// fixture code and, for the bus, from the commands of real recordings.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/fake_view.h"
#include "app/main_frame.h"
#include "command_stream.h"
#include "fuzz_bus.h"
#include "image/image_fixtures.h"
#include "image_shape.h"
#include "scsi/direction.h"
#include "sim/sim_bus.h"

namespace {

// Passes every command on to a simulated bus and keeps it as a stream record.
class RecordingBackend : public Backend {
 public:
  explicit RecordingBackend(std::shared_ptr<SimBus> bus) : bus_(std::move(bus)) {}

  std::uint8_t AdapterCount() override { return bus_->AdapterCount(); }
  CommandResult Run(std::uint8_t adapter, std::uint8_t target, ScsiCommand& command) override {
    StreamCommand kept{.adapter = adapter, .target = target, .cdbLength = command.cdbLength,
                       .bufferLength = command.bufferLength};
    std::copy_n(command.cdb, sizeof command.cdb, kept.cdb);
    // Sector data is left out: the recorder stores whatever comes.
    const std::uint8_t opcode = command.cdb[0];
    if (DirectionOf(command) == DataDirection::kOut && opcode != 0x0A && opcode != 0x2A) {
      kept.data.assign(command.buffer, command.buffer + command.bufferLength);
    }
    stream.commands.push_back(std::move(kept));
    return bus_->Run(adapter, target, command);
  }

  CommandStream stream;

 private:
  std::shared_ptr<SimBus> bus_;
};

void Write(const std::filesystem::path& file, const Bytes& bytes) {
  if (!WriteBytes(file.string(), bytes)) {
    std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", file.c_str());
    std::exit(1);
  }
}

void IdentifySeeds(const std::filesystem::path& dir) {
  Bytes raw = RawFirmwareImage("1.05");
  raw.resize(4 * SectorSize);  // the shape pads it to its size again
  Write(dir / "raw", ShapeInput(ImageShape::kRawSize, raw));
  int n = 0;
  for (const FirmwareModel& model : FirmwareModels()) {
    if (model.wordOrder == WordOrder::kNone) continue;
    Write(dir / ("headed-" + std::to_string(n++)),
          ShapeInput(ImageShape::kWholeSectors, HeadedFirmwareImage(model, 2)));
  }
  Write(dir / "disc", ShapeInput(ImageShape::kAtDiscHeader,
                                 DiscImage({.length = kDiscDataOffset + 2 * SectorSize})));
  Write(dir / "recorder", ShapeInput(ImageShape::kAsIs, RecorderFirmwareFile()));
  Write(dir / "recorder-decoy",
        ShapeInput(ImageShape::kAsIs, RecorderFirmwareFile({.decoy = true, .length = 1200})));
}

void RecorderChoiceSeeds(const std::filesystem::path& dir) {
  int n = 0;
  for (const std::string text : {"2", "ID:1-02", "ID:0-05"}) {
    Write(dir / ("choice-" + std::to_string(n++)), Bytes(text.begin(), text.end()));
  }
}

void OptionSeeds(const std::filesystem::path& dir) {
  const std::pair<std::uint8_t, std::string> values[] = {
      {0, std::string(kDefaultSimBus)}, {0, "0:0=YAMAHA/CDR100"}, {1, "2A@3:4"},
      {1, "0x54:0"}, {1, "1B"}, {2, "30"}, {3, "2"},
  };
  int n = 0;
  for (const auto& [which, text] : values) {
    Bytes bytes{which};
    bytes.insert(bytes.end(), text.begin(), text.end());
    Write(dir / ("value-" + std::to_string(n++)), bytes);
  }
}

// One recording of a raw firmware image on the first model of each
// RecorderType, at the place the fuzz bus gives that model.
void SimBusSeeds(const std::filesystem::path& dir) {
  TempDir files;
  const std::string image = files.Write("raw.BIN", RawFirmwareImage("1.05"));
  const std::vector<SimRecorderSlot> fuzzBus = FuzzBusRecorders();
  for (int type = 1; type <= 9; ++type) {
    for (const SimRecorderSlot& slot : fuzzBus) {
      const RecorderModel* model =
          MatchModel(SupportedRecorderModels(),
                     reinterpret_cast<const std::uint8_t*>(slot.vendor.data()),
                     reinterpret_cast<const std::uint8_t*>(slot.product.data()));
      if (model == nullptr || model->recorderType != type) continue;
      auto recording = std::make_shared<RecordingBackend>(std::make_shared<SimBus>(
          std::vector<SimRecorderSlot>{slot}));
      FakeView view;
      MainFrame frame(view, [recording] { return recording; }, files.path());
      frame.FormCreate();
      frame.FileSelectClick(image);
      if (frame.MakeClick() != MakeResult::kCompleted) {
        std::fprintf(stderr, "make_fuzz_seeds: the recording on type %d failed\n", type);
        std::exit(1);
      }
      Write(dir / ("type-" + std::to_string(type)), EncodeCommandStream(recording->stream));
      break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  for (const char* corpus : {"identify", "option_values", "recorder_choice", "sim_bus"}) {
    std::filesystem::create_directories(root / corpus);
  }
  IdentifySeeds(root / "identify");
  OptionSeeds(root / "option_values");
  RecorderChoiceSeeds(root / "recorder_choice");
  SimBusSeeds(root / "sim_bus");
  return 0;
}
