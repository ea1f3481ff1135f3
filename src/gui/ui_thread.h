#pragma once
#include <functional>
#include <future>
#include <memory>
#include <mutex>

#include "app/view.h"

class QObject;

// Hands work from a recording thread to the user-interface thread, which
// owns every widget. Work called on the UI thread itself runs at once.
class UiThread {
 public:
  // `context` lives on the UI thread; queued work dies with it.
  explicit UiThread(QObject* context) : context_(context) {}

  // True when called on the UI thread.
  bool IsCurrent() const;
  // Runs `work` on the UI thread, queued in call order when called elsewhere.
  void Post(std::function<void()> work);
  // Runs `ask` (a modal box) on the UI thread and waits for its answer;
  // Cancel without asking once shut down.
  Answer Ask(std::function<Answer()> ask);
  // Answers the box being waited for, and every later one, with Cancel, so a
  // recording thread never waits for a UI thread that no longer listens.
  void Shutdown();

 private:
  using Pending = std::shared_ptr<std::promise<Answer>>;
  // Gives `answer` to `pending` unless Shutdown answered it already.
  void Settle(const Pending& pending, Answer answer);

  QObject* context_;
  std::mutex mutex_;
  bool shutDown_ = false;
  Pending pending_;
};
