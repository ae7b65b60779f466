// Preloaded into a Qt program (LD_PRELOAD) to time its start: ends the process as soon
// as its first top-level window has painted, so that the whole process's time and peak
// memory are those of the start up to the first paint. For measurements only.
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && object->isWidgetType() &&
        static_cast<QWidget*>(object)->isWindow()) {
      seen_ = true;
      // After the paint has been flushed to the window.
      QTimer::singleShot(0, [] { _exit(0); });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

void watch() { QCoreApplication::instance()->installEventFilter(new FirstPaint); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(watch)
