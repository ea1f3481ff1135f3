#include "cli/recorder_setup.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "scsi/platform_backend.h"

void AddRecorderOptions(CLI::App& command, RecorderOptions& options) {
  // main() gives a bare --simulate the default bus.
  command
      .add_option_function<std::string>(
          "--simulate", [&options](const std::string& bus) { options.simulateBus = bus; },
          "Use the simulated recorder bus instead of real recorders. BUS is "
          "A:T=VENDOR/PRODUCT;... with vendor and product as the recorder reports them "
          "(default: " + std::string(kDefaultSimBus) + ")")
      ->type_name("[=BUS]")
      ->group("Simulated recorder");
  command.add_option("--sim-fail", options.simFail,
                     "Fail the K-th command with opcode OP (hex) with STATUS (default 4; 0 = "
                     "timed out). Repeatable.")
      ->type_name("OP[@K][:STATUS]")
      ->allow_extra_args(false)
      ->group("Simulated recorder");
  command.add_option("--sim-corrupt", options.simCorrupt,
                     "Change one byte of what LBA reads back. Repeatable.")
      ->type_name("LBA")
      ->allow_extra_args(false)
      ->group("Simulated recorder");
  command.add_option("--sim-no-disc", options.simNoDisc,
                     "Report no disc for the first K readiness tests.")
      ->type_name("K")
      ->allow_extra_args(false)
      ->group("Simulated recorder");
  command.add_option("--sim-delay", options.simDelay,
                     "Make the simulated recorder take FACTOR times the real time per sector "
                     "at the set speed (0: no delay).")
      ->type_name("FACTOR")
      ->check(CLI::NonNegativeNumber.description(""))
      ->group("Simulated recorder");
  command.add_option("--trace", options.traceFile,
                     "Write one line per SCSI command sent to FILE.")
      ->type_name("FILE");
}

namespace {

// Parses every value of one repeatable option, handing each result on; false
// with `error` naming the option and the value at the first bad one.
template <class Parse, class Use>
bool ParseEach(const std::vector<std::string>& values, const std::string& option, Parse parse,
               Use use, std::string& error) {
  for (const auto& text : values) {
    auto parsed = parse(text);
    if (!parsed.error.empty()) {
      error = option + "=" + text + ": " + parsed.error;
      return false;
    }
    use(parsed.value);
  }
  return true;
}

}  // namespace

bool RecorderSetup::Build(const RecorderOptions& options, std::string& error) {
  if (!options.traceFile.empty()) {
    trace_.open(options.traceFile, std::ios::out | std::ios::trunc);
    if (!trace_) {
      error = "cannot write the trace file " + options.traceFile;
      return false;
    }
  }
  const bool simulated = options.simulateBus.has_value();
  if (!simulated) {
    if (!options.simFail.empty() || !options.simCorrupt.empty() || !options.simNoDisc.empty() ||
        options.simDelay != 0) {
      error = "the --sim-* options need --simulate";
      return false;
    }
    factory_ = PlatformBackendFactory();
    return true;
  }
  auto recorders = ParseSimBus(*options.simulateBus);
  if (!recorders.error.empty()) {
    error = "--simulate: " + recorders.error;
    return false;
  }
  SimOptions sim;
  sim.delayFactor = options.simDelay;
  const bool parsed =
      ParseEach(options.simFail, "--sim-fail", ParseSimFailure,
                [&](const SimFailure& f) { sim.failures.push_back(f); }, error) &&
      ParseEach(options.simCorrupt, "--sim-corrupt", ParseSimCorrupt,
                [&](std::uint32_t lba) { sim.corruptLbas.push_back(lba); }, error) &&
      ParseEach(options.simNoDisc, "--sim-no-disc", ParseSimNoDisc,
                [&](std::uint32_t count) { sim.noDiscTests += count; }, error);
  if (!parsed) return false;
  bus_ = std::make_shared<SimBus>(recorders.value, sim);
  factory_ = [bus = bus_]() -> std::shared_ptr<Backend> { return bus; };
  return true;
}

bool WriteDiscFile(const std::string& path, const std::vector<SimSector>& sectors,
                   std::string& error) {
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const auto& sector : sectors) {
      out.write(reinterpret_cast<const char*>(sector.data()), sector.size());
    }
    out.flush();
    if (!out) {
      error = "cannot write " + path;
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot write " + path;
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
