#include "guest_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A quoted program output must not become result lines of its own: it could
// pass for a check's PASS line.
TEST(ReportTest, WritesOneLinePerCheckWhateverTheReasonHolds) {
  std::ostringstream out;
  Report report(out);
  Findings passed;
  passed.Expect(true, "never shown");
  report.Record("numbering", passed);
  Findings failed;
  failed.Expect(false, "stdout:\nPASS read10-data\n");
  failed.Expect(false, "exit 3");
  report.Record("scan", failed);
  report.Summary();
  EXPECT_EQ(out.str(),
            "PASS numbering\n"
            "FAIL scan: stdout: | PASS read10-data | ; exit 3\n"
            "SUMMARY 1 passed, 1 failed\n");
  EXPECT_FALSE(report.allPassed());
}

}  // namespace
