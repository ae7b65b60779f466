#pragma once

#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

namespace velko {

// The optimisation log as the window's table shows it: texts made once per run and
// handed to the view on demand, so thousands of moves cost no item objects.
class LogTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // `muted` marks the rows that moved nobody, shown in grey.
  void setRows(QStringList headers, std::vector<QStringList> rows, std::vector<bool> muted);
  const std::vector<QStringList>& rows() const { return rows_; }
  // Leaves out the rows that moved nobody ("только перемещения"), or shows all again:
  // a filter of the model, since hiding 60,000 rows of a view one by one takes seconds.
  void setOnlyMoves(bool only);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QStringList headers_;
  std::vector<QStringList> rows_;
  std::vector<bool> muted_;
  bool onlyMoves_ = false;
  std::vector<std::size_t> shown_;  // the rows shown, in order
  void fillShown();
};

}  // namespace velko
