#pragma once

#include <vector>

#include <QWidget>

#include "model/network_model.h"
#include "model/optimisation.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTableView;
class QToolButton;

namespace velko {

class ChartCanvas;
class LogTableModel;
struct ChartPicture;

// The window "Графики": the network, the bar chart, the workers profile and the
// optimisation log of the last run. Reads the model in FormActivate, which runs on
// every activation of the window, as in the other secondary windows; the main window
// hands it the log of each run. Only the tab shown is made then; the others are made
// when they are first shown after it, so that a large network opens quickly.
class TCharts_form : public QWidget {
  Q_OBJECT

 public:
  TCharts_form(QWidget* parent, const TNetworkModel& model);

  void setOptimisationLog(std::vector<OptimisationMove> moves);
  const std::vector<OptimisationMove>& optimisationLog() const { return log_; }

  // The picture of the tab shown, as export saves it (of the log, its first page).
  ChartPicture currentPicture() const;

  void FormActivate();
  void RadioButton1Toggled(bool checked);
  void ToolButton1Click();  // zoom in
  void ToolButton2Click();  // zoom out
  void ToolButton3Click();  // fit to window
  void ToolButton4Click();  // 100 %
  void Button1Click();      // save the picture (the log: as PDF pages or CSV)
  void Button2Click();      // copy the log
  void TabWidget1Changed(int index);

  QRadioButton* RadioButton1;  // "До оптимизации"
  QRadioButton* RadioButton2;  // "После оптимизации"
  QToolButton* ToolButton1;
  QToolButton* ToolButton2;
  QToolButton* ToolButton3;
  QToolButton* ToolButton4;
  QPushButton* Button1;
  QTabWidget* TabWidget1;
  QScrollArea* ScrollArea1;
  QScrollArea* ScrollArea2;
  QScrollArea* ScrollArea3;
  ChartCanvas* ChartCanvas1;  // network
  ChartCanvas* ChartCanvas2;  // bar chart
  ChartCanvas* ChartCanvas3;  // workers
  QTableView* LogGrid;
  QLabel* Label1;             // shown instead of an empty log
  QPushButton* Button2;       // "Скопировать"

 private:
  int variant() const;
  ChartCanvas* currentCanvas() const;
  QScrollArea* currentScrollArea() const;
  void refreshCurrentTab();
  void refreshLog();
  void saveLog(const QString& path) const;

  const TNetworkModel& model_;
  std::vector<OptimisationMove> log_;
  LogTableModel* logModel_;
  bool wasOptimised_ = false;
  bool stale_[4] = {true, true, true, true};  // per tab: made from what the model held before
};

}  // namespace velko
