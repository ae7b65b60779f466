#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include "ui/works_table_model.h"

class QMenu;

namespace velko {

// Drops the keys a works table cell refuses and turns "." into ","; installed on a grid
// and on each of its cell editors. Only typed characters are judged: navigation keys
// and control shortcuts (copy, paste, Escape) keep their meaning.
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
  WorksCellDelegate(TableKeyFilter* keys, QObject* parent);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

 private:
  TableKeyFilter* keys_;
};

// A works table: five columns of texts under the header row, a cell editor that opens
// on the current cell, Tab to the next cell, and the window's SelectedRow.
class TStringGrid : public QTableView {
 public:
  TStringGrid(WorksTableModel* model, int columnWidth, QWidget* parent);

  WorksTableModel* works() const { return model_; }

  // The table row (1-based) of the cell last selected; the first data row until the
  // user selects a cell. The header row is never selectable.
  int SelectedRow = 1;

  void setContextMenu(QMenu* menu);

  // "Удалить строку" and "Вставить строку" on this table's SelectedRow, with the works
  // count last taken over.
  void deleteSelectedRow();
  void insertSelectedRow();

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  WorksTableModel* model_;
};

}  // namespace velko
