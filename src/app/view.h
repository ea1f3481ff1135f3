#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The controls the controller enables and disables.
enum class Control { DriveSelect, DirectorySelect, FileSelect, Exit, Make };
// The read-only edits of the main window.
enum class Edit { FileName, FileVersion, FileType, Message };
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// Everything the controller needs of a front end: the Qt window, the
// terminal, or a scripted fake in tests. Calls may come from a worker thread
// during a recording; an implementation marshals them as it needs.
class View {
 public:
  virtual ~View() = default;
  // Sets an edit's text ("" clears it).
  virtual void SetText(Edit edit, const std::string& text) = 0;
  // Repaints an edit at once, so a stage text is visible during a recording.
  virtual void Repaint(Edit edit) = 0;
  // Enables or disables one control.
  virtual void SetEnabled(Control control, bool enabled) = 0;
  // A modal box with the caption "ProgramCD Recording" and no icon.
  virtual Answer ShowMessage(const std::string& text, Buttons buttons) = 0;
  // Sectors done of total in the current stage (total 0: no bar).
  virtual void ShowSectors(std::size_t done, std::size_t total) = 0;
  // The recorder selection dialog: the index of the line chosen with OK
  // (line 0 preselected), or nothing when it was closed otherwise.
  virtual std::optional<std::size_t> ChooseRecorder(const std::vector<std::string>& lines) = 0;
  // Asks the application to close its main window, which ends the program.
  virtual void RequestClose() = 0;
};
