#pragma once
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/view.h"

// A View for tests: records every call as a line of text and answers
// message boxes from a script (OK once the script runs out).
class FakeView : public View {
 public:
  void SetText(Edit edit, const std::string& text) override {
    texts[edit] = text;
    calls.push_back("text " + Name(edit) + "=" + text);
  }
  void Repaint(Edit edit) override { calls.push_back("repaint " + Name(edit)); }
  void SetEnabled(Control control, bool enabled) override {
    enabled_[control] = enabled;
    calls.push_back(std::string(enabled ? "enable " : "disable ") + Name(control));
  }
  Answer ShowMessage(const std::string& text, Buttons buttons) override {
    messages.push_back(text);
    calls.push_back((buttons == Buttons::Ok ? "box " : "ask ") + text);
    if (buttons == Buttons::Ok || answers.empty()) return Answer::Ok;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void ShowSectors(std::size_t done, std::size_t total) override {
    if (total != 0) lastSectors = {done, total};
  }
  std::optional<std::size_t> ChooseRecorder(const std::vector<std::string>& lines) override {
    recorderLines = lines;
    calls.push_back("choose");
    return choice;
  }
  void RequestClose() override {
    closeRequested = true;
    calls.push_back("close");
  }

  bool enabled(Control control) const {
    auto it = enabled_.find(control);
    return it == enabled_.end() || it->second;
  }
  std::string text(Edit edit) const {
    auto it = texts.find(edit);
    return it == texts.end() ? "" : it->second;
  }

  // Script.
  std::deque<Answer> answers;            // for OK/Cancel boxes, in order
  std::optional<std::size_t> choice = 0;  // the recorder line chosen

  // Record.
  std::vector<std::string> calls;
  std::vector<std::string> messages;
  std::map<Edit, std::string> texts;
  std::vector<std::string> recorderLines;
  std::pair<std::size_t, std::size_t> lastSectors{0, 0};
  bool closeRequested = false;

 private:
  static std::string Name(Edit e) {
    static const char* const kNames[] = {"FileName", "FileVersion", "FileType", "Message"};
    return kNames[static_cast<int>(e)];
  }
  static std::string Name(Control c) {
    static const char* const kNames[] = {"DriveSelect", "DirectorySelect", "FileSelect", "Exit",
                                         "Make"};
    return kNames[static_cast<int>(c)];
  }
  std::map<Control, bool> enabled_;
};
