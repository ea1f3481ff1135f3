// programcd-sample: writes a sample image file of each kind, for trying the
// program without a real firmware file.
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "image/firmware_models.h"
#include "image/image_fixtures.h"

namespace {

// The headed row whose display name or model string is `name`, or null.
const FirmwareModel* HeadedModel(const std::string& name) {
  for (const FirmwareModel& m : FirmwareModels()) {
    if (m.kind == 1 && (m.displayName == name || m.model == name)) return &m;
  }
  return nullptr;
}

std::string HeadedNames() {
  std::string names;
  for (const FirmwareModel& m : FirmwareModels()) {
    if (m.kind == 1) names += (names.empty() ? "" : ", ") + std::string(m.displayName);
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Writes a sample image file of one kind:\n"
      "  raw       raw firmware image, 131072 bytes, \"ZN7300 \" header (default version 1.05)\n"
      "  headed    headed firmware image of 64 sectors with a correct 16-bit sum\n"
      "            (default model TPX-5810, version 1.20)\n"
      "  disc      disc image with header sector at 49152 and correct sums (default version 2.00)\n"
      "  recorder  recorder firmware file with a \"PLEXTOR \" block\n"
      "            (default product PX-760A, version 1.07)",
      "programcd-sample"};
  app.footer("Example: programcd-sample headed TPX.BIN --model QP7000 --version 2.01");
  std::string kind, out, version, model;
  app.add_option("kind", kind, "raw, headed, disc or recorder")
      ->required()
      ->check(CLI::IsMember({"raw", "headed", "disc", "recorder"}));
  app.add_option("out", out, "file to write")->required();
  app.add_option("--version", version, "version text written into the image");
  app.add_option("--model", model,
                 "headed: the model (" + HeadedNames() + "); recorder: the product text");
  CLI11_PARSE(app, argc, argv);

  auto fail = [](const std::string& why) {
    std::fprintf(stderr, "programcd-sample: %s\n", why.c_str());
    return 2;
  };
  if (!model.empty() && kind != "headed" && kind != "recorder") {
    return fail("--model applies to headed and recorder only");
  }
  Bytes bytes;
  if (kind == "raw") {
    if (version.size() > kHeaderLength - kRawVersionOffset) return fail("version too long");
    bytes = RawFirmwareImage(version.empty() ? "1.05" : version);
  } else if (kind == "headed") {
    const FirmwareModel* row = HeadedModel(model.empty() ? "TPX-5810" : model);
    if (row == nullptr) return fail("unknown model; one of: " + HeadedNames());
    if (version.size() > kHeaderLength - kVersionOffset) return fail("version too long");
    bytes = HeadedFirmwareImage(*row, 64, version.empty() ? "1.20" : version);
  } else if (kind == "disc") {
    if (version.size() > kHeaderLength - kVersionOffset) return fail("version too long");
    bytes = DiscImage({.length = kDiscDataOffset + 64 * SectorSize,
                       .version = version.empty() ? "2.00" : version});
  } else {
    RecorderFileOptions options;
    if (!model.empty()) options.product = model;
    if (!version.empty()) options.version = version;
    if (options.product.size() > 16) return fail("product text longer than 16 characters");
    if (options.version.size() > 4) return fail("version longer than 4 characters");
    options.length = 64 * SectorSize + 100;
    bytes = RecorderFirmwareFile(options);
  }
  if (!WriteBytes(out, bytes)) return fail("cannot write " + out);
  return 0;
}
