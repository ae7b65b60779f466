#include "ui/charts/log_table_model.h"

#include "ui/charts/chart_pictures.h"
#include "ui/charts/optimisation_log.h"

namespace velko {

void LogTableModel::setRows(QStringList headers, std::vector<QStringList> rows, std::vector<bool> muted) {
  beginResetModel();
  headers_ = std::move(headers);
  rows_ = std::move(rows);
  muted_ = std::move(muted);
  muted_.resize(rows_.size());
  fillShown();
  endResetModel();
}

void LogTableModel::setOnlyMoves(bool only) {
  if (only == onlyMoves_) return;
  beginResetModel();
  onlyMoves_ = only;
  fillShown();
  endResetModel();
}

void LogTableModel::fillShown() {
  shown_.clear();
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (!onlyMoves_ || !muted_[r]) shown_.push_back(r);
  }
}

int LogTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const std::size_t row = shown_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return rows_[row].value(index.column());
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
      // A row that moved nobody muted; else the critical work that took the workers, in
      // the pictures' critical colour.
      if (muted_[row]) return QVariant(kMutedText);
      return index.column() == 1 ? QVariant(kCriticalColour) : QVariant();
    default:
      return {};
  }
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return headers_.value(section);
  return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace velko
