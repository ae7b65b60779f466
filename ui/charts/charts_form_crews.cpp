// The crew limits in the window "Графики": the panel of the trades and their limits, the
// command "Ограничить бригады" with its progress, and the variant "С ограничением бригад"
// in the bar chart, the profiles and the shifts tab.
#include <atomic>

#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantMap>

#include "crews/crew_answer.h"
#include "model/command_error.h"
#include "ui/charts/chart_calendar.h"
#include "ui/charts/charts_form.h"
#include "ui/charts/crew_pictures.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

constexpr double kCrewsSeconds = 10.0;
constexpr int kBarChartTab = 1;
constexpr int kLimitColumn = 4;

// The main window keeps the limits with its data set; the charts window, in a module of
// its own, finds it among its parents by the method's name.
void keepInDataSet(QWidget* from, const std::map<int, long long>& limits) {
  QVariantMap map;
  for (const auto& [id, limit] : limits) map.insert(QString::number(id), QVariant::fromValue(limit));
  for (QWidget* w = from->parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (w->metaObject()->indexOfMethod("keepCrewLimits(QVariantMap)") < 0) continue;
    QMetaObject::invokeMethod(w, "keepCrewLimits", Q_ARG(QVariantMap, map));
    return;
  }
}

QTableWidgetItem* fixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

struct CrewsState {
  std::atomic<bool> cancel{false};
  std::atomic<long long> best{-1};
  std::atomic<long long> bound{-1};
  CrewAnswer answer;
  std::string error;
};

bool TCharts_form::crewsShown() const { return RadioButton4 != nullptr && RadioButton4->isChecked() && crews_.has_value(); }

void TCharts_form::createCrewControls(QHBoxLayout* top, QVBoxLayout* layout) {
  RadioButton4 = new QRadioButton(QStringLiteral("С ограничением бригад"), this);
  RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
  RadioButton4->setEnabled(false);
  RadioButton4->setToolTip(QStringLiteral("Работы, сдвинутые так, чтобы бригады не превышали своих ограничений"));
  top->insertWidget(top->indexOf(RadioButton3) + 1, RadioButton4);

  auto* box = new QGroupBox(QStringLiteral("Ограничение бригад"), this);
  box->setObjectName(QStringLiteral("CrewsBox"));
  CrewsGrid = new QTableWidget(box);
  CrewsGrid->setObjectName(QStringLiteral("CrewsGrid"));
  CrewsGrid->setColumnCount(5);
  CrewsGrid->setHorizontalHeaderLabels({QStringLiteral("Id"), QStringLiteral("Работ"), QStringLiteral("Пик в ранние"),
                                        QStringLiteral("Пик выровн."), QStringLiteral("Ограничение")});
  CrewsGrid->horizontalHeaderItem(kLimitColumn)
      ->setToolTip(QStringLiteral("Не больше стольких рабочих этого Id одновременно; пусто — без ограничения"));
  CrewsGrid->verticalHeader()->setVisible(false);
  CrewsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  CrewsGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
  ToolButton6 = new QToolButton(box);
  ToolButton6->setObjectName(QStringLiteral("ToolButton6"));
  ToolButton6->setText(QStringLiteral("Ограничить бригады"));
  ToolButton6->setToolTip(QStringLiteral("Найти самое короткое расписание, в котором ни одна бригада не больше своего "
                                         "ограничения"));
  ProgressBar2 = new QProgressBar(box);
  ProgressBar2->setRange(0, 100);
  ProgressBar2->setTextVisible(false);
  Button8 = new QPushButton(QStringLiteral("Отменить"), box);
  Button8->setObjectName(QStringLiteral("Button8"));
  Label5 = new QLabel(box);
  Label5->setObjectName(QStringLiteral("Label5"));
  Label5->setWordWrap(true);
  auto* run = new QHBoxLayout;
  run->addWidget(ToolButton6);
  run->addWidget(ProgressBar2, 1);
  run->addWidget(Button8);
  auto* column = new QVBoxLayout(box);
  column->addWidget(CrewsGrid, 1);
  column->addLayout(run);
  column->addWidget(Label5);
  box->setFixedWidth(400);
  ProgressBar2->hide();
  Button8->hide();

  // The panel beside the tabs, so that it stays in view whichever picture is shown.
  const int at = layout->indexOf(TabWidget1);
  layout->removeWidget(TabWidget1);
  auto* row = new QHBoxLayout;
  row->addWidget(TabWidget1, 1);
  row->addWidget(box);
  layout->insertLayout(at, row, 1);

  Timer2 = new QTimer(this);
  Timer2->setInterval(100);
  connect(ToolButton6, &QToolButton::clicked, this, &TCharts_form::ToolButton6Click);
  connect(Button8, &QPushButton::clicked, this, &TCharts_form::Button8Click);
  connect(CrewsGrid, &QTableWidget::itemChanged, this, &TCharts_form::CrewsGridChanged);
  connect(Timer2, &QTimer::timeout, this, &TCharts_form::Timer2Timer);
  connect(RadioButton4, &QRadioButton::toggled, this, [this](bool) {
    refreshPictures();
    refreshShifts();
    refreshCrewsGrid();
  });
}

void TCharts_form::dropCrews() {
  crews_.reset();
  crewsOn_.reset();
  if (RadioButton4->isChecked()) (model().Optimised == 1 ? RadioButton2 : RadioButton1)->setChecked(true);
  RadioButton4->setEnabled(false);
  Label5->clear();
  crewLimits_ = model().Extras.crewLimits;
  ToolButton6->setEnabled(run_.model != nullptr && !crewsJob_);
  refreshCrewsGrid();
}

void TCharts_form::refreshCrewsGrid() {
  const QSignalBlocker quiet(CrewsGrid);
  std::vector<CrewTradeSummary> trades;
  const std::shared_ptr<const TNetworkModel> base = solverBase();
  if (base) {
    runCommand(this, [&] { trades = crewTradeSummaries(levellingInput(*base)); });
  }
  CrewsGrid->setRowCount(static_cast<int>(trades.size()));
  for (int r = 0; r < static_cast<int>(trades.size()); ++r) {
    const CrewTradeSummary& t = trades[static_cast<std::size_t>(r)];
    CrewsGrid->setItem(r, 0, fixedItem(QString::number(t.id)));
    CrewsGrid->setItem(r, 1, fixedItem(QString::number(t.works)));
    CrewsGrid->setItem(r, 2, fixedItem(QString::number(t.earlyPeak)));
    QString smoothed;
    if (levelling_ && levelledOn_ == base) {
      if (const auto it = levelling_->profileAfterById.find(t.id); it != levelling_->profileAfterById.end()) {
        long long peak = 0;
        for (const ProfileStep& s : it->second) peak = std::max(peak, s.workers);
        smoothed = QString::number(peak);
      }
    }
    CrewsGrid->setItem(r, 3, fixedItem(smoothed));
    const auto limit = crewLimits_.find(t.id);
    auto* item = new QTableWidgetItem(limit == crewLimits_.end() ? QString() : QString::number(limit->second));
    item->setTextAlignment(Qt::AlignCenter);
    item->setData(Qt::UserRole, t.id);
    CrewsGrid->setItem(r, kLimitColumn, item);
  }
  CrewsGrid->resizeColumnsToContents();
}

void TCharts_form::CrewsGridChanged(QTableWidgetItem* item) {
  if (item == nullptr || item->column() != kLimitColumn || !run_.model) return;
  const int id = item->data(Qt::UserRole).toInt();
  // A limit refused changes nothing: the cell goes back to what it held.
  const auto restore = [&] {
    const QSignalBlocker quiet(CrewsGrid);
    const auto limit = crewLimits_.find(id);
    item->setText(limit == crewLimits_.end() ? QString() : QString::number(limit->second));
  };
  bool accepted = false;
  std::optional<long long> limit;
  runCommand(this, [&] {
    limit = parseCrewLimit(id, item->text().toStdString());
    if (limit) checkCrewLimit(levellingInput(*solverBase()), id, *limit);
    accepted = true;
  });
  if (!accepted) return restore();
  const bool changed = limit ? crewLimits_[id] != *limit : crewLimits_.erase(id) > 0;
  if (limit) crewLimits_[id] = *limit;
  const QSignalBlocker quiet(CrewsGrid);
  item->setText(limit ? QString::number(*limit) : QString());
  keepInDataSet(this, crewLimits_);
  // The schedule shown stays, but says that it was made under other limits.
  if (crews_ && changed) {
    Label5->setText(crewSummaryText(*crews_) +
                    QStringLiteral("\nОграничения изменены: показан расчет с прежними, нажмите «Ограничить бригады»"));
  }
}

void TCharts_form::ToolButton6Click() {
  if (crewsJob_) return;
  runCommand(this, [this] {
    const std::shared_ptr<const TNetworkModel> base = solverBase();
    LevellingInput input = levellingInput(*base);
    // Refused here, on this thread, before anything changes.
    auto plan = std::make_shared<const CrewPlanProblem>(crewPlanProblem(input, crewLimits_));
    auto job = std::make_shared<CrewsJob>();
    job->model = run_.model;
    job->base = base;
    job->start(this, &TCharts_form::crewsFinished,
               [plan, input = std::move(input), effort = CrewEffort](CrewsState& state) {
                 CrewOptions options;
                 options.effort = effort;
                 options.timeLimitSeconds = kCrewsSeconds;
                 options.cancel = &state.cancel;
                 options.progress = [&state](const CrewProgress& p) {
                   state.best = p.bestMakespan;
                   state.bound = p.bound;
                 };
                 state.answer = velko::crewAnswer(input, *plan, solveCrews(plan->problem, options));
               });
    crewsJob_ = std::move(job);
  });
  if (!crewsJob_) return;
  ToolButton6->setEnabled(false);
  ProgressBar2->setValue(0);
  ProgressBar2->show();
  Button8->show();
  Label5->setText(QStringLiteral("Ограничение бригад: поиск самого короткого расписания…"));
  Timer2->start();
}

void TCharts_form::Timer2Timer() {
  if (!crewsJob_) return;
  ProgressBar2->setValue(std::min(100, static_cast<int>(crewsJob_->elapsedSeconds() / kCrewsSeconds * 100)));
}

void TCharts_form::Button8Click() {
  if (crewsJob_) crewsJob_->state->cancel = true;
}

void TCharts_form::crewsFinished() {
  Timer2->stop();
  ProgressBar2->hide();
  Button8->hide();
  ToolButton6->setEnabled(run_.model != nullptr);
  if (!crewsJob_) return;
  const std::shared_ptr<CrewsJob> job = std::move(crewsJob_);
  job->release();
  if (!job->state->error.empty()) {
    Label5->clear();
    runCommand(this, [&] { throw CommandError(job->state->error); });
    return;
  }
  if (job->state->answer.cancelled || solvedOnStale(job->model, job->base)) {
    Label5->setText(job->state->answer.cancelled ? QStringLiteral("Ограничение бригад отменено")
                                                 : QStringLiteral("Ограничение бригад устарело: данные пересчитаны"));
    return;
  }
  crews_ = std::move(job->state->answer);
  crewsOn_ = job->base;
  Label5->setText(crewSummaryText(*crews_));
  RadioButton1->setEnabled(true);
  RadioButton4->setEnabled(true);
  if (RadioButton4->isChecked()) {
    refreshPictures();
    refreshShifts();
  } else {
    RadioButton4->setChecked(true);
  }
  if (TabWidget1->currentIndex() == 0 || TabWidget1->currentIndex() == 3) TabWidget1->setCurrentIndex(kBarChartTab);
}

void TCharts_form::showCrewDelays() {
  const auto calendar = chartCalendar(model());
  const WorkingDays* dates = calendar ? &*calendar : nullptr;
  const std::vector<QStringList> rows = crewDelayRows(*crews_, dates);
  const QStringList headers = crewDelayHeaders(dates != nullptr);
  ShiftsGrid->clear();
  ShiftsGrid->setColumnCount(static_cast<int>(headers.size()));
  ShiftsGrid->setHorizontalHeaderLabels(headers);
  ShiftsGrid->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const QStringList& row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < row.size(); ++c) {
      auto* item = new QTableWidgetItem(row[c]);
      item->setTextAlignment(c + 1 == row.size() ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
      if (c == 5) item->setForeground(kDelayColour.darker(130));
      ShiftsGrid->setItem(r, c, item);
    }
  }
  ShiftsGrid->resizeColumnsToContents();
  Label3->setText(crewDelaysMessage(*crews_));
  Button4->setEnabled(!rows.empty());
}

}  // namespace velko
