#pragma once
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "app/view.h"
#include "gui/main_window.h"
#include "image/image_fixtures.h"
#include "sim/sim_bus.h"

class QWidget;

inline constexpr const char* kTeacBus = "0:1=TEAC/CD-W540E";

// A simulated bus with the recorders of `recorders` ("A:T=VENDOR/PRODUCT;...").
std::shared_ptr<SimBus> MakeBus(const std::string& recorders, SimOptions options = {});
// A factory handing out `bus`, which the test keeps to look at the discs.
BackendFactory Factory(std::shared_ptr<SimBus> bus);

// Plays the operator for modal boxes and the recorder dialog, from a script.
// Every box is noted as "box TEXT" (OK only) or "ask TEXT" (OK and Cancel).
class BoxAnswerer : public QObject {
 public:
  BoxAnswerer();

  std::deque<Answer> answers;          // for OK/Cancel boxes; OK once used up
  std::optional<int> recorderRow = 0;  // line taken in the dialog; none: close it
  const QWidget* mainWindow = nullptr;  // noted as visible or not at each box

  QStringList boxes;          // every box seen, in order
  QStringList malformed;      // boxes with a wrong caption, an icon or other buttons
  QStringList recorderLines;  // the dialog's lines, when it was shown
  int dialogs = 0;            // how often the dialog was shown
  bool mainWindowSeen = false;  // the main window was visible at a box or the dialog

 private:
  void Poll();

  QTimer timer_;
};

// A main window started on a simulated bus (first recorder taken) and shown,
// its file list in a fresh directory holding `files` (name, bytes).
struct StartedWindow {
  explicit StartedWindow(std::shared_ptr<SimBus> simBus = MakeBus(kTeacBus),
                         const std::vector<std::pair<std::string, Bytes>>& files = {});
  // The path of the file `name` in the listed directory.
  std::string Path(const std::string& name) const;

  QTemporaryDir dir;
  QTemporaryDir tempDir;  // where DriveFirme.img is built
  BoxAnswerer answerer;
  std::shared_ptr<SimBus> bus;
  std::unique_ptr<TMainFrame> frame;
};

// The names the file list shows, in order.
QStringList ListedFiles(const TMainFrame& frame);
// Clicks the file `name` in the file list, as the mouse does; false when the
// list does not show it.
bool ClickFile(TMainFrame& frame, const QString& name);
// Whether the five controls the recording locks are all enabled (or all not).
bool ControlsEnabled(const TMainFrame& frame, bool enabled);
