// The main window's commands: each one calls the core and shows the outcome.
#include <algorithm>
#include <utility>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "data/data_file.h"
#include "data/file_io.h"
#include "data/work_names.h"
#include "data/works_table_edit.h"
#include "exchange/mspdi_writer.h"
#include "model/command_error.h"
#include "model/commands.h"
#include "results/results_file.h"
#include "ui/background_command.h"
#include "ui/command_guard.h"
#include "ui/currency_edit.h"
#include "ui/file_dialogs.h"
#include "ui/form_activation.h"
#include "ui/late_windows.h"
#include "ui/main_form.h"
#include "ui/options/print_options.h"
#include "ui/pros_form.h"
#include "ui/works/rab_form.h"
#include "ui/status_panel.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"

namespace velko {

namespace {

constexpr int kExpandedHeight = 470;

std::string text(const QLineEdit* box) { return box->text().toStdString(); }

std::string fileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace

void TMain::FormActivate() {
  RxLabel2->setText(statusText());
  if (!WasActivated) collapse();
  WasActivated = true;
  // A file named on the command line opens once the window is up (and collapsed).
  if (!startFile_.isEmpty()) {
    QTimer::singleShot(0, this, [this, name = std::exchange(startFile_, QString())] { openDataFile(name); });
  }
  CurrencyEdit2->setFocus(Qt::ActiveWindowFocusReason);
  CurrencyEdit2->selectAll();
}

void TMain::setWindowHeight(int height) { resize(width(), height); }

// A window placed for its collapsed height (a first start, a small screen) could open
// its table past the bottom of the screen: it moves up as far as the table needs.
void TMain::keepBottomOnScreen() {
  const QScreen* screen = this->screen();
  if (screen == nullptr) return;
  const QRect free = screen->availableGeometry();
  const QRect frame = frameGeometry();
  const int bottom = frame.top() + (frame.height() - geometry().height()) + height() - 1;
  const int over = bottom - free.bottom();
  if (over > 0) move(pos().x(), std::max(free.top(), pos().y() - over));
}

QRect TMain::workingArea() const {
  QRect area = frameGeometry();
  area.setHeight(area.height() + std::max(0, kExpandedHeight - height()));
  const int toolbarEnd = RxSpeedButton10->mapToGlobal(QPoint(RxSpeedButton10->width(), 0)).x();
  const int tableEnd = StringGrid1->viewport()->mapToGlobal(QPoint(StringGrid1->horizontalHeader()->length(), 0)).x();
  area.setRight(std::max(toolbarEnd, tableEnd));
  return area;
}

void TMain::setCalculationEnabled(bool enabled) {
  RxSpeedButton5->setEnabled(enabled);
  RxSpeedButton6->setEnabled(enabled);
  N10->setEnabled(enabled);
  N11->setEnabled(enabled);
}

void TMain::setResultCommandsEnabled(bool enabled) {
  RxSpeedButton8->setEnabled(enabled);
  RxSpeedButton9->setEnabled(enabled);
  RxSpeedButton10->setEnabled(enabled);
  N20->setEnabled(enabled);
  N21->setEnabled(enabled);
}

void TMain::UpdateCaption() {
  // The part after the last path separator of this system (the data file's own name);
  // "*" after it while the data set has changes that are not saved.
  setWindowTitle(QStringLiteral("Оптимизация : ") + QFileInfo(DataFileName).fileName() +
                 (isModified() ? QStringLiteral("*") : QString()));
}

// "Данные по работам". Taking over counts that differ is a change of the data set, an
// undo step; the table's rows follow the works count.
void TMain::RxSpeedButton1Click() {
  runCommand(this, [this] {
    const WorkCounts counts = TakenWorkCounts(text(CurrencyEdit3), text(CurrencyEdit2));
    WorksState after = history_->current();
    const WorksState before = after;
    after.workCount = counts.works;
    after.eventCount = counts.events;
    after.table.setRowCount(counts.works);
    history_->record(countsChangeName(before, after), after);
    // What was typed is now a step of the data set: Ctrl+Z in a box undoes that step,
    // not the typing again (setting the text clears a box's own undo).
    CurrencyEdit2->setText(CurrencyEdit2->text());
    CurrencyEdit3->setText(CurrencyEdit3->text());
    ToggleWorksTable();
  });
}

void TMain::ToggleWorksTable() {
  if (isCollapsed() && theModel().EventCount > 0) {
    setCalculationEnabled(true);
    setWindowHeight(kExpandedHeight);
    keepBottomOnScreen();
    worksModel_->setRowCount(theModel().WorkCount);
    StringGrid1->setFocus(Qt::OtherFocusReason);
  } else {
    collapse();
  }
}

void TMain::CurrencyEdit2Enter() { CurrencyEdit3->setFocus(Qt::TabFocusReason); }

void TMain::CurrencyEdit3Change() {
  if (CollapsedHeightKnown) collapse();
}

void TMain::ResetData() {
  CurrencyEdit2->setText(QStringLiteral("0"));
  CurrencyEdit3->setText(QStringLiteral("0"));
  CurrencyEdit1->setText(QStringLiteral("0"));
  ClearModel(theModel());
}

void TMain::RxSpeedButton2Click() { N2->trigger(); }
void TMain::RxSpeedButton3Click() { N3->trigger(); }
void TMain::RxSpeedButton4Click() { N4->trigger(); }

// "Создать": after the question about unsaved changes, and with a new undo history.
void TMain::N2Click() {
  const bool asked = isModified();
  if (!mayDiscardChanges()) return;
  ResetData();
  DataFileName = QString::fromUtf8(kDefaultDataFileName);
  DataFileChosen = false;
  UpdateCaption();
  setCalculationEnabled(false);
  setResultCommandsEnabled(false);
  startHistory();
  // New data starts at the works count, its "0" selected so the first key replaces it.
  auto focusWorksCount = [this] {
    CurrencyEdit2->setFocus(Qt::OtherFocusReason);
    CurrencyEdit2->selectAll();
  };
  focusWorksCount();
  // After the question box the box's new text is still being settled, which drops the
  // selection: select once more when that is done.
  if (asked) QTimer::singleShot(0, this, focusWorksCount);
}

// "Открыть ...": after the question about unsaved changes (openDataFile).
void TMain::N3Click() {
  if (!mayDiscardChanges()) return;
  const QString name = chooseFileToOpen(this, QString::fromUtf8(kDataFileFilter) + QString::fromUtf8(kProjectXmlFilter));
  if (!name.isEmpty()) openDataFile(name);
}

void TMain::writeDataFile(const QString& name) {
  if (isProjectXmlName(name)) {
    writeProjectXml(fileName(name), worksInput(), theModel().Extras);
    return;
  }
  // Line 2 always tells the reader how many work lines follow.
  const int rows = workRowsToSave(text(CurrencyEdit2), theModel().WorkCount);
  WriteDataFile(fileName(name), text(CurrencyEdit1), std::to_string(rows), text(CurrencyEdit3),
                worksModel_->table(), rows, extrasWithTableNames(theModel().Extras, worksModel_->table(), rows));
}

// "Сохранить".
void TMain::N4Click() { saveDataFile(); }

// "Сохранить как ...".
void TMain::N5Click() { saveDataFileAs(); }

// "Выход".
void TMain::N7Click() { close(); }

TableInput TMain::worksInput() const {
  return TableInput(text(CurrencyEdit3), text(CurrencyEdit2), worksModel_->table());
}

namespace {

// The optimisation's log, its progress along the critical path and the user's cancel.
class BackgroundLog : public OptimisationLogRecorder {
 public:
  explicit BackgroundLog(BackgroundProgress& progress) : progress_(progress) {}
  void positionReached(int position, int positions) override {
    progress_.total = positions;
    progress_.done = position - 1;
    if (progress_.cancel) throw CommandError("Оптимизация прервана");
  }

 private:
  BackgroundProgress& progress_;
};

}  // namespace

void TMain::runResultsCommand(bool optimise) {
  OptimisationLogRecorder log;
  bool notWritten = false;
  bool cancelled = false;
  LoadWarnings warnings;
  worksModel_->setMarkedRows({});
  const bool done = runCommand(this, [this, optimise, &log, &notWritten, &cancelled, &warnings] {
    // The command runs on a copy of the model and of the table, off this thread; the
    // copy replaces the model only when the command has run to its end, so a cancel
    // leaves the data set as it was.
    const WorksTable table = worksModel_->table();
    const TableInput input(text(CurrencyEdit3), text(CurrencyEdit2), table);
    auto model = std::make_unique<TNetworkModel>(theModel());
    try {
      try {
        cancelled = !runInBackground(this, optimise ? QStringLiteral("Оптимизация") : QStringLiteral("Расчет"),
                                     [&](BackgroundProgress& progress) {
                                       if (optimise) {
                                         BackgroundLog steps(progress);
                                         runOptimise(*model, input, kResultsFileName, &steps, &warnings);
                                         log.moves = std::move(steps.moves);
                                       } else {
                                         runCalculate(*model, input, kResultsFileName, &warnings);
                                       }
                                     });
      } catch (...) {
        theModel() = std::move(*model);  // a failed command leaves the model as far as it got
        throw;
      }
      if (!cancelled) theModel() = std::move(*model);
    } catch (const FileWriteError& error) {
      // The bare runtime text named no file; the folder is the one of the last file
      // dialog, often one the user may only read (the installed examples).
      notWritten = true;
      throw CommandError(fileWriteFailure(
          "файл результатов", kResultsFileName, error.error(),
          "Файл результатов записывается в папку, где последний раз открывали или сохраняли файл данных. "
          "Сохраните файл данных командой «Сохранить как ...» в папке, где разрешена запись, и повторите "
          "команду."));
    }
  });
  if (notWritten) {
    // What the viewer would show now is an older file, not this run's results.
    RxSpeedButton9->setEnabled(false);
    if (TPros_form* window = Pros_form_.made()) window->hide();
  }
  if (!done || cancelled) return;
  // The results stand as computed; the user learns what the table made them stand on.
  worksModel_->setMarkedRows(warnings.replacedRows());
  if (const std::string notice = warnings.text(); !notice.empty()) showNotice(this, QString::fromStdString(notice));
  LastRun = {std::make_shared<const TNetworkModel>(theModel()), std::move(log.moves), false};
  LastRunWorks = std::make_shared<const WorksState>(history_->current());
  showRunInCharts();
  setResultCommandsEnabled(true);
  if (auto* window = Pros_form_.get()) window->showResults();
}

void TMain::showRunInCharts() {
  LastRun.reallocationSeconds = solverOptions().ReallocationSeconds;
  if (QWidget* charts = Charts_form_.made()) lateWindows().showRun(charts, LastRun);
}

// A new data set has no run: "Графики" shows nothing of the old one.
void TMain::forgetRun() {
  LastRun = {};
  LastRunWorks.reset();
  showRunInCharts();
}

void TMain::noteDataChange() {
  const bool changed = LastRunWorks && *LastRunWorks != history_->current();
  if (changed == LastRun.dataChanged) return;
  LastRun.dataChanged = changed;
  showRunInCharts();
}

// "Расчет".
void TMain::RxSpeedButton5Click() { runResultsCommand(false); }

// "Оптимизация".
void TMain::RxSpeedButton6Click() { runResultsCommand(true); }

void TMain::N10Click() { RxSpeedButton5->click(); }
void TMain::N11Click() { RxSpeedButton6->click(); }

// "Печать результатов": the printed report is started here.
void TMain::RxSpeedButton8Click() {
  runCommand(this, [this] {
    lateWindows().runPrintedReport(this, theModel(), printOptions().PrintHeight, printOptions().PreviewZoom);
  });
}

// "Просмотр результатов".
void TMain::RxSpeedButton9Click() {
  if (auto* window = Pros_form_.get()) window->showResults();
}

// "Графики", from the toolbar and the menu "Расчет".
void TMain::RxSpeedButton10Click() {
  runCommand(this, [this] {
    QWidget* charts = Charts_form_.get();
    if (!charts) return;
    showRunInCharts();
    showFormActive(charts);
  });
}
void TMain::N20Click() { RxSpeedButton10->click(); }

// "Печать результатов" in the menu "Файл" performs the toolbar button.
void TMain::N21Click() { RxSpeedButton8->click(); }

// "Параметры".
void TMain::N13Click() {
  if (auto* window = Param_.get()) window->exec();
}

// "О программе".
void TMain::N15Click() {
  if (auto* window = Above_.get()) window->exec();
}

// "Удалить строку": the row goes and the works count drops by one; the count box follows.
void TMain::N16Click() {
  runCommand(this, [this] {
    const int row = StringGrid1->SelectedRow;
    WorksTable after = worksModel_->table();
    DeleteWorkRow(after, row, theModel().WorkCount);
    history_->recordTable(QStringLiteral("удаление строки %1").arg(row), after);
  });
}

// "Вставить строку": an empty row, the works count up by one (refused at kMaxWorks works).
void TMain::N17Click() {
  runCommand(this, [this] {
    const int row = StringGrid1->SelectedRow;
    WorksTable after = worksModel_->table();
    const int works = InsertWorkRow(after, row, theModel().WorkCount);
    history_->recordTable(QStringLiteral("вставка строки %1").arg(std::min(row, works)), after);
  });
}

// "Отдельным окном".
void TMain::N18Click() {
  collapse();
  if (auto* window = rab_form_.get()) window->showForm();
}

// "Закрыть данные".
void TMain::N19Click() { collapse(); }

}  // namespace velko
