#include "ui/background_command.h"

#include <algorithm>
#include <exception>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

namespace velko {

bool runInBackground(QWidget* parent, const QString& label, const std::function<void(BackgroundProgress&)>& work) {
  BackgroundProgress progress;
  std::exception_ptr failure;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    try {
      work(progress);
    } catch (...) {
      failure = std::current_exception();
    }
    finished = true;
    // Wakes the loop below at once rather than at its next poll: a short command then
    // costs no more than it takes.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
  });

  QProgressDialog dialog(label, QStringLiteral("Отмена"), 0, 0, parent);
  dialog.setWindowTitle(label);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(300);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    // Read rather than connected: cancel() called as a slot emits no signal.
    if (dialog.wasCanceled()) progress.cancel = true;
    const int total = progress.total;
    if (total > 0 && dialog.maximum() != total) dialog.setMaximum(total);
    // setValue also shows the dialog once the minimum duration has passed.
    dialog.setValue(total > 0 ? std::min(progress.done.load(), total - 1) : 0);
  });
  poll.start(30);
  // Until the dialog shows, keys and clicks wait: the window must not change under the
  // command, nor close.
  while (!finished) {
    const QEventLoop::ProcessEventsFlags flags =
        dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    loop.processEvents(flags | QEventLoop::WaitForMoreEvents);
  }
  poll.stop();
  worker.join();
  dialog.reset();
  if (progress.cancel) return false;
  if (failure) std::rethrow_exception(failure);
  return true;
}

}  // namespace velko
