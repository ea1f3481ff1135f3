#include "guest_verdict.h"

#include <algorithm>
#include <istream>
#include <map>
#include <set>
#include <sstream>

Verdict JudgeResults(std::istream& results,
                     const std::vector<std::string>& expected) {
  Verdict verdict;
  auto problem = [&](std::string text) {
    verdict.problems.push_back(std::move(text));
  };
  std::map<std::string, int> passes;
  std::set<std::string> failed;
  int failures = 0;
  bool summarised = false;
  int summaryPassed = -1;
  int summaryFailed = -1;

  std::string line;
  while (std::getline(results, line)) {
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    if (line.starts_with("PASS ")) {
      const std::string name = line.substr(5);
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        problem(name + ": not a check of this test");
      } else if (++passes[name] == 2) {
        problem(name + ": reported more than once");
      }
    } else if (line.starts_with("FAIL ")) {
      ++failures;
      failed.insert(line.substr(5, line.find(':') - 5));
      problem(line.substr(5));
    } else if (line.starts_with("SUMMARY ")) {
      std::istringstream fields(line.substr(8));
      std::string passedWord, failedWord;
      fields >> summaryPassed >> passedWord >> summaryFailed >> failedWord;
      summarised = true;
    }
  }
  int passed = 0;
  for (const std::string& name : expected) {
    if (passes.count(name) != 0) {
      ++passed;
    } else if (failed.count(name) == 0) {
      problem(name + ": no result line");
    }
  }
  if (!summarised) {
    problem("no summary line: the guest run did not finish");
  } else if (summaryPassed != passed || summaryFailed != failures) {
    problem("the summary says " + std::to_string(summaryPassed) + " passed, " +
            std::to_string(summaryFailed) + " failed; " +
            std::to_string(passed) + " and " + std::to_string(failures) +
            " result lines were seen");
  }
  verdict.passed = verdict.problems.empty();
  return verdict;
}
