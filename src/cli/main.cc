// programcd: writes program discs. With no command (or `gui`) it opens the
// window; the other commands do the same jobs on the terminal.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/identify_command.h"
#include "cli/interrupts.h"
#include "cli/recorder_setup.h"
#include "cli/recording_commands.h"
#ifdef PROGRAMCD_WITH_GUI
#include "gui/window.h"
#endif

namespace {

// A bare --simulate names the default bus, so it never takes the next word
// (the image file) for its bus.
std::vector<std::string> NormalisedArguments(int argc, char** argv) {
  std::vector<std::string> args;
  // `programcd --simulate` is the window with options.
  const std::string first = argc > 1 ? argv[1] : "";
  if (first.empty() ||
      (first[0] == '-' && first != "-h" && first != "--help" && first != "--help-all")) {
    args.emplace_back("gui");
  }
  for (int i = 1; i < argc; ++i) {
    args.emplace_back(std::strcmp(argv[i], "--simulate") == 0
                          ? "--simulate=" + std::string(kDefaultSimBus)
                          : std::string(argv[i]));
  }
  std::reverse(args.begin(), args.end());  // CLI11 takes them last first
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "programcd writes program discs: CD-Rs carrying a firmware image that a CD duplicator, "
      "or a recorder inside one, reads to update itself.\n"
      "Without a command it opens the window.",
      "programcd"};
  app.require_subcommand(0, 1);
  app.set_help_all_flag("--help-all", "Show the help of every command");

  RecorderOptions windowRecorders;
  std::string screenshot;
  auto* gui = app.add_subcommand("gui", "Open the window (the default without a command)");
  AddRecorderOptions(*gui, windowRecorders);
  gui->add_option("--screenshot", screenshot,
                  "Render the main window after start-up to FILE (PNG) and exit")
      ->type_name("FILE");

  std::string identifyFile;
  bool json = false;
  auto* identify = app.add_subcommand(
      "identify", "Tell which kind of image FILE is, as the window would show it.\n"
                  "Exit 0 accepted, 1 rejected.");
  identify->add_flag("--json", json, "Print one line of JSON");
  identify->add_option("FILE", identifyFile, "The image file")->required();

  RecorderOptions scanRecorders;
  auto* scan = app.add_subcommand(
      "scan", "List the supported recorders on the SCSI bus, one line each.\n"
              "Exit 0 when one was found, 2 when none.");
  AddRecorderOptions(*scan, scanRecorders);

  RecorderOptions makeRecorders;
  MakeOptions make;
  auto* makeCommand = app.add_subcommand(
      "make",
      "Record FILE on a recorder, verify and eject: the window's whole sequence.\n"
      "Exit 0 \"Recording is completed\", 1 \"Verify fails\", 2 stopped (usage, rejected file, "
      "cancel, no recorder, no SCSI layer), 3 recovery failure, 4 no-recovery failure.");
  makeCommand->add_option("FILE", make.file, "The image file")->required();
  makeCommand->add_option("--recorder", make.recorder,
                          "The recorder: its line number in `programcd scan` (from 1) or its "
                          "ID:a-tt (default: the first)")
      ->type_name("N|ID:a-tt");
  makeCommand->add_flag("--yes", make.yes,
                        "Answer OK to every question; wait for a disc by looking once a second");
  makeCommand->add_option("--disc-out", make.discOut,
                          "Simulated recorder only: save the disc's sectors to FILE when it is "
                          "ejected or the program ends")
      ->type_name("FILE");
  makeCommand->add_option("--wait", make.waitSeconds,
                          "With --yes: give up when no disc is in after SECONDS "
                          "(default: wait for ever)")
      ->type_name("SECONDS")
      ->check(CLI::NonNegativeNumber.description(""));
  AddRecorderOptions(*makeCommand, makeRecorders);

  std::string imageFile, imageOut;
  auto* image = app.add_subcommand(
      "image", "Write the sectors a recording of FILE puts on the disc, LBA 0 through the "
               "closing zero sectors, to OUT, without a recorder. Exit 0, or 1 with the reason.");
  image->add_option("FILE", imageFile, "The image file")->required();
  image->add_option("-o,--output", imageOut, "Where to write the disc image")
      ->required()
      ->type_name("OUT");

  try {
    auto args = NormalisedArguments(argc, argv);
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitStopped;
  }

  if (*identify) return RunIdentify(identifyFile, json, std::cout);
  if (*image) return RunImage(imageFile, imageOut);

  RecorderOptions& recorders = *scan ? scanRecorders : *makeCommand ? makeRecorders
                                                                    : windowRecorders;
  RecorderSetup setup;
  std::string error;
  if (!setup.Build(recorders, error)) {
    std::cerr << "programcd: " << error << "\n";
    return kExitStopped;
  }
  if (*scan) return RunScan(setup);
  if (*makeCommand) {
    interrupts::Watch();
    return RunMake(make, setup);
  }
#ifdef PROGRAMCD_WITH_GUI
  WindowSetup window{.backend = setup.factory(), .trace = setup.trace(),
                     .screenshotPath = screenshot};
  return RunWindow(argc, argv, window);
#else
  std::cerr << "programcd: this build has no window; see programcd --help for the commands\n";
  return kExitStopped;
#endif
}
