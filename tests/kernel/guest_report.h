#pragma once
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// What went wrong within one check; nothing when it passed.
class Findings {
 public:
  // Notes `what` unless `ok`.
  void Expect(bool ok, std::string what);
  bool ok() const { return problems_.empty(); }
  // The problems joined with "; ".
  std::string Text() const;

 private:
  std::vector<std::string> problems_;
};

// Writes the guest's result lines: "PASS name" or "FAIL name: why", one per
// check, and at the end "SUMMARY n passed, m failed".
class Report {
 public:
  explicit Report(std::ostream& out) : out_(out) {}
  // One result line for the check `name`.
  void Record(std::string_view name, const Findings& findings);
  // The closing summary line.
  void Summary();
  bool allPassed() const { return failed_ == 0; }

 private:
  std::ostream& out_;
  int passed_ = 0;
  int failed_ = 0;
};
