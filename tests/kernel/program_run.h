#pragma once
#include <chrono>
#include <string>
#include <vector>

// How a program run by RunProgram ended.
struct ProgramRun {
  int exitCode = -1;  // -1 when it did not exit by itself
  bool timedOut = false;
  std::string out;  // what it wrote to stdout
  std::string err;  // and to stderr
};

// Runs `args` (args[0] the program's path) with stdin empty, killing it
// when it has not ended within `limit`.
ProgramRun RunProgram(const std::vector<std::string>& args,
                      std::chrono::seconds limit);

// The lines of `text`, without their newlines.
std::vector<std::string> Lines(const std::string& text);
