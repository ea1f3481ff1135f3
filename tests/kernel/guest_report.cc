#include "guest_report.h"

#include <ostream>

void Findings::Expect(bool ok, std::string what) {
  if (!ok) problems_.push_back(std::move(what));
}

std::string Findings::Text() const {
  std::string text;
  for (const std::string& problem : problems_) {
    text += (text.empty() ? "" : "; ") + problem;
  }
  return text;
}

void Report::Record(std::string_view name, const Findings& findings) {
  if (findings.ok()) {
    ++passed_;
    out_ << "PASS " << name << std::endl;
  } else {
    ++failed_;
    // One line per check, whatever the texts quoted in it hold.
    std::string why = findings.Text();
    for (std::size_t at = why.find('\n'); at != std::string::npos;
         at = why.find('\n', at)) {
      why.replace(at, 1, " | ");
    }
    out_ << "FAIL " << name << ": " << why << std::endl;
  }
}

void Report::Summary() {
  out_ << "SUMMARY " << passed_ << " passed, " << failed_ << " failed"
       << std::endl;
}
