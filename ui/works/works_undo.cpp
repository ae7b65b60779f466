#include "ui/works/works_undo.h"

#include <algorithm>

#include <QLineEdit>
#include <QUndoCommand>
#include <QUndoStack>

#include "model/load_model.h"
#include "model/network_model.h"
#include "ui/works/works_table_model.h"

namespace velko {

namespace {

// Enough for a long session. Every step holds two tables, but they share their chunks
// of rows with each other and with the window's table: a step costs about the chunks it
// changed, a few tens of kilobytes even at 100000 rows.
constexpr int kUndoLimit = 500;
constexpr int kTypingId = 1;

class WorksStep : public QUndoCommand {
 public:
  WorksStep(WorksHistory& history, const QString& name, WorksState before, WorksState after, TypingKey typing)
      : QUndoCommand(name), history_(history), before_(std::move(before)), after_(std::move(after)), typing_(typing) {}

  void undo() override { history_.apply(before_); }
  void redo() override { history_.apply(after_); }
  int id() const override { return typing_.table ? kTypingId : -1; }

  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const WorksStep*>(other);
    if (next->typing_ != typing_) return false;
    after_ = next->after_;
    setObsolete(after_ == before_);  // typed and taken back: no step at all
    return true;
  }

 private:
  WorksHistory& history_;
  WorksState before_;
  WorksState after_;
  TypingKey typing_;
};

// Sets a count box to `count` unless it already shows that number ("05" stays).
void follow(QLineEdit* box, std::int32_t count) {
  bool whole = false;
  if (box->text().toInt(&whole) == count && whole) return;
  box->setText(QString::number(count));
}

}  // namespace

WorksHistory::WorksHistory(WorksTableModel* works, QLineEdit* worksBox, QLineEdit* eventsBox, QObject* parent)
    : QObject(parent), works_(works), worksBox_(worksBox), eventsBox_(eventsBox), stack_(new QUndoStack(this)) {
  stack_->setUndoLimit(kUndoLimit);
}

WorksState WorksHistory::current() const {
  return {works_->table(), theModel().WorkCount, theModel().EventCount};
}

void WorksHistory::record(const QString& name, const WorksState& after, TypingKey typing) {
  WorksState before = current();
  if (before == after) return;
  stack_->push(new WorksStep(*this, name, std::move(before), after, typing));
}

void WorksHistory::recordTable(const QString& name, const WorksTable& after, TypingKey typing) {
  WorksState state = current();
  if (after.rowCount() != std::max(state.workCount, 0)) state.workCount = after.rowCount();
  state.table = after;
  record(name, state, typing);
}

void WorksHistory::restart() { stack_->clear(); }

void WorksHistory::apply(const WorksState& state) {
  TNetworkModel& model = theModel();
  const bool worksChanged = model.WorkCount != state.workCount;
  const bool eventsChanged = model.EventCount != state.eventCount;
  works_->setTable(state.table);
  model.WorkCount = state.workCount;
  model.EventCount = state.eventCount;
  // The boxes last: a change of the events box collapses the main window.
  if (worksChanged) follow(worksBox_, state.workCount);
  if (eventsChanged) follow(eventsBox_, state.eventCount);
}

QString cellEditName(int column, int row) {
  if (column == kColumnName) return QStringLiteral("правка наименования в строке %1").arg(row);
  return QStringLiteral("правка ячейки %1 в строке %2").arg(QString::fromUtf8(columnName(column))).arg(row);
}

QString countsChangeName(const WorksState& before, const WorksState& after) {
  const bool works = before.workCount != after.workCount;
  const bool events = before.eventCount != after.eventCount;
  if (works && events) return QStringLiteral("изменение количества работ и событий");
  return events ? QStringLiteral("изменение количества событий") : QStringLiteral("изменение количества работ");
}

}  // namespace velko
