// The main window's commands: each one calls the core and shows the outcome.
#include <algorithm>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QToolButton>

#include "data/data_file.h"
#include "data/works_table_edit.h"
#include "model/commands.h"
#include "results/results_file.h"
#include "ui/command_guard.h"
#include "ui/currency_edit.h"
#include "ui/file_dialogs.h"
#include "ui/form_activation.h"
#include "ui/late_windows.h"
#include "ui/main_form.h"
#include "ui/options/print_options.h"
#include "ui/pros_form.h"
#include "ui/rab_form.h"
#include "ui/status_panel.h"
#include "ui/works_grid.h"
#include "ui/works_table_model.h"

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
  CurrencyEdit2->setFocus(Qt::ActiveWindowFocusReason);
  CurrencyEdit2->selectAll();
}

void TMain::setWindowHeight(int height) { resize(width(), height); }

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
}

void TMain::UpdateCaption() {
  // The part after the last path separator of this system (the data file's own name).
  setWindowTitle(QStringLiteral("Оптимизация : ") + QFileInfo(DataFileName).fileName());
}

// "Данные по работам".
void TMain::RxSpeedButton1Click() {
  runCommand(this, [this] {
    TakeWorkCounts(theModel(), text(CurrencyEdit3), text(CurrencyEdit2));
    ToggleWorksTable();
  });
}

void TMain::ToggleWorksTable() {
  if (isCollapsed() && theModel().EventCount > 0) {
    setCalculationEnabled(true);
    setWindowHeight(kExpandedHeight);
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

// "Создать".
void TMain::N2Click() {
  ResetData();
  DataFileName = QString::fromUtf8(kDefaultDataFileName);
  UpdateCaption();
  setCalculationEnabled(false);
  setResultCommandsEnabled(false);
  // New data starts at the works count, its "0" selected so the first key replaces it.
  CurrencyEdit2->setFocus(Qt::OtherFocusReason);
  CurrencyEdit2->selectAll();
}

// "Открыть ...". The name becomes the current data file only once the file has been
// read: a file that cannot be read leaves the name, the caption and the data as they
// were, so a later "Сохранить" cannot write over the file that failed.
void TMain::N3Click() {
  const QString name = chooseFileToOpen(this, QString::fromUtf8(kDataFileFilter));
  if (name.isEmpty()) return;
  runCommand(this, [this, &name] {
    DataFileContents contents;
    worksModel_->change([&](WorksTable& table) { contents = ReadDataFile(theModel(), fileName(name), table); });
    DataFileName = name;
    UpdateCaption();
    CurrencyEdit1->setText(QString::number(contents.VariantNumber));
    CurrencyEdit2->setText(QString::number(theModel().WorkCount));
    CurrencyEdit3->setText(QString::number(theModel().EventCount));
    RxSpeedButton1->click();
    if (!contents.notice.empty()) showNotice(this, QString::fromStdString(contents.notice));
  });
}

void TMain::writeDataFile(const QString& name) {
  // Line 2 always tells the reader how many work lines follow.
  const int rows = workRowsToSave(text(CurrencyEdit2), theModel().WorkCount);
  WriteDataFile(fileName(name), text(CurrencyEdit1), std::to_string(rows), text(CurrencyEdit3),
                worksModel_->table(), rows);
}

// "Сохранить".
void TMain::N4Click() {
  runCommand(this, [this] { writeDataFile(DataFileName); });
}

// "Сохранить как ...".
void TMain::N5Click() {
  const QString name = chooseFileToSave(this, QString::fromUtf8(kDataFileFilter), QStringLiteral("dat"));
  if (name.isEmpty()) return;
  runCommand(this, [this, &name] {
    writeDataFile(name);
    DataFileName = name;
    UpdateCaption();
  });
}

// "Выход".
void TMain::N7Click() { close(); }

TableInput TMain::worksInput() const {
  return TableInput(text(CurrencyEdit3), text(CurrencyEdit2), worksModel_->table());
}

void TMain::runResultsCommand(bool optimise) {
  OptimisationLogRecorder log;
  const bool done = runCommand(this, [this, optimise, &log] {
    const TableInput input = worksInput();
    if (optimise) {
      runOptimise(theModel(), input, kResultsFileName, &log);
    } else {
      runCalculate(theModel(), input, kResultsFileName);
    }
  });
  if (!done) return;
  LastLog = std::move(log.moves);
  if (Charts_form_) lateWindows().setOptimisationLog(Charts_form_, LastLog);
  setResultCommandsEnabled(true);
  if (Pros_form_) Pros_form_->showResults();
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
  if (Pros_form_) Pros_form_->showResults();
}

// "Графики", from the toolbar and the menu "Расчет".
void TMain::RxSpeedButton10Click() {
  if (!Charts_form_) {
    runCommand(this, [this] {
      QWidget* charts = lateWindows().createChartsWindow(this, theModel());
      lateWindows().setOptimisationLog(charts, LastLog);
      Charts_form_ = charts;
    });
  }
  if (Charts_form_) showFormActive(Charts_form_);
}
void TMain::N20Click() { RxSpeedButton10->click(); }

// "Параметры".
void TMain::N13Click() {
  if (Param_) Param_->exec();
}

// "О программе".
void TMain::N15Click() {
  if (Above_) Above_->exec();
}

// "Удалить строку".
void TMain::N16Click() {
  runCommand(this, [this] { StringGrid1->deleteSelectedRow(); });
}

// "Вставить строку".
void TMain::N17Click() {
  runCommand(this, [this] { StringGrid1->insertSelectedRow(); });
}

// "Отдельным окном".
void TMain::N18Click() {
  collapse();
  if (rab_form_) rab_form_->showForm();
}

// "Закрыть данные".
void TMain::N19Click() { collapse(); }

}  // namespace velko
