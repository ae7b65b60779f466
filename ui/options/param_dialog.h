#pragma once

#include <functional>

#include <QDialog>

#include "ui/options/form_placement.h"
#include "ui/options/print_option_boxes.h"
#include "ui/options/solver_options.h"

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QShowEvent;
class QToolButton;

namespace velko {

// The options dialog "Опции": the print height and the preview zoom of the printed
// report. Opened modally; "Применить" puts the values in force and into the main
// window's hidden boxes, from which the stores take them when the main window saves.
class TParam : public QDialog {
  Q_OBJECT

 public:
  TParam(TPrintOptions& options, PrintOptionBoxes mainBoxes, QWidget* parent = nullptr);

  // Adds the group "Перераспределение" with its search time; `applied` runs after Apply
  // put a new time in force (the program stores it and tells "Графики").
  void setSolverOptions(TSolverOptions& options, std::function<void()> applied);

  // Where Apply's error goes; the error box over this dialog unless replaced.
  void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

  // Each opening shows the values in force.
  void FormActivate();
  // Apply; throws PrintOptionError for a text that is not a whole number, leaving the
  // dialog open and the options taken before the bad one in force, or for a value out of
  // its range, changing nothing. The button puts the focus back in the faulty box.
  void RxSpeedButton1Click();
  void RxSpeedButton2Click();

  QGroupBox* GroupBox1;
  QLabel* RxLabel1;
  QLineEdit* CurrencyEdit1;
  QLabel* RxLabel2;
  QLineEdit* CurrencyEdit2;
  QToolButton* RxSpeedButton1;
  QToolButton* RxSpeedButton2;
  QGroupBox* GroupBox2 = nullptr;     // "Перераспределение", with solver options only
  QLineEdit* CurrencyEdit3 = nullptr;  // its search time, in seconds

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TPrintOptions& options_;
  PrintOptionBoxes mainBoxes_;
  ErrorReporter reporter_;
  TSolverOptions* solver_ = nullptr;
  std::function<void()> solverApplied_;
};

}  // namespace velko
