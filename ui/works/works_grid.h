#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include "ui/data_file_drop.h"
#include "ui/works/works_table_model.h"

class QLineEdit;
class QMenu;

namespace velko {

// Drops the keys a works table cell refuses and turns "." into ","; installed on a grid
// and on each of its cell editors. Only typed characters are judged: navigation keys
// and control shortcuts keep their meaning. Copy, cut and Delete act on the selected
// cells (text selected inside a cell stays the editor's), paste takes one value or a
// block of cells, and undo and redo go to the window's history, never to the editor.
class TableKeyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Cell editors that hand every keystroke to the table at once, so a change made in one
// table can be copied to another while the user is still typing.
class WorksCellDelegate : public QStyledItemDelegate {
 public:
  WorksCellDelegate(TableKeyFilter* keys, WorksTableModel* works, QObject* parent);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

 protected:
  // Enter commits the edit and goes on to the next cell, as Tab does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TableKeyFilter* keys_;
  WorksTableModel* works_;
};

// A works table: five columns of numbers and the works' names under the header row, a cell editor that opens
// on the current cell, Tab and Enter to the next cell (at a row's end to the next row's
// first), and the window's SelectedRow.
class TStringGrid : public QTableView {
 public:
  TStringGrid(WorksTableModel* model, int columnWidth, QWidget* parent);

  WorksTableModel* works() const { return model_; }

  // The table row (1-based) of the cell last selected; the first data row until the
  // user selects a cell. The header row is never selectable.
  int SelectedRow = 1;

  void setContextMenu(QMenu* menu);

  // The selected cells (the current cell when none is selected) as table rows 1.. and
  // columns 0..5; empty when the table has no rows.
  QRect selectedCells() const;
  // Ctrl+C: the selected cells to the clipboard as tab-separated lines. Ctrl+X copies
  // them and empties them, Delete empties them; each a table edit of its own.
  void copySelectedCells();
  void cutSelectedCells();
  void clearSelectedCells();
  // A data file dropped on a cell editor goes here (the main window opens it); without
  // a handler such a drop is refused.
  void setDataFileDropHandler(DataFileDropHandler open) { dataFileDrop_ = std::move(open); }
  const DataFileDropHandler& dataFileDropHandler() const { return dataFileDrop_; }

  // Ctrl+V: one value into the cell editor `editor` (at its cursor) or into the current
  // cell, a block of cells from the current cell.
  void pasteIntoCells(QLineEdit* editor);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  WorksTableModel* model_;
  DataFileDropHandler dataFileDrop_;
};

}  // namespace velko
