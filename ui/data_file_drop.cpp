#include "ui/data_file_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace velko {

namespace {

class DataFileDrops : public QObject {
 public:
  DataFileDrops(QObject* parent, DataFileDropHandler open) : QObject(parent), open_(std::move(open)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drag = static_cast<QDropEvent*>(event);
    const QString name = draggedDataFile(drag->mimeData());
    if (name.isEmpty()) return false;
    if (!open_) {
      drag->ignore();
      return true;
    }
    if (acceptAsCopy(drag) && type == QEvent::Drop) open_(name);
    return true;
  }

 private:
  DataFileDropHandler open_;
};

}  // namespace

QString draggedDataFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
  const QUrl url = mime->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString name = url.toLocalFile();
  return QFileInfo(name).suffix().compare(QStringLiteral("dat"), Qt::CaseInsensitive) == 0 ? name : QString();
}

bool acceptAsCopy(QDropEvent* drag) {
  for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
    if (drag->possibleActions() & action) {
      drag->setDropAction(action);
      drag->accept();
      return true;
    }
  }
  drag->ignore();
  return false;
}

void takeDataFileDrops(QWidget* box, DataFileDropHandler open) {
  box->installEventFilter(new DataFileDrops(box, std::move(open)));
}

}  // namespace velko
