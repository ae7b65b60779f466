#include "ui/works/works_grid.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "data/cell_block.h"
#include "data/works_table_edit.h"
#include "ui/works/cell_input.h"
#include "ui/data_file_drop.h"

namespace velko {

namespace {

constexpr int kRowHeight = 18;
constexpr const char* kOpeningText = "openingText";
constexpr const char* kNameCell = "nameCell";
// Wide enough for a short name at a glance; a longer one shows whole in its tool tip.
constexpr int kNameColumnWidth = 200;

// A drop and the middle button's selection paste take the way every text that is not
// typed takes into a cell (as Ctrl+V does, in tableCommand).
bool pastedInto(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  switch (event->type()) {
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      // Moving text within the cell only rearranges what it already holds.
      if (!editor || drop->source() == editor) return false;
      if (drop->mimeData()->hasText()) {
        editor->setCursorPosition(editor->cursorPositionAt(drop->position().toPoint()));
        if (insertIntoCell(editor, drop->mimeData()->text())) drop->acceptProposedAction();
      }
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!editor || static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
          !QGuiApplication::clipboard()->supportsSelection()) {
        return false;
      }
      insertIntoCell(editor, QGuiApplication::clipboard()->text(QClipboard::Selection));
      return true;
    default:
      return false;
  }
}

// Left and Right move the caret within the cell's text, and on to the next cell once
// it stands at that end of the text (or the whole text is selected, as in a cell just
// entered), as in a spreadsheet's grid: typing then replaces the next cell's text
// instead of going on at the end of this one.
bool movedToNextCell(QObject* watched, QKeyEvent* key) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  const bool left = key->key() == Qt::Key_Left;
  const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (!editor || (!left && key->key() != Qt::Key_Right) || !plain) return false;
  QWidget* viewport = editor->parentWidget();
  auto* grid = qobject_cast<QAbstractItemView*>(viewport ? viewport->parentWidget() : nullptr);
  const bool allSelected = editor->selectedText() == editor->text();
  const int edge = left ? 0 : static_cast<int>(editor->text().size());
  if (!grid || (!allSelected && (editor->hasSelectedText() || editor->cursorPosition() != edge))) return false;
  QCoreApplication::sendEvent(grid, key);
  return true;
}

bool isPlainEnter(const QKeyEvent* key) {
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

TStringGrid* gridOf(QObject* watched) {
  if (auto* grid = dynamic_cast<TStringGrid*>(watched)) return grid;
  auto* editor = qobject_cast<QLineEdit*>(watched);
  QWidget* viewport = editor ? editor->parentWidget() : nullptr;
  return dynamic_cast<TStringGrid*>(viewport ? viewport->parentWidget() : nullptr);
}

bool isUndoOrRedo(const QKeyEvent* key) {
  const QKeySequence pressed(key->keyCombination());
  return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
         pressed == QKeySequence(Qt::CTRL | Qt::Key_Y) || pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

// Copy, cut, Delete, undo and redo in a works table. A shortcut override is answered so
// that the table, not a window's menu item of the same keys, handles the key.
bool tableCommand(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  TStringGrid* grid = gridOf(watched);
  if (!grid) return false;
  // The editor's own undo would be a second history beside the window's: the override
  // is left unanswered, so the window's "Отменить" and "Повторить" take the key.
  if (isUndoOrRedo(key)) return true;
  enum class Command { Copy, Cut, Clear, Paste } command;
  if (key->matches(QKeySequence::Paste)) {
    command = Command::Paste;
  } else if (key->matches(QKeySequence::Copy)) {
    command = Command::Copy;
  } else if (key->matches(QKeySequence::Cut)) {
    command = Command::Cut;
  } else if (key->matches(QKeySequence::Delete)) {
    command = Command::Clear;
  } else {
    return false;
  }
  // Part of a cell's text selected is the editor's to copy or cut, and within one cell
  // Delete edits the text.
  if (auto* editor = qobject_cast<QLineEdit*>(watched)) {
    const bool part = editor->hasSelectedText() && editor->selectedText() != editor->text();
    const QRect cells = grid->selectedCells();
    if (command == Command::Clear ? cells.width() * cells.height() <= 1 : command != Command::Paste && part) {
      return false;
    }
  }
  event->accept();
  if (event->type() == QEvent::ShortcutOverride) return true;
  switch (command) {
    case Command::Copy:
      grid->copySelectedCells();
      break;
    case Command::Cut:
      grid->cutSelectedCells();
      break;
    case Command::Clear:
      grid->clearSelectedCells();
      break;
    case Command::Paste:
      grid->pasteIntoCells(qobject_cast<QLineEdit*>(watched));
      break;
  }
  return true;
}

// The cell editor opens under the mouse button and takes the drag that follows; once
// the drag leaves the cell it selects the rectangle of cells from there, as dragging
// over the table does.
bool draggedOverCells(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  if (!editor || event->type() != QEvent::MouseMove) return false;
  const auto* move = static_cast<QMouseEvent*>(event);
  const QPoint at = move->position().toPoint();
  if (!(move->buttons() & Qt::LeftButton) || editor->rect().contains(at)) return false;
  TStringGrid* grid = gridOf(editor);
  if (!grid) return false;
  const QModelIndex to = grid->indexAt(editor->mapToParent(at));
  if (!to.isValid()) return true;
  grid->selectionModel()->select(QItemSelection(grid->currentIndex(), to), QItemSelectionModel::ClearAndSelect);
  return true;
}

// Typing into a name takes every key: a name is any text. The grid starts an editor on
// the current cell with the key, so the grid's own key counts for that cell too.
bool typedIntoName(QObject* watched) {
  if (auto* editor = qobject_cast<QLineEdit*>(watched)) return editor->property(kNameCell).toBool();
  auto* grid = dynamic_cast<TStringGrid*>(watched);
  return grid && grid->currentIndex().column() == kColumnName;
}

}  // namespace

bool TableKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (draggedOverCells(watched, event)) return true;
  if (tableCommand(watched, event)) return true;
  if (pastedInto(watched, event)) return true;
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (movedToNextCell(watched, key)) return true;
  if (typedIntoName(watched)) return false;
  const QList<uint> chars = key->text().toUcs4();
  if (chars.size() != 1) return !chars.isEmpty();  // several characters at once: not typed keys
  const char32_t typed = chars.front();
  if (typed < 0x20 || typed == 0x7f) return false;  // Backspace, Tab, Enter, Escape, Ctrl+...
  const char32_t accepted = tableKey(typed);
  if (accepted == 0) return true;
  if (accepted == typed) return false;
  QKeyEvent replaced(QEvent::KeyPress, Qt::Key_Comma, key->modifiers(), QString(QChar(static_cast<char16_t>(accepted))),
                     key->isAutoRepeat());
  QCoreApplication::sendEvent(watched, &replaced);
  return true;
}

WorksCellDelegate::WorksCellDelegate(TableKeyFilter* keys, WorksTableModel* works, QObject* parent)
    : QStyledItemDelegate(parent), keys_(keys), works_(works) {}

QWidget* WorksCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    works_->beginEditSession();
    // Escape gives the cell this text back: every keystroke has reached the table already.
    line->setProperty(kOpeningText, index.data(Qt::EditRole));
    line->installEventFilter(keys_);
    if (auto* grid = dynamic_cast<const TStringGrid*>(parent ? parent->parentWidget() : nullptr)) {
      takeDataFileDrops(line, grid->dataFileDropHandler());
    }
    auto* rule = new WorksCellValidator(line);
    const bool name = index.column() == kColumnName;
    rule->setNameCell(name);
    line->setProperty(kNameCell, name);
    line->setValidator(rule);
    // A right click on the cell being edited opens the table's menu, as on any other cell.
    line->setContextMenuPolicy(Qt::NoContextMenu);
    auto* self = const_cast<WorksCellDelegate*>(this);
    connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
  }
  return editor;
}

bool WorksCellDelegate::eventFilter(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(watched);
  if (editor && event->type() == QEvent::KeyPress && isPlainEnter(static_cast<QKeyEvent*>(event))) {
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
    return true;
  }
  auto* line = qobject_cast<QLineEdit*>(watched);
  if (line && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    const QString opening = line->property(kOpeningText).toString();
    if (line->text() != opening) {
      line->setText(opening);
      emit commitData(line);  // the same edit session: typed and taken back, no undo step
    }
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

void WorksCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  // The editor's own keystrokes come back as a change of the cell: setting the same
  // text again would move the cursor to the end while the user types in the middle.
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    const QString text = index.data(Qt::EditRole).toString();
    if (line->text() != text) {
      if (auto* rule = line->findChild<WorksCellValidator*>()) rule->setOpeningText(text);
      line->setText(text);
    }
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

TStringGrid::TStringGrid(WorksTableModel* model, int columnWidth, QWidget* parent)
    : QTableView(parent), model_(model) {
  setObjectName(QStringLiteral("StringGrid1"));
  setModel(model);
  auto* keys = new TableKeyFilter(this);
  installEventFilter(keys);
  setItemDelegate(new WorksCellDelegate(keys, model, this));
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(true);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setMinimumSectionSize(kRowHeight);
  QHeaderView* header = horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setMinimumSectionSize(columnWidth);
  header->setDefaultSectionSize(columnWidth);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setFixedHeight(kRowHeight + 2);
  setColumnWidth(kColumnName, kNameColumnWidth);
  // A rectangle of cells, for copy, cut and Delete.
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void TStringGrid::setContextMenu(QMenu* menu) {
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, menu,
          [this, menu](const QPoint& at) { menu->popup(viewport()->mapToGlobal(at)); });
}

QRect TStringGrid::selectedCells() const {
  // From the ranges, not the indexes: a selection of every row is 500000 of them.
  QRect cells;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    cells |= QRect(range.left(), range.top() + 1, range.width(), range.height());
  }
  if (cells.isEmpty() && currentIndex().isValid()) cells = QRect(currentIndex().column(), currentIndex().row() + 1, 1, 1);
  return cells;
}

void TStringGrid::copySelectedCells() {
  const QRect cells = selectedCells();
  if (cells.isEmpty()) return;
  QGuiApplication::clipboard()->setText(QString::fromStdString(
      copyCellBlock(model_->table(), cells.top(), cells.left(), cells.bottom(), cells.right())));
}

void TStringGrid::cutSelectedCells() {
  copySelectedCells();
  const QRect cells = selectedCells();
  if (cells.isEmpty()) return;
  WorksTable after = model_->table();
  clearCellBlock(after, cells.top(), cells.left(), cells.bottom(), cells.right());
  model_->editTable(QStringLiteral("вырезание ячеек"), after);
}

void TStringGrid::clearSelectedCells() {
  const QRect cells = selectedCells();
  if (cells.isEmpty()) return;
  WorksTable after = model_->table();
  clearCellBlock(after, cells.top(), cells.left(), cells.bottom(), cells.right());
  model_->editTable(QStringLiteral("очистка ячеек"), after);
}

void TStringGrid::pasteIntoCells(QLineEdit* editor) {
  const QString text = QGuiApplication::clipboard()->text();
  if (editor) {
    insertIntoCell(editor, text);
  } else {
    replaceCellText(this, currentIndex(), text);
  }
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  // Enter on a cell with no editor open moves on as well.
  if (isPlainEnter(event)) {
    focusNextPrevChild(true);
    return;
  }
  QTableView::keyPressEvent(event);
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) SelectedRow = current.row() + 1;
}

}  // namespace velko
