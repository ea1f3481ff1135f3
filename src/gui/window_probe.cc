// Runs the window as the program does, on a simulated bus, so that tests can
// watch its start and end from outside:
//   gui_window_probe [--empty-bus] [--screenshot FILE] [--start DIR]
#include <memory>
#include <string>

#include "gui/window.h"
#include "sim/sim_bus.h"

int main(int argc, char** argv) {
  WindowSetup setup;
  std::string recorders = "0:3=YAMAHA/CRW2100E";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--empty-bus") {
      recorders.clear();
    } else if (arg == "--screenshot" && i + 1 < argc) {
      setup.screenshotPath = argv[++i];
    } else if (arg == "--start" && i + 1 < argc) {
      setup.startDirectory = argv[++i];
    }
  }
  auto bus = std::make_shared<SimBus>(ParseSimBus(recorders).value);
  setup.backend = [bus]() -> std::shared_ptr<Backend> { return bus; };
  return RunWindow(1, argv, setup);
}
