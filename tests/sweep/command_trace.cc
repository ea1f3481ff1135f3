#include "command_trace.h"

#include <sstream>

std::vector<TracedCommand> ParseTrace(const std::string& text) {
  std::vector<TracedCommand> commands;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    TracedCommand command;
    std::istringstream words(line);
    std::string word;
    unsigned adapter = 0;
    unsigned target = 0;
    char colon = 0;
    if (words >> adapter >> colon >> target && colon == ':') {
      command.adapter = static_cast<std::uint8_t>(adapter);
      command.target = static_cast<std::uint8_t>(target);
      while (words >> word && word.rfind("len=", 0) != 0) {
        command.cdb.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
      }
      while (words >> word) {
        if (word.rfind("status=", 0) == 0) command.status = std::stoi(word.substr(7));
      }
    }
    if (command.status < 0) command.cdb.clear();
    commands.push_back(std::move(command));
  }
  return commands;
}
