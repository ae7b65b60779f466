#pragma once

#include <string>

#include "model/command_error.h"
#include "model/network_model.h"

namespace velko {

// Columns of the works table.
enum WorksColumn { kColumnI = 0, kColumnJ = 1, kColumnT = 2, kColumnN = 3, kColumnId = 4 };
inline constexpr int kWorksColumns = 5;

// A works table cell that did not convert (or whose value the model cannot hold): the
// runtime's message with the cell's place in front, "Строка 5, столбец n: '' is not a
// valid integer value". Row from 1, column 0..4; the batch tool names the data file's
// line instead.
class CellError : public CommandError {
 public:
  CellError(int row, int column, const std::string& reason);
  int row;
  int column;
  std::string reason;
};

// The name of a works table column as its header shows it: I, J, t, n, Id.
const char* columnName(int column);

// Where the commands read their input: the two count texts and the works table's
// cells (column 0..4, row 1..). A row that does not exist yields the empty text.
class WorksInput {
 public:
  virtual ~WorksInput() = default;
  virtual std::string eventsText() const = 0;
  virtual std::string worksText() const = 0;
  virtual std::string cellText(int column, int row) const = 0;
};

// Loads the counts and the table rows into the model. The matrix is emptied first,
// so the table is the one source of the works. Refuses, before anything of the
// offending item is written, counts above the tables' limits, event numbers outside
// 1..EventCount and a work whose two events are the same; a cell that does not convert
// throws a CellError. Rows before the failing one stay loaded.
void LoadModel(TNetworkModel& model, const WorksInput& input);

}  // namespace velko
