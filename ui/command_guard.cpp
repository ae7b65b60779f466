#include "ui/command_guard.h"

#include <exception>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>

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
  // A long notice (the import report of a large project) would grow its box past the
  // screen and its button with it: its first lines, and all of it in the details.
  constexpr int kShownLines = 12;
  const QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.size() <= kShownLines) {
    QMessageBox::information(parent, boxTitle(), text);
  } else {
    const QString head = lines.mid(0, kShownLines - 1).join(QLatin1Char('\n')) +
                         QStringLiteral("\n… и ещё строк: %1 (все строки — в подробностях)").arg(lines.size() - kShownLines + 1);
    QMessageBox box(QMessageBox::Information, boxTitle(), head, QMessageBox::Ok, parent);
    box.setDetailedText(text);
    box.exec();
  }
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
