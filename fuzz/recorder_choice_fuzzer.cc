// The --recorder value on any text, matched against the lines of the
// selection dialog as `programcd make` does: it chooses one of the lines or
// none, and each line's number and ID:a-tt choose that line.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/main_frame.h"
#include "cli/terminal_view.h"
#include "sim/sim_options.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The dialog lines of the default simulated bus.
std::vector<std::string> RecorderLines() {
  std::vector<std::string> lines;
  for (const SimRecorderSlot& slot : ParseSimBus(kDefaultSimBus).value) {
    FoundRecorder found;
    std::copy_n(slot.vendor.begin(), found.vendor.size(), found.vendor.begin());
    std::copy_n(slot.product.begin(), found.product.size(), found.product.begin());
    found.adapter = slot.adapter;
    found.target = slot.target;
    lines.push_back(MainFrame::RecorderLine(found));
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  static const std::vector<std::string> lines = RecorderLines();
  static std::FILE* quiet = std::fopen("/dev/null", "w");
  const std::string text(reinterpret_cast<const char*>(input), size);
  std::istringstream in;
  std::ostringstream out;
  TerminalView view({.recorder = text}, in, out, quiet);
  const auto chosen = view.ChooseRecorder(lines);
  Require(!chosen || *chosen < lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (text == std::to_string(i + 1) || text == lines[i].substr(0, 7)) Require(chosen == i);
  }
  return 0;
}
