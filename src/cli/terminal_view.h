#pragma once
#include <chrono>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/view.h"

// The View on a terminal: message boxes become lines on stdout (OK/Cancel
// ones a prompt on stdin; end of input is Cancel), stage texts and a
// progress bar go to stderr.
class TerminalView : public View {
 public:
  struct Options {
    bool assumeOk = false;             // --yes: answer OK without asking
    std::optional<std::string> recorder;  // --recorder N or ID:a-tt; first line if unset
    bool listRecordersOnly = false;    // scan: print the lines, choose none
    std::optional<double> waitSeconds;  // --wait: how long --yes waits for a disc
    std::function<bool()> interrupted;  // true once the operator pressed Ctrl-C
    bool inputIsStdin = false;          // `in` reads fd 0, which can be polled
  };
  TerminalView(Options options, std::istream& in, std::ostream& out, std::FILE* err);

  void SetText(Edit edit, const std::string& text) override;
  void Repaint(Edit edit) override;
  void SetEnabled(Control control, bool enabled) override;
  Answer ShowMessage(const std::string& text, Buttons buttons) override;
  void ShowSectors(std::size_t done, std::size_t total) override;
  std::optional<std::size_t> ChooseRecorder(const std::vector<std::string>& lines) override;
  void RequestClose() override;

  bool closeRequested() const { return closeRequested_; }
  const std::string& text(Edit edit) const { return texts_[static_cast<int>(edit)]; }

 private:
  void EndBar();
  bool Interrupted() const { return options_.interrupted && options_.interrupted(); }
  // Waits until a line can be read or the operator interrupts; false then.
  bool WaitForInput();
  // With --yes: waits a second before the readiness test is repeated; false
  // when the time given by --wait is up or the operator interrupted.
  bool WaitForDisc();

  Options options_;
  std::istream& in_;
  std::ostream& out_;
  std::FILE* err_;
  bool errIsTerminal_;
  bool barShown_ = false;
  bool closeRequested_ = false;
  std::optional<std::chrono::steady_clock::time_point> discWaitStart_;
  std::string texts_[4];
};
