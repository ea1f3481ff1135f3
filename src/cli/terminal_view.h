#pragma once
#include <cstdio>
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

  Options options_;
  std::istream& in_;
  std::ostream& out_;
  std::FILE* err_;
  bool errIsTerminal_;
  bool barShown_ = false;
  bool closeRequested_ = false;
  std::string texts_[4];
};
