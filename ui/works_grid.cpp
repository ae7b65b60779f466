#include "ui/works_grid.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "data/works_table_edit.h"
#include "ui/cell_input.h"

namespace velko {

namespace {

constexpr int kRowHeight = 18;

// Paste (Ctrl+V, Shift+Insert), a drop and the middle button's selection paste take
// the way every text that is not typed takes into a cell.
bool pastedInto(QObject* watched, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress:
      if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
      if (editor) {
        insertIntoCell(editor, QGuiApplication::clipboard()->text());
      } else if (auto* grid = qobject_cast<QAbstractItemView*>(watched)) {
        replaceCellText(grid, grid->currentIndex(), QGuiApplication::clipboard()->text());
      }
      return true;
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

}  // namespace

bool TableKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (pastedInto(watched, event)) return true;
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (movedToNextCell(watched, key)) return true;
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

WorksCellDelegate::WorksCellDelegate(TableKeyFilter* keys, QObject* parent)
    : QStyledItemDelegate(parent), keys_(keys) {}

QWidget* WorksCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->installEventFilter(keys_);
    line->setValidator(new WorksCellValidator(line));
    // A right click on the cell being edited opens the table's menu, as on any other cell.
    line->setContextMenuPolicy(Qt::NoContextMenu);
    auto* self = const_cast<WorksCellDelegate*>(this);
    connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
  }
  return editor;
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
  setItemDelegate(new WorksCellDelegate(keys, this));
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
  setSelectionMode(QAbstractItemView::SingleSelection);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void TStringGrid::setContextMenu(QMenu* menu) {
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, menu,
          [this, menu](const QPoint& at) { menu->popup(viewport()->mapToGlobal(at)); });
}

void TStringGrid::deleteSelectedRow() {
  model_->change([this](WorksTable& table) { DeleteWorkRow(table, SelectedRow, theModel().WorkCount); });
}

void TStringGrid::insertSelectedRow() {
  model_->change([this](WorksTable& table) { InsertWorkRow(table, SelectedRow, theModel().WorkCount); });
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) SelectedRow = current.row() + 1;
}

}  // namespace velko
