#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The host's judgement of a guest run.
struct Verdict {
  bool passed = false;
  std::vector<std::string> problems;  // one line each, empty when passed
};

// Judges the guest's result lines (Report's format; carriage returns and
// lines of other text ignored) against the checks it had to run: it passes
// only when each of `expected` passed exactly once, nothing failed, no
// unknown check reported, and the summary line is there and agrees.
Verdict JudgeResults(std::istream& results,
                     const std::vector<std::string>& expected);
