#pragma once

#include <array>
#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "data/works_table.h"

namespace velko {

// The grid's view of a works table of texts. Grid row k (0-based) is table row k + 1;
// the header row of the design is the grid's horizontal header. The table keeps the
// texts of rows beyond its row count, as the grid it stands for did.
class WorksTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit WorksTableModel(QObject* parent = nullptr);

  const WorksTable& table() const { return table_; }

  // Changes the texts (not the row count) through `edit`; the grid shows the result
  // even when `edit` throws halfway.
  void change(const std::function<void(WorksTable&)>& edit);
  void setRowCount(int rows);
  // Takes the texts and the row count of `table`, telling the views only of the rows
  // that changed, so the cell being edited stays open and the current cell stays put.
  void setTable(const WorksTable& table);

  // Where the grid's cell edits go when set, instead of straight into the table: the main
  // table makes each an undo step. `session` tells one opening of a cell editor from the
  // next, so the keystrokes of one edit can make one step.
  using CellEditHandler = std::function<void(int column, int row, const std::string& text, int session)>;
  void setCellEditHandler(CellEditHandler handler) { cellEditHandler_ = std::move(handler); }
  // Where a change of several cells made in the grid goes when set (a pasted block, cut,
  // clear): the main table makes it one undo step, the separate window passes it on to
  // the main table. Without a handler the table takes it at once.
  using TableEditHandler = std::function<void(const QString& name, const WorksTable& after)>;
  void setTableEditHandler(TableEditHandler handler) { tableEditHandler_ = std::move(handler); }
  void editTable(const QString& name, const WorksTable& after);

  // A cell editor opened: the edits from now on are a new session.
  void beginEditSession() { ++editSession_; }
  int editSession() const { return editSession_; }
  void setHeaderTexts(const std::array<QString, kTableColumns>& texts);

  // Rows (table rows, from 1) shown on a coloured background: the rows a run found
  // replaced by a later row of the same events. Any change of the texts or of the row
  // count clears them, as does the next run.
  void setMarkedRows(const std::vector<int>& rows);
  const std::vector<int>& markedRows() const { return marked_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  // A cell's text was changed through the grid's cell editor (each keystroke).
  void cellEdited(int column, int row);

 private:
  void announceAll();
  void clearMarks();
  CellEditHandler cellEditHandler_;
  TableEditHandler tableEditHandler_;
  int editSession_ = 0;
  WorksTable table_;
  std::array<QString, kTableColumns> header_;
  std::vector<int> marked_;
};

// The header texts of both works tables.
std::array<QString, kTableColumns> worksHeaderTexts();

}  // namespace velko
