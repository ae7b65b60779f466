#pragma once

#include <functional>

class QString;
class QWidget;

namespace velko {

// The one place where a command's error reaches the user: runs `command`, and when it
// throws (a CommandError carries the exact text the user reads) shows the text in an
// error box over `parent`. The program goes on; the model stays as the command left it.
// Returns false when the command failed.
bool runCommand(QWidget* parent, const std::function<void()>& command);

// The same error box for a message that did not come from a command.
void showError(QWidget* parent, const QString& message);

// A message the user should read although the command succeeded.
void showNotice(QWidget* parent, const QString& text);

// A question answered with "Да", "Нет" or "Отмена" (Escape and the close button mean
// "Отмена"); returns QMessageBox::Yes, No or Cancel.
int askYesNoCancel(QWidget* parent, const QString& text);

// After a modal box or dialog has closed: gives the activation back to the window it
// was shown over when no window has it (some window systems leave the program with no
// active window, and keys then reach nothing until the user clicks).
void reactivateAfterModal(QWidget* parent);

}  // namespace velko
