#include "ui/works/works_table_model.h"

#include <algorithm>

#include <QBrush>
#include <QColor>

#include "data/works_table_edit.h"

namespace velko {

std::array<QString, kTableColumns> worksHeaderTexts() {
  return {QStringLiteral("     I"), QStringLiteral("     J"), QStringLiteral("     t"), QStringLiteral("     n"),
          QStringLiteral("     Id"), QStringLiteral(" Наименование")};
}

WorksTableModel::WorksTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void WorksTableModel::announceAll() {
  if (table_.rowCount() > 0) {
    emit dataChanged(index(0, 0), index(table_.rowCount() - 1, kTableColumns - 1), {Qt::DisplayRole, Qt::EditRole});
  }
}

void WorksTableModel::setMarkedRows(const std::vector<int>& rows) {
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  if (sorted == marked_) return;
  marked_ = std::move(sorted);
  announceAll();
}

void WorksTableModel::clearMarks() {
  if (marked_.empty()) return;
  marked_.clear();
  announceAll();
}

void WorksTableModel::change(const std::function<void(WorksTable&)>& edit) {
  clearMarks();
  try {
    edit(table_);
  } catch (...) {
    announceAll();
    throw;
  }
  announceAll();
}

void WorksTableModel::setRowCount(int rows) {
  marked_.clear();
  beginResetModel();
  table_.setRowCount(rows);
  endResetModel();
}

void WorksTableModel::setTable(const WorksTable& table) {
  const int oldRows = table_.rowCount();
  const int newRows = table.rowCount();
  // Rows of the old table that differ, for the views; rows beyond both counts are unseen.
  const auto [first, last] = table_.differingRows(table, std::min(oldRows, newRows));
  if (first > 0 || newRows != oldRows) clearMarks();
  if (newRows > oldRows) beginInsertRows({}, oldRows, newRows - 1);
  if (newRows < oldRows) beginRemoveRows({}, newRows, oldRows - 1);
  table_ = table;
  if (newRows > oldRows) endInsertRows();
  if (newRows < oldRows) endRemoveRows();
  if (first > 0) {
    emit dataChanged(index(first - 1, 0), index(last - 1, kTableColumns - 1), {Qt::DisplayRole, Qt::EditRole});
  }
}

void WorksTableModel::editTable(const QString& name, const WorksTable& after) {
  if (tableEditHandler_) {
    tableEditHandler_(name, after);
  } else {
    setTable(after);
  }
}

void WorksTableModel::setHeaderTexts(const std::array<QString, kTableColumns>& texts) {
  header_ = texts;
  emit headerDataChanged(Qt::Horizontal, 0, kTableColumns - 1);
}

int WorksTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.rowCount();
}

int WorksTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTableColumns;
}

QVariant WorksTableModel::data(const QModelIndex& index, int role) const {
  if (index.isValid() && role == Qt::BackgroundRole) {
    // A light amber: seen at once, and the black text stays easy to read.
    const bool marked = std::binary_search(marked_.begin(), marked_.end(), index.row() + 1);
    return marked ? QVariant(QBrush(QColor(255, 214, 140))) : QVariant();
  }
  // A long name shows cut at the column's edge; the whole of it under the mouse.
  const bool nameTip = role == Qt::ToolTipRole && index.column() == kColumnName;
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && !nameTip)) return {};
  const std::string& text = table_.cell(index.column(), index.row() + 1);
  if (nameTip && text.empty()) return {};
  return QString::fromStdString(text);
}

bool WorksTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const std::string text = value.toString().toStdString();
  if (table_.cell(index.column(), index.row() + 1) == text) return true;
  // Whatever the way in, only what a key could type; a name only what a row can carry.
  if (index.column() == kColumnName ? !isNameText(text) : !isCellText(text)) return false;
  clearMarks();
  if (cellEditHandler_) {
    cellEditHandler_(index.column(), index.row() + 1, text, editSession_);
  } else {
    table_.setCell(index.column(), index.row() + 1, text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  }
  emit cellEdited(index.column(), index.row() + 1);
  return true;
}

Qt::ItemFlags WorksTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant WorksTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kTableColumns) {
    return header_[static_cast<std::size_t>(section)];
  }
  return {};
}

}  // namespace velko
