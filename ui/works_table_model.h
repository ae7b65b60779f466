#pragma once

#include <array>
#include <functional>

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
  void setHeaderTexts(const std::array<QString, kWorksColumns>& texts);

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
  WorksTable table_;
  std::array<QString, kWorksColumns> header_;
};

// The header texts of both works tables.
std::array<QString, kWorksColumns> worksHeaderTexts();

}  // namespace velko
