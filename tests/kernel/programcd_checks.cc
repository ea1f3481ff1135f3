#include "programcd_checks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "guest_plan.h"
#include "program_run.h"

namespace {

// Far more than a run against an emulated drive takes.
constexpr std::chrono::seconds kRunLimit{120};
constexpr int kExitNoRecovery = 4;

// A recording that the drive stops during the set-up.
struct MakeCase {
  const char* name;
  std::uint8_t target;
  const char* message;
  // The last trace lines: readiness, then the set-up up to the refused
  // command, which must be the last command sent.
  std::vector<std::string> traceTail;
};

const std::vector<MakeCase>& MakeCases() {
  static const std::vector<MakeCase> cases = {
      {"make-type7-stops-at-track-information",
       kType7Target,
       "no recovery error. (TrackInfo)",
       {"0:2 00 00 00 00 00 00 len=256 timeout=30000 status=1",
        "0:2 51 00 00 00 00 00 00 00 60 00 00 00 len=96 timeout=30000 status=1",
        "0:2 52 00 00 00 00 FF 00 00 60 00 00 00 len=96 timeout=30000 status=4 "
        "sense=700005000000000A000000002000"}},
      {"make-type6-stops-at-mode-sense",
       kType6Target,
       "no recovery error. (ModeSence)",
       {"0:5 00 00 00 00 00 00 len=256 timeout=30000 status=1",
        "0:5 5A 00 05 00 00 00 00 00 3C 00 len=96 timeout=30000 status=4 "
        "sense=700005000000000A000000002400"}},
  };
  return cases;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Place(std::uint8_t target) {
  char text[16];
  std::snprintf(text, sizeof text, "ID:0-%02d", target);
  return text;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// What a run printed, for a failure message.
std::string Shown(const ProgramRun& run) {
  return "exit " + std::to_string(run.exitCode) +
         (run.timedOut ? " (killed: timed out)" : "") + ", stdout: " + run.out +
         " stderr: " + run.err;
}

void CheckScan(Report& report) {
  const std::string tracePath = "/tmp/scan.trace";
  const ProgramRun run =
      RunProgram({kGuestProgramcd, "scan", "--trace", tracePath}, kRunLimit);
  // One line per table model, by target.
  std::vector<std::string> expected;
  for (std::uint8_t target = 0; target < 8; ++target) {
    const GuestDrive* drive = DriveAt(target);
    if (drive && !drive->ownIdentity) {
      expected.push_back(Place(target) + " " + drive->vendor + drive->product);
    }
  }
  Findings findings;
  findings.Expect(run.exitCode == 0 && Lines(run.out) == expected,
                  "not the table models' lines: " + Shown(run));
  // The drive that answers as itself was asked and answered, yet not listed.
  const std::vector<std::string> trace = Lines(ReadFile(tracePath));
  const std::string own = "0:" + std::to_string(kOwnIdentityTarget);
  findings.Expect(
      Contains(trace,
               own + " 12 00 00 00 2C 00 len=128 timeout=30000 status=1"),
      "the INQUIRY of the drive at " + own + " did not complete");
  report.Record("scan-lists-table-models", findings);
}

void CheckMake(Report& report, const MakeCase& c) {
  const std::string tracePath = "/tmp/make.trace";
  std::remove(tracePath.c_str());
  const ProgramRun run =
      RunProgram({kGuestProgramcd, "make", kGuestSample, "--recorder",
                  Place(c.target), "--yes", "--trace", tracePath},
                 kRunLimit);
  Findings findings;
  findings.Expect(
      run.exitCode == kExitNoRecovery && Contains(Lines(run.out), c.message),
      std::string("not exit 4 with \"") + c.message + "\": " + Shown(run));
  const std::vector<std::string> trace = Lines(ReadFile(tracePath));
  const bool tailMatches =
      trace.size() >= c.traceTail.size() &&
      std::equal(c.traceTail.rbegin(), c.traceTail.rend(), trace.rbegin());
  std::string shownTail;
  for (std::size_t i = trace.size() > 6 ? trace.size() - 6 : 0;
       i < trace.size(); ++i) {
    shownTail += "\n" + trace[i];
  }
  findings.Expect(tailMatches, "the trace ends:" + shownTail);
  report.Record(c.name, findings);
}

}  // namespace

std::vector<std::string> ProgramcdCheckNames() {
  std::vector<std::string> names = {"scan-lists-table-models"};
  for (const MakeCase& c : MakeCases()) names.push_back(c.name);
  return names;
}

void RunProgramcdChecks(Report& report) {
  CheckScan(report);
  for (const MakeCase& c : MakeCases()) CheckMake(report, c);
}
