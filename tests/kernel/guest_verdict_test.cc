#include "guest_verdict.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::vector<std::string> kExpected = {"numbering", "read10 lba 0"};

struct VerdictCase {
  const char* name;
  const char* results;
  bool passed;
  const char* problem;  // a text one of the problems must contain
};

const VerdictCase kCases[] = {
    {"AllPassedAmidConsoleText",
     "booted 6.1.0\r\nPASS numbering\r\n[  3.1] sr 0:0:2:0: noise\r\n"
     "PASS read10 lba 0\r\nSUMMARY 2 passed, 0 failed\r\n",
     true, ""},
    {"AFailedCheck",
     "PASS numbering\nFAIL read10 lba 0: status 4\nSUMMARY 1 passed, 1 "
     "failed\n",
     false, "read10 lba 0: status 4"},
    {"ACheckWithoutResultLine", "PASS numbering\nSUMMARY 1 passed, 0 failed\n",
     false, "read10 lba 0: no result line"},
    {"ARunThatDidNotFinish", "PASS numbering\nPASS read10 lba 0\n", false,
     "no summary line"},
    {"ACheckReportedTwice",
     "PASS numbering\nPASS numbering\nPASS read10 lba 0\n"
     "SUMMARY 3 passed, 0 failed\n",
     false, "numbering: reported more than once"},
    {"AnUnknownCheck",
     "PASS numbering\nPASS read10 lba 0\nPASS eject\nSUMMARY 3 passed, 0 "
     "failed\n",
     false, "eject: not a check of this test"},
    {"ASummaryThatDisagrees",
     "PASS numbering\nPASS read10 lba 0\nSUMMARY 5 passed, 0 failed\n", false,
     "the summary says 5 passed"},
    {"AResultLineCutShort", "PASS numbering\nPASS read10 lb", false,
     "read10 lba 0: no result line"},
};

// gtest names a case by its name rather than its bytes.
void PrintTo(const VerdictCase& c, std::ostream* out) { *out << c.name; }

class JudgeResultsTest : public testing::TestWithParam<VerdictCase> {};

TEST_P(JudgeResultsTest, PassesOnlyACompleteCleanRun) {
  const VerdictCase& c = GetParam();
  std::istringstream results(c.results);
  const Verdict verdict = JudgeResults(results, kExpected);
  EXPECT_EQ(verdict.passed, c.passed);
  if (c.passed) {
    EXPECT_TRUE(verdict.problems.empty());
  } else {
    bool named = false;
    for (const std::string& problem : verdict.problems) {
      named = named || problem.find(c.problem) != std::string::npos;
    }
    EXPECT_TRUE(named) << "no problem mentions \"" << c.problem << "\"";
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, JudgeResultsTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
