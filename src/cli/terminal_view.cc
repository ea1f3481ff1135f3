#include "cli/terminal_view.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <istream>
#include <ostream>
#include <thread>

#include "app/messages.h"

namespace {

constexpr int kBarWidth = 40;

std::string Lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

TerminalView::TerminalView(Options options, std::istream& in, std::ostream& out, std::FILE* err)
    : options_(std::move(options)),
      in_(in),
      out_(out),
      err_(err),
      errIsTerminal_(isatty(fileno(err)) != 0) {}

void TerminalView::SetText(Edit edit, const std::string& text) {
  texts_[static_cast<int>(edit)] = text;
}

void TerminalView::Repaint(Edit edit) {
  const std::string& shown = texts_[static_cast<int>(edit)];
  if (edit != Edit::Message || shown.empty()) return;
  EndBar();
  std::fprintf(err_, "%s\n", shown.c_str());
  std::fflush(err_);
}

void TerminalView::SetEnabled(Control, bool) {}

Answer TerminalView::ShowMessage(const std::string& text, Buttons buttons) {
  EndBar();
  if (buttons == Buttons::Ok) {
    out_ << text << std::endl;
    return Answer::Ok;
  }
  if (options_.assumeOk) {
    out_ << text << std::endl;
    if (text == text::kInsertDisc && !WaitForDisc()) return Answer::Cancel;
    return Interrupted() ? Answer::Cancel : Answer::Ok;
  }
  for (;;) {
    out_ << text << " [OK/Cancel] " << std::flush;
    std::string answer;
    if (!WaitForInput() || !std::getline(in_, answer)) {
      out_ << std::endl;
      return Answer::Cancel;
    }
    answer = Lowered(answer);
    if (answer.empty() || answer == "ok" || answer == "o" || answer == "y" || answer == "yes") {
      return Answer::Ok;
    }
    if (answer == "cancel" || answer == "c" || answer == "n" || answer == "no") {
      return Answer::Cancel;
    }
    out_ << "Please answer OK or Cancel." << std::endl;
  }
}

bool TerminalView::WaitForInput() {
  if (!options_.inputIsStdin) return !Interrupted();
  pollfd input{.fd = STDIN_FILENO, .events = POLLIN};
  while (!Interrupted()) {
    if (poll(&input, 1, 100) != 0) return true;  // a line, end of input, or an error
  }
  return false;
}

bool TerminalView::WaitForDisc() {
  // Nobody is there to insert a disc: look again once a second.
  const auto now = std::chrono::steady_clock::now();
  if (!discWaitStart_) discWaitStart_ = now;
  if (options_.waitSeconds &&
      now - *discWaitStart_ >= std::chrono::duration<double>(*options_.waitSeconds)) {
    out_ << text::kNoDiscInTime << std::endl;
    return false;
  }
  for (int slice = 0; slice < 10; ++slice) {
    if (Interrupted()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

void TerminalView::ShowSectors(std::size_t done, std::size_t total) {
  // A bar only where someone watches; logs get the stage lines alone.
  if (!errIsTerminal_ || total == 0) return;
  const int filled = static_cast<int>(kBarWidth * done / total);
  std::fprintf(err_, "\r  [%.*s%*s] %zu/%zu sectors", filled,
               "########################################", kBarWidth - filled, "", done, total);
  std::fflush(err_);
  barShown_ = true;
}

void TerminalView::EndBar() {
  if (!barShown_) return;
  std::fputc('\n', err_);
  barShown_ = false;
}

std::optional<std::size_t> TerminalView::ChooseRecorder(const std::vector<std::string>& lines) {
  if (options_.listRecordersOnly) {
    for (const auto& line : lines) out_ << line << '\n';
    out_.flush();
    return std::nullopt;
  }
  if (!options_.recorder) return 0;
  const std::string& wanted = *options_.recorder;
  std::optional<std::size_t> chosen;
  const bool number = !wanted.empty() && std::all_of(wanted.begin(), wanted.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
  if (number) {
    // A number of any length is only a line number if it is one.
    std::size_t n = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), n);
    if (error == std::errc() && end == wanted.data() + wanted.size() && n >= 1 &&
        n <= lines.size()) {
      chosen = n - 1;
    }
  } else {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].compare(0, wanted.size() + 1, wanted + " ") == 0) chosen = i;
    }
  }
  if (!chosen) {
    std::fprintf(err_, "programcd: no recorder \"%s\" on the bus; the scan found:\n",
                 wanted.c_str());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::fprintf(err_, "  %zu  %s\n", i + 1, lines[i].c_str());
    }
    std::fprintf(err_, "Give --recorder a number from this list or its ID:a-tt.\n");
  }
  return chosen;
}

void TerminalView::RequestClose() { closeRequested_ = true; }
