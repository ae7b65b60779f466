#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "crews/crew_answer.h"
#include "levelling/levelling.h"
#include "model/network_model.h"
#include "model/optimisation.h"
#include "reallocation/reallocation.h"
#include "ui/charts/solver_job.h"
#include "ui/late_windows.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;
class QVBoxLayout;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;

namespace velko {

class ChartCanvas;
class LogTableModel;
struct LevellingState;
struct ReallocationState;
struct CrewsState;
struct ChartPicture;

// The window "Графики": the network, the bar chart, the workers profile and the
// optimisation log of one run. The main window hands it each run as a copy of the model
// taken when the run was made, so everything it draws, smooths and saves comes from that
// one run, whatever is opened or edited later. Only the tab shown is made then; the
// others are made when they are first shown after it, so that a large network opens
// quickly.
class TCharts_form : public QWidget {
  Q_OBJECT

 public:
  explicit TCharts_form(QWidget* parent);
  ~TCharts_form() override;

  // The run to show. The same model again only updates the notice about changed data.
  void showRun(const ChartsRun& run);
  const std::vector<OptimisationMove>& optimisationLog() const { return run_.log; }

  // The picture of the tab shown, as export saves it (of the log, its first page).
  ChartPicture currentPicture() const;

  void RadioButton1Toggled(bool checked);
  void ToolButton1Click();  // zoom in
  void ToolButton2Click();  // zoom out
  void ToolButton3Click();  // fit to window
  void ToolButton4Click();  // 100 %
  void Button1Click();      // save the picture (the log: as PDF pages or CSV)
  void Button2Click();      // copy the log
  void CheckBox1Toggled(bool checked);  // "только перемещения"
  void TabWidget1Changed(int index);
  void Button5Click();      // print the picture on sheets
  void FindEditReturn();    // find the event or work typed
  void Button7Click();      // save the calendar plan of the variant shown (charts_form_plan.cpp)

  // The smoothing of the workers profile ("Выравнивание"), in charts_form_levelling.cpp:
  // solved off the user-interface thread, with its progress shown and a cancel button.
  void ToolButton5Click();          // "Выравнивание"
  void Button3Click();              // cancel it
  void Button6Click();              // end it once the peak is final, keeping the best schedule
  void Button4Click();              // copy the shifts
  void CheckBox2Toggled(bool checked);  // "По идентификаторам"
  void Timer1Timer();               // progress while it runs
  const LevellingResult* levellingResult() const { return levelling_ ? &*levelling_ : nullptr; }
  bool levellingRunning() const { return job_ != nullptr; }

  // The reallocation of the run's workers ("Перераспределение"), in
  // charts_form_reallocation.cpp: solved off the user-interface thread like the smoothing.
  void ToolButton7Click();  // "Перераспределение"
  void Button9Click();      // cancel it
  void Timer3Timer();       // its progress
  const ReallocationResult* reallocationResult() const { return reallocation_ ? &*reallocation_ : nullptr; }
  bool reallocationRunning() const { return reallocJob_ != nullptr; }

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
  QLabel* Label4;             // what the run shown is, when it is not that of the data loaded
  QLabel* Label1;             // the log's counts, or why it is empty
  QCheckBox* CheckBox1;       // "только перемещения"
  QPushButton* Button2;       // "Скопировать"
  QRadioButton* RadioButton3;  // "После выравнивания"
  QToolButton* ToolButton5;    // "Выравнивание"
  QCheckBox* CheckBox2;        // "По идентификаторам"
  QProgressBar* ProgressBar1;
  QLabel* Label2;              // the smoothing's progress or outcome
  QPushButton* Button3;        // "Отменить"
  QPushButton* Button6;        // "Готово": the peak is final, evenness is left as it is
  QTableWidget* ShiftsGrid;    // "Сдвиги работ"
  QLabel* Label3;              // above the shifts
  QPushButton* Button4;        // "Скопировать"
  QTimer* Timer1;
  QPushButton* Button5;        // "Печать..."
  QPushButton* Button7;        // "Календарный план..."

  // The crew limits ("Ограничить бригады"), in charts_form_crews.cpp: a panel with the
  // limit of each trade, solved off the user-interface thread like the smoothing; the
  // schedule is the variant "С ограничением бригад".
  void ToolButton6Click();   // "Ограничить бригады"
  void Button8Click();       // cancel it
  void CrewsGridChanged(QTableWidgetItem* item);
  void Timer2Timer();
  const CrewAnswer* crewAnswer() const { return crews_ ? &*crews_ : nullptr; }
  bool crewsRunning() const { return crewsJob_ != nullptr; }
  bool crewsShown() const;   // the variant "С ограничением бригад" is chosen
  QRadioButton* RadioButton4 = nullptr;  // "С ограничением бригад"
  QTableWidget* CrewsGrid;     // Id, works, peaks, the editable limit
  QToolButton* ToolButton6;    // "Ограничить бригады"
  QProgressBar* ProgressBar2;
  QLabel* Label5;              // the run's progress or outcome
  QPushButton* Button8;        // "Отменить"
  QTimer* Timer2;
  long long CrewEffort = 0;    // the engine's steps per run (CrewOptions::effort); 0: its default
  QLineEdit* FindEdit;         // "Найти": an event or a work
  QCheckBox* CheckBox3;        // "В масштабе времени"
  QRadioButton* RadioButton5 = nullptr;  // "После перераспределения"
  QToolButton* ToolButton7;    // "Перераспределение"
  QProgressBar* ProgressBar3;
  QLabel* Label6;              // the reallocation's progress or lengths
  QPushButton* Button9;        // "Отменить" the reallocation
  QTimer* Timer3;

 private:
  static constexpr int kLogTab = 3;  // the tabs by their place
  static constexpr int kShiftsTab = 4;
  const TNetworkModel& model() const;
  int variant() const;
  void nextTab(int step);  // Ctrl+Tab, Ctrl+Shift+Tab wherever the focus is
  void showNotice();
  ChartCanvas* currentCanvas() const;
  QScrollArea* currentScrollArea() const;
  void refreshCurrentTab();
  void refreshLog();
  void createLevellingControls(QHBoxLayout* top, QVBoxLayout* layout);
  void dropLevelling();
  void refreshShifts();
  void createCrewControls(QHBoxLayout* top, QVBoxLayout* layout);
  void dropCrews();          // and the panel back to the run's limits
  void refreshCrewsGrid();
  void crewsFinished();
  void showCrewDelays();     // in the shifts tab
  void levellingFinished();
  void refreshPictures();  // the picture tabs, after a change of what they show
  ChartPicture barChartShown(int variant) const;
  ChartPicture workersShown() const;
  void saveLog(const QString& path) const;
  ChartPicture madeInBackground(const std::function<ChartPicture()>& make);
  void createReallocationControls(QHBoxLayout* top, QVBoxLayout* layout);
  void dropReallocation();
  void reallocationFinished();
  void dropSolvedOnCopy();
  bool reallocationShown() const;
  const TNetworkModel& shownModel() const;  // the model the variant shown is drawn from
  // What a new smoothing or crew limit takes: the model of the variant shown, the
  // reallocated copy or the run.
  std::shared_ptr<const TNetworkModel> solverBase() const;
  bool solvedOnStale(const std::shared_ptr<const TNetworkModel>& run,
                     const std::shared_ptr<const TNetworkModel>& base) const;
  const TNetworkModel& levelledModel() const { return levelledOn_ ? *levelledOn_ : model(); }
  const TNetworkModel& crewsModel() const { return crewsOn_ ? *crewsOn_ : model(); }
  void showMoves();  // the tab "Сдвиги работ" lists the reallocation's moves

  ChartsRun run_;
  LogTableModel* logModel_;
  using LevellingJob = SolverJob<LevellingState>;
  using ReallocationJob = SolverJob<ReallocationState>;
  using CrewsJob = SolverJob<CrewsState>;
  std::shared_ptr<LevellingJob> job_;  // while a smoothing runs
  std::optional<LevellingResult> levelling_;  // of levelledOn_
  std::shared_ptr<const TNetworkModel> levelledOn_;  // run_.model or the reallocated copy
  std::shared_ptr<ReallocationJob> reallocJob_;
  std::optional<ReallocationResult> reallocation_;  // of run_.model
  std::shared_ptr<const TNetworkModel> reallocated_;  // run_.model with n' and t', calculated
  std::shared_ptr<CrewsJob> crewsJob_;  // while the crews are scheduled
  std::optional<CrewAnswer> crews_;     // of crewsOn_
  std::shared_ptr<const TNetworkModel> crewsOn_;  // run_.model or the reallocated copy
  std::map<int, long long> crewLimits_;  // as the panel holds them
  bool stale_[8] = {true, true, true, true, true, true, true, true};  // per tab: made from what the model held before
};

}  // namespace velko
