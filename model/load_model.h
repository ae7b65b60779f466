#pragma once

#include <string>
#include <vector>

#include "model/command_error.h"
#include "model/network_model.h"

namespace velko {

// Columns of the works table.
enum WorksColumn { kColumnI = 0, kColumnJ = 1, kColumnT = 2, kColumnN = 3, kColumnId = 4 };
inline constexpr int kWorksColumns = 5;  // the columns the commands read
// The work's name: kept, edited, copied and saved with the row, never read by a command.
inline constexpr int kColumnName = kWorksColumns;
inline constexpr int kTableColumns = kWorksColumns + 1;

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

// The name of a works table column as its header shows it: I, J, t, n, Id, Наименование.
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

// What a load took although the user most likely meant something else; the computation
// goes on with it as it always has, and the user is told.
struct LoadWarnings {
  // A row whose pair of events (in either order) a later row repeats: the later row's
  // work stands in the model.
  struct ReplacedRow {
    int row = 0;  // table row, from 1
    int by = 0;   // the later row that replaced it
    int i = 0;    // the pair as the row has it
    int j = 0;
  };
  std::vector<ReplacedRow> replaced;
  // Events after the first that no work ends in, ascending; the last event among them
  // when no work reaches it.
  std::vector<int> unreachedEvents;
  std::int32_t events = 0;  // the counts as taken, for a negative one
  std::int32_t works = 0;

  // The rows named in `replaced`, each once, ascending.
  std::vector<int> replacedRows() const;
  // One short text of every warning, a line each; empty when there is none.
  std::string text() const;
};

// Loads the counts and the table rows into the model. The matrix is emptied first,
// so the table is the one source of the works. Refuses, before anything of the
// offending item is written, counts above the tables' limits, event numbers outside
// 1..EventCount and a work whose two events are the same; a cell that does not convert
// throws a CellError. Rows before the failing one stay loaded.
// `warnings`, when given, receives what the loaded network gives reason to warn of.
void LoadModel(TNetworkModel& model, const WorksInput& input, LoadWarnings* warnings = nullptr);

}  // namespace velko
