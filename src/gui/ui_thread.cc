#include "gui/ui_thread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

bool UiThread::IsCurrent() const { return QThread::currentThread() == context_->thread(); }

void UiThread::Post(std::function<void()> work) {
  if (IsCurrent()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

Answer UiThread::Ask(std::function<Answer()> ask) {
  if (IsCurrent()) return ask();
  auto pending = std::make_shared<std::promise<Answer>>();
  std::future<Answer> answer = pending->get_future();
  {
    std::lock_guard lock(mutex_);
    if (shutDown_) return Answer::Cancel;
    pending_ = pending;
  }
  QMetaObject::invokeMethod(
      context_, [this, pending, ask = std::move(ask)] { Settle(pending, ask()); },
      Qt::QueuedConnection);
  return answer.get();
}

void UiThread::Settle(const Pending& pending, Answer answer) {
  std::lock_guard lock(mutex_);
  if (pending_ != pending) return;
  pending_->set_value(answer);
  pending_.reset();
}

void UiThread::Shutdown() {
  std::lock_guard lock(mutex_);
  shutDown_ = true;
  if (pending_) {
    pending_->set_value(Answer::Cancel);
    pending_.reset();
  }
}
