#include "ui/command_guard.h"

#include <exception>

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace velko {

namespace {

QString boxTitle() { return QApplication::applicationDisplayName(); }

}  // namespace

bool runCommand(QWidget* parent, const std::function<void()>& command) {
  QString message;
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    // CommandError is a std::exception; anything else the runtime throws
    // (std::bad_alloc, ...) is shown the same way.
    message = QString::fromStdString(error.what());
  }
  showError(parent, message);
  return false;
}

void showError(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, boxTitle(), message);
  reactivateAfterModal(parent);
}

void showNotice(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, boxTitle(), text);
  reactivateAfterModal(parent);
}

int askYesNoCancel(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  const int answer = box.exec();
  // The command that asked goes on in the window it was asked from.
  if (parent && parent->isVisible()) parent->window()->activateWindow();
  return answer == QMessageBox::Yes || answer == QMessageBox::No ? answer : int(QMessageBox::Cancel);
}

void reactivateAfterModal(QWidget* parent) {
  if (parent && parent->isVisible() && !QApplication::activeWindow()) parent->window()->activateWindow();
}

}  // namespace velko
