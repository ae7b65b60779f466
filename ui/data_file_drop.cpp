#include "ui/data_file_drop.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace velko {

namespace {

class DataFileDropPass : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || draggedDataFile(static_cast<QDropEvent*>(event)->mimeData()).isEmpty()) return false;
    // The text of the file's address must not land in the box; the window takes the file.
    event->ignore();
    if (widget->window()->acceptDrops()) QCoreApplication::sendEvent(widget->window(), event);
    return true;
  }
};

}  // namespace

QString draggedDataFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString name = url.toLocalFile();
  return QFileInfo(name).suffix().compare(QStringLiteral("dat"), Qt::CaseInsensitive) == 0 ? name : QString();
}

void passDataFileDropsToWindow(QWidget* box) { box->installEventFilter(new DataFileDropPass(box)); }

}  // namespace velko
