#include "ui/form_activation.h"

#include <vector>

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace velko {

namespace {

// Windows of the toolkit's own that the program does not count as its forms.
bool isToolkitDialog(const QWidget* widget) {
  for (const char* name : {"QMessageBox", "QFileDialog", "QAbstractPrintDialog", "QPageSetupDialog",
                           "QColorDialog", "QFontDialog", "QInputDialog", "QProgressDialog"}) {
    if (widget->inherits(name)) return true;
  }
  return false;
}

QWidget* widgetOf(const QWindow* window) {
  const QWidgetList tops = QApplication::topLevelWidgets();
  for (QWidget* widget : tops) {
    if (widget->windowHandle() == window) return widget;
  }
  return nullptr;
}

class FormActivationTracker : public QObject {
 public:
  explicit FormActivationTracker(QObject* parent) : QObject(parent) {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &FormActivationTracker::focusMoved);
  }

  void watch(QWidget* form, std::function<void()> handler) {
    std::erase_if(watched_, [](const Watched& watched) { return watched.form.isNull(); });
    watched_.push_back({form, std::move(handler)});
  }

 private:
  struct Watched {
    QPointer<QWidget> form;
    std::function<void()> handler;
  };

  void focusMoved(QWindow* window) {
    if (!window) return;  // the program lost the focus; its active form stays
    const Qt::WindowType type = window->type();
    if (type != Qt::Window && type != Qt::Dialog) return;  // menus, tooltips, ...
    QWidget* widget = widgetOf(window);
    if (!widget || isToolkitDialog(widget) || widget == activeForm_) return;
    activeForm_ = widget;
    for (const Watched& watched : std::vector<Watched>(watched_)) {
      if (watched.form == widget) watched.handler();
    }
  }

  std::vector<Watched> watched_;
  QPointer<QWidget> activeForm_;
};

FormActivationTracker& tracker() {
  static QPointer<FormActivationTracker> instance;
  if (!instance) instance = new FormActivationTracker(qApp);
  return *instance;
}

}  // namespace

void watchFormActivation(QWidget* form, std::function<void()> handler) {
  tracker().watch(form, std::move(handler));
}

void showFormActive(QWidget* form) {
  // A minimised window is not brought back by show(): it stays an icon the user asked
  // to see.
  form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
  form->show();
  form->raise();
  form->activateWindow();
}

}  // namespace velko
