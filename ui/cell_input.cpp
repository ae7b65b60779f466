#include "ui/cell_input.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "data/works_table_edit.h"
#include "model/command_error.h"
#include "model/number_text.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

// The cell's text for `text`, or nothing after the refusal has been scheduled for the
// error box. The box waits for the event loop: shown at once, it would take the focus
// from the cell editor, which the view then closes and deletes while its event is
// still being handled.
bool checkedCellText(QWidget* over, const QString& text, QString& cell) {
  try {
    cell = QString::fromStdString(pastedCellText(text.toStdString()));
    return true;
  } catch (const CommandError& error) {
    QPointer<QWidget> window = over->window();
    const QString message = QString::fromUtf8(error.what());
    QTimer::singleShot(0, window, [window, message] { showError(window, message); });
    return false;
  }
}

}  // namespace

QValidator::State WorksCellValidator::validate(QString& input, int&) const {
  if (input == opening_) return Acceptable;
  input.replace(QLatin1Char('.'), QLatin1Char(kDecimalSeparator));
  return isCellText(input.toStdString()) ? Acceptable : Invalid;
}

bool insertIntoCell(QLineEdit* editor, const QString& text) {
  QString cell;
  if (!checkedCellText(editor, text, cell)) return false;
  editor->insert(cell);
  return true;
}

bool replaceCellText(QAbstractItemView* grid, const QModelIndex& index, const QString& text) {
  QString cell;
  if (!index.isValid() || !checkedCellText(grid, text, cell)) return false;
  return grid->model()->setData(index, cell, Qt::EditRole);
}

}  // namespace velko
