#include "data/works_table.h"

#include <algorithm>
#include <climits>

#include "model/command_error.h"
#include "model/network_model.h"

namespace velko {

namespace {

// Chunks of about 256 rows: a copied chunk stays a few tens of kilobytes, and a table of
// kMaxWorks rows has a few hundred of them to copy and search. A chunk is split past
// kMaxChunkRows and merged into a neighbour below kMinChunkRows, so rows inserted or
// deleted at one place never leave a long run of tiny or huge chunks.
constexpr int kChunkRows = 256;
constexpr int kMaxChunkRows = 2 * kChunkRows;
constexpr int kMinChunkRows = kChunkRows / 4;

const std::string& emptyText() {
  static const std::string empty;
  return empty;
}

const WorksTable::Row& emptyRow() {
  static const WorksTable::Row empty;
  return empty;
}

// A row the row commands can reach: one past the last work at most.
void checkRow(int row) {
  if (row < 1 || row > kMaxWorks + 1) {
    throw CommandError("Строка таблицы " + std::to_string(row) + " вне допустимых пределов");
  }
}

int size(const std::vector<WorksTable::Row>& rows) { return static_cast<int>(rows.size()); }

}  // namespace

void WorksTable::checkColumn(int column) {
  if (column < 0 || column >= kTableColumns) {
    throw CommandError("Столбец таблицы " + std::to_string(column) + " вне допустимых пределов");
  }
}

std::pair<std::size_t, int> WorksTable::locate(int index) const {
  const auto end = std::upper_bound(ends_.begin(), ends_.end(), index);
  const auto chunk = static_cast<std::size_t>(end - ends_.begin());
  return {chunk, chunk == 0 ? index : index - ends_[chunk - 1]};
}

WorksTable::Chunk& WorksTable::writable(std::size_t chunk) {
  // Written in place only while no other table shares it; the program is single-threaded,
  // so the count cannot change between the test and the write.
  if (chunks_[chunk].use_count() != 1) chunks_[chunk] = std::make_shared<Chunk>(*chunks_[chunk]);
  return *chunks_[chunk];
}

WorksTable::Row& WorksTable::writableRow(int index) {
  const auto [chunk, offset] = locate(index);
  return writable(chunk).rows[static_cast<std::size_t>(offset)];
}

void WorksTable::fixEnds(std::size_t fromChunk) {
  ends_.resize(chunks_.size());
  int end = fromChunk == 0 ? 0 : ends_[fromChunk - 1];
  for (std::size_t k = fromChunk; k < chunks_.size(); ++k) {
    end += size(chunks_[k]->rows);
    ends_[k] = end;
  }
}

void WorksTable::appendEmpty(int rows) {
  while (rows > 0) {
    if (chunks_.empty() || chunks_.back().use_count() != 1 || size(chunks_.back()->rows) >= kChunkRows) {
      chunks_.push_back(std::make_shared<Chunk>());
      ends_.push_back(stored());
    }
    std::vector<Row>& last = chunks_.back()->rows;
    const int added = std::min(rows, kChunkRows - size(last));
    last.resize(last.size() + static_cast<std::size_t>(added));
    ends_.back() += added;
    rows -= added;
  }
}

// Rows begin..end - 1 (from 0) of `from` after the stored rows: whole chunks shared, the
// pieces at either end copied, small pieces joined to the chunk before them.
void WorksTable::appendRows(const WorksTable& from, int begin, int end) {
  while (begin < end) {
    const auto [chunk, offset] = from.locate(begin);
    const std::shared_ptr<Chunk>& source = from.chunks_[chunk];
    const int taken = std::min(end, from.ends_[chunk]) - begin;
    const bool whole = offset == 0 && taken == size(source->rows);
    const bool joins = !chunks_.empty() && chunks_.back().use_count() == 1 &&
                       size(chunks_.back()->rows) + taken <= kMaxChunkRows &&
                       (!whole || taken < kMinChunkRows || size(chunks_.back()->rows) < kMinChunkRows);
    if (whole && !joins) {
      chunks_.push_back(source);
      ends_.push_back(stored() + taken);
    } else {
      if (!joins) {
        chunks_.push_back(std::make_shared<Chunk>());
        ends_.push_back(stored());
      }
      const auto first = source->rows.begin() + offset;
      chunks_.back()->rows.insert(chunks_.back()->rows.end(), first, first + taken);
      ends_.back() += taken;
    }
    begin += taken;
  }
}

void WorksTable::rebalance(std::size_t chunk) {
  const int rows = size(chunks_[chunk]->rows);
  if (rows > kMaxChunkRows) {
    std::vector<Row>& full = writable(chunk).rows;
    auto half = std::make_shared<Chunk>();
    const auto middle = full.begin() + rows / 2;
    half->rows.assign(std::make_move_iterator(middle), std::make_move_iterator(full.end()));
    full.erase(middle, full.end());
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, std::move(half));
  } else if (rows == 0) {
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk));
  } else if (rows < kMinChunkRows && chunks_.size() > 1) {
    // Joined with the smaller neighbour; split again below if that made it too big.
    std::size_t left = chunk;
    if (chunk + 1 == chunks_.size() ||
        (chunk > 0 && chunks_[chunk - 1]->rows.size() < chunks_[chunk + 1]->rows.size())) {
      left = chunk - 1;
    }
    const std::vector<Row>& right = chunks_[left + 1]->rows;
    std::vector<Row>& joined = writable(left).rows;
    joined.insert(joined.end(), right.begin(), right.end());
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(left) + 1);
    chunk = left;
    fixEnds(chunk);
    if (size(chunks_[chunk]->rows) > kMaxChunkRows) rebalance(chunk);
    return;
  }
  fixEnds(std::min(chunk, chunks_.size()));
}

const std::string& WorksTable::cell(int column, int row) const {
  checkColumn(column);
  if (row < 1 || row > stored()) return emptyText();
  const auto [chunk, offset] = locate(row - 1);
  return chunks_[chunk]->rows[static_cast<std::size_t>(offset)][static_cast<std::size_t>(column)];
}

void WorksTable::setCell(int column, int row, std::string text) {
  checkColumn(column);
  checkRow(row);
  // The same text again shares the chunk still (a paste or a clear over equal cells).
  if (cell(column, row) == text) return;
  if (row > stored()) appendEmpty(row - stored());
  writableRow(row - 1)[static_cast<std::size_t>(column)] = std::move(text);
}

void WorksTable::clearRow(int row) {
  checkRow(row);
  if (row > stored()) return;
  const auto [chunk, offset] = locate(row - 1);
  if (chunks_[chunk]->rows[static_cast<std::size_t>(offset)] != emptyRow()) {
    writable(chunk).rows[static_cast<std::size_t>(offset)] = Row{};
  }
}

WorksTable::Row WorksTable::row(int row) const {
  if (row < 1 || row > stored()) return Row{};
  const auto [chunk, offset] = locate(row - 1);
  return chunks_[chunk]->rows[static_cast<std::size_t>(offset)];
}

void WorksTable::setRow(int row, const Row& cells) {
  checkRow(row);
  if (row > stored()) {
    if (cells == emptyRow()) return;
    appendEmpty(row - stored());
  }
  const auto [chunk, offset] = locate(row - 1);
  if (chunks_[chunk]->rows[static_cast<std::size_t>(offset)] != cells) {
    writable(chunk).rows[static_cast<std::size_t>(offset)] = cells;
  }
}

void WorksTable::clearRowsAfter(int row) {
  if (row < 0) row = 0;
  if (row >= stored()) return;
  const auto [chunk, offset] = locate(row);
  chunks_.resize(chunk + (offset > 0 ? 1 : 0));
  if (offset > 0) writable(chunk).rows.resize(static_cast<std::size_t>(offset));
  fixEnds(chunk);
}

void WorksTable::insertRow(int row) {
  checkRow(row);
  // Among the empty rows beyond the stored ones an empty row changes nothing.
  if (row > stored()) return;
  const auto [chunk, offset] = locate(row - 1);
  std::vector<Row>& rows = writable(chunk).rows;
  rows.insert(rows.begin() + offset, Row{});
  rebalance(chunk);
}

void WorksTable::eraseRow(int row) {
  checkRow(row);
  if (row > stored()) return;
  const auto [chunk, offset] = locate(row - 1);
  std::vector<Row>& rows = writable(chunk).rows;
  rows.erase(rows.begin() + offset);
  rebalance(chunk);
}

void WorksTable::copyRowsFrom(const WorksTable& from, int rows) {
  if (rows <= 0) return;
  WorksTable joined;
  const int taken = std::min(rows, from.stored());
  joined.appendRows(from, 0, taken);
  if (stored() > rows) {
    joined.appendEmpty(rows - taken);
    joined.appendRows(*this, rows, stored());
  }
  chunks_ = std::move(joined.chunks_);
  ends_ = std::move(joined.ends_);
}

WorksTable::Run WorksTable::runFrom(int index) const {
  if (index >= stored()) return {nullptr, 0, INT_MAX};
  const auto [chunk, offset] = locate(index);
  return {chunks_[chunk].get(), offset, size(chunks_[chunk]->rows) - offset};
}

WorksTable::Run WorksTable::runBack(int index) const {
  if (index >= stored()) return {nullptr, 0, index - stored() + 1};
  const auto [chunk, offset] = locate(index);
  return {chunks_[chunk].get(), offset, offset + 1};
}

namespace {

const WorksTable::Row& rowOf(const WorksTable::Row* rows, int offset) { return rows ? rows[offset] : emptyRow(); }

}  // namespace

// Both scans step a run at a time: a run both tables hold in the same chunk at the same
// offset is equal without a look, and past both stored ends every row is empty.
int WorksTable::firstDifference(const WorksTable& other, int rows) const {
  for (int r = 0; r < rows;) {
    const Run a = runFrom(r);
    const Run b = other.runFrom(r);
    if (!a.chunk && !b.chunk) return 0;
    const int n = std::min({a.count, b.count, rows - r});
    if (a.chunk != b.chunk || a.offset != b.offset) {
      const Row* ra = a.chunk ? a.chunk->rows.data() + a.offset : nullptr;
      const Row* rb = b.chunk ? b.chunk->rows.data() + b.offset : nullptr;
      for (int k = 0; k < n; ++k) {
        if (rowOf(ra, k) != rowOf(rb, k)) return r + k + 1;
      }
    }
    r += n;
  }
  return 0;
}

int WorksTable::lastDifference(const WorksTable& other, int rows) const {
  for (int r = rows - 1; r >= 0;) {
    const Run a = runBack(r);
    const Run b = other.runBack(r);
    const int n = std::min({a.count, b.count, r + 1});
    if ((a.chunk || b.chunk) && (a.chunk != b.chunk || a.offset != b.offset)) {
      const Row* ra = a.chunk ? a.chunk->rows.data() + a.offset : nullptr;
      const Row* rb = b.chunk ? b.chunk->rows.data() + b.offset : nullptr;
      for (int k = 0; k < n; ++k) {
        if (rowOf(ra, -k) != rowOf(rb, -k)) return r - k + 1;
      }
    }
    r -= n;
  }
  return 0;
}

std::pair<int, int> WorksTable::differingRows(const WorksTable& other, int rows) const {
  const int first = firstDifference(other, rows);
  if (first == 0) return {0, 0};
  return {first, lastDifference(other, rows)};
}

bool WorksTable::operator==(const WorksTable& other) const {
  if (rowCount_ != other.rowCount_) return false;
  if (chunks_ == other.chunks_) return true;
  return firstDifference(other, std::max(stored(), other.stored())) == 0;
}

}  // namespace velko
