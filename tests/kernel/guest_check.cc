// guest_check: the checks that run inside the QEMU guest, and the host's
// helpers around them:
//   guest_check fixtures DIR              writes the medium image and the
//   sample guest_check qemu-args CONTROLLER IMG  QEMU's drive arguments, one a
//   line guest_check run                       in the guest: every check
//   guest_check verdict RESULTS           judges the guest's result lines
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "guest_plan.h"
#include "guest_report.h"
#include "guest_verdict.h"
#include "programcd_checks.h"
#include "scsi/sg_sysfs.h"
#include "transport_checks.h"

namespace {

// The controller's scan runs after its module has loaded.
constexpr std::chrono::seconds kDriveWait{30};

std::vector<std::string> AllCheckNames() {
  std::vector<std::string> names = {"drives-present"};
  for (auto part : {TransportCheckNames(), ProgramcdCheckNames()}) {
    names.insert(names.end(), part.begin(), part.end());
  }
  return names;
}

// Waits until sysfs lists an sg node with its sr sibling for every drive.
void CheckDrivesPresent(Report& report) {
  const auto deadline = std::chrono::steady_clock::now() + kDriveWait;
  std::size_t complete = 0;
  for (;;) {
    complete = 0;
    for (const SgNode& node : ReadSysfs("/sys").nodes) {
      complete += !node.blockName.empty();
    }
    if (complete == GuestDrives().size() ||
        std::chrono::steady_clock::now() > deadline) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  Findings findings;
  findings.Expect(complete == GuestDrives().size(),
                  std::to_string(complete) + " of " +
                      std::to_string(GuestDrives().size()) +
                      " drives with sg and sr nodes after " +
                      std::to_string(kDriveWait.count()) + " s");
  report.Record("drives-present", findings);
}

int RunInGuest() {
  Report report(std::cout);
  CheckDrivesPresent(report);
  std::ifstream in(kGuestMedium, std::ios::binary);
  const std::vector<std::uint8_t> medium{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  RunTransportChecks(report, medium);
  RunProgramcdChecks(report);
  RunEjectChecks(report);
  report.Summary();
  // The guest powers off next: the serial line must have sent every line.
  std::cout.flush();
  ::tcdrain(STDOUT_FILENO);
  return report.allPassed() ? 0 : 1;
}

int Judge(const std::string& path) {
  std::ifstream results(path);
  if (!results) {
    std::cerr << "guest_check: cannot read " << path << "\n";
    return 1;
  }
  const Verdict verdict = JudgeResults(results, AllCheckNames());
  for (const std::string& problem : verdict.problems) {
    std::cout << "problem: " << problem << "\n";
  }
  return verdict.passed ? 0 : 1;
}

int Usage() {
  std::cerr << "usage: guest_check fixtures DIR | qemu-args CONTROLLER IMAGE | "
               "run | verdict RESULTS\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "fixtures") {
    return WriteFixtures(args[1]) ? 0 : 1;
  }
  if (args.size() == 3 && args[0] == "qemu-args") {
    for (const std::string& arg : QemuArguments(args[1], args[2])) {
      std::cout << arg << "\n";
    }
    return 0;
  }
  if (args.size() == 1 && args[0] == "run") return RunInGuest();
  if (args.size() == 2 && args[0] == "verdict") return Judge(args[1]);
  return Usage();
}
