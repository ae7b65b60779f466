#include "ui/works/cell_input.h"

#include <functional>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "data/cell_block.h"
#include "data/works_table_edit.h"
#include "model/command_error.h"
#include "model/load_model.h"
#include "model/number_text.h"
#include "ui/command_guard.h"
#include "ui/works/works_table_model.h"

namespace velko {

namespace {

// The cell's text for `text`, or nothing after the refusal has been scheduled for the
// error box. The box waits for the event loop: shown at once, it would take the focus
// from the cell editor, which the view then closes and deletes while its event is
// still being handled.
bool refusedLater(QWidget* over, const std::function<void()>& input) {
  try {
    input();
    return false;
  } catch (const CommandError& error) {
    QPointer<QWidget> window = over->window();
    const QString message = QString::fromUtf8(error.what());
    QTimer::singleShot(0, window, [window, message] { showError(window, message); });
    return true;
  }
}

bool checkedCellText(QWidget* over, const QString& text, QString& cell) {
  return !refusedLater(over, [&] { cell = QString::fromStdString(pastedCellText(text.toStdString())); });
}

// The block from the cell `index` (the first cell of an empty table).
bool pasteBlock(QAbstractItemView* grid, const QModelIndex& index, const QString& text) {
  auto* works = qobject_cast<WorksTableModel*>(grid->model());
  if (!works) return false;
  return !refusedLater(grid, [&] {
    const CellBlock block = splitCellBlock(text.toStdString());
    const int row = index.isValid() ? index.row() + 1 : 1;
    const int column = index.isValid() ? index.column() : 0;
    const WorksTable after = pasteCellBlock(works->table(), row, column, block);
    works->editTable(QStringLiteral("вставка ") + QString::fromStdString(rowsOf(static_cast<int>(block.size()))),
                     after);
  });
}

QAbstractItemView* gridOfEditor(QLineEdit* editor) {
  QWidget* viewport = editor->parentWidget();
  return qobject_cast<QAbstractItemView*>(viewport ? viewport->parentWidget() : nullptr);
}

// Into a name cell one line of text is one name, semicolons and all; a tab or a second
// line make it a block of cells.
QString withoutLineEnd(QString text) {
  while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
  return text;
}

bool holdsSeveralCellsAt(const QModelIndex& index, const QString& text) {
  if (index.isValid() && index.column() == kColumnName) {
    const QString kept = withoutLineEnd(text);
    return kept.contains(QLatin1Char('\t')) || kept.contains(QLatin1Char('\n')) || kept.contains(QLatin1Char('\r'));
  }
  return holdsSeveralCells(text.toStdString());
}

}  // namespace

QValidator::State WorksCellValidator::validate(QString& input, int&) const {
  if (input == opening_) return Acceptable;
  if (name_) return isNameText(input.toStdString()) ? Acceptable : Invalid;
  input.replace(QLatin1Char('.'), QLatin1Char(kDecimalSeparator));
  return isCellText(input.toStdString()) ? Acceptable : Invalid;
}

bool insertIntoCell(QLineEdit* editor, const QString& text) {
  QAbstractItemView* grid = gridOfEditor(editor);
  const QModelIndex at = grid ? grid->currentIndex() : QModelIndex();
  if (holdsSeveralCellsAt(at, text)) return grid && pasteBlock(grid, at, text);
  if (at.isValid() && at.column() == kColumnName) {
    // The name as it would stand after the paste is what must fit.
    QString whole = editor->text();
    const int start = editor->hasSelectedText() ? editor->selectionStart() : editor->cursorPosition();
    whole.replace(start, static_cast<int>(editor->selectedText().size()), withoutLineEnd(text));
    QString name;
    if (refusedLater(editor, [&] { name = QString::fromStdString(pastedNameText(whole.toStdString())); })) return false;
    editor->setText(name);
    emit editor->textEdited(name);  // the table takes it as it takes a keystroke
    return true;
  }
  QString cell;
  if (!checkedCellText(editor, text, cell)) return false;
  editor->insert(cell);
  return true;
}

bool replaceCellText(QAbstractItemView* grid, const QModelIndex& index, const QString& text) {
  if (holdsSeveralCellsAt(index, text)) return pasteBlock(grid, index, text);
  if (index.isValid() && index.column() == kColumnName) {
    QString name;
    if (refusedLater(grid, [&] { name = QString::fromStdString(pastedNameText(text.toStdString())); })) return false;
    return grid->model()->setData(index, name, Qt::EditRole);
  }
  QString cell;
  if (!index.isValid() || !checkedCellText(grid, text, cell)) return false;
  return grid->model()->setData(index, cell, Qt::EditRole);
}

}  // namespace velko
