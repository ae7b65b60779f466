#pragma once

#include <cstdint>

#include <QObject>
#include <QString>

#include "data/works_table.h"

class QLineEdit;
class QUndoStack;

namespace velko {

class WorksTableModel;

// What one undo step puts back: the texts of the main works table with its row count,
// and the two counts taken over by "Данные по работам". The results of a calculation are
// not part of it, so undoing after a run leaves the run's results as they are.
struct WorksState {
  WorksTable table;
  std::int32_t workCount = 0;
  std::int32_t eventCount = 0;
  bool operator==(const WorksState& other) const = default;
};

// The keystrokes typed into one cell editor belong to one step: the table typed into
// and the opening of its editor.
struct TypingKey {
  const void* table = nullptr;
  int session = 0;
  bool operator==(const TypingKey& other) const = default;
};

// The one undo history of the data set, over the main works table, the model's two
// counts and the two count boxes that show them. Every change of the works or of the
// counts taken over is recorded as a step; "Создать" and "Открыть ..." start a new
// history. The stack's clean state is the state last opened or saved.
class WorksHistory : public QObject {
 public:
  WorksHistory(WorksTableModel* works, QLineEdit* worksBox, QLineEdit* eventsBox, QObject* parent);

  QUndoStack* stack() const { return stack_; }
  WorksState current() const;

  // One step named `name` from the current state to `after`, which takes effect at once;
  // nothing when the two are the same. Steps with the same typing key follow one
  // another into one step.
  void record(const QString& name, const WorksState& after, TypingKey typing = {});
  // The table's texts and row count after a table edit, as one step; the works count
  // follows the row count.
  void recordTable(const QString& name, const WorksTable& after, TypingKey typing = {});
  // A new history whose clean state is the current one.
  void restart();

  // Shows `state`: table, counts, and a count box whose number differs from its count.
  void apply(const WorksState& state);

 private:
  WorksTableModel* works_;
  QLineEdit* worksBox_;
  QLineEdit* eventsBox_;
  QUndoStack* stack_;
};

// The names of the steps, as "Отменить: " and "Повторить: " show them.
QString cellEditName(int column, int row);
QString countsChangeName(const WorksState& before, const WorksState& after);

}  // namespace velko
