// The smoothing of the workers profile in the window "Графики": the command
// "Выравнивание", its progress, the third curve, the smoothed bars and the tab
// "Сдвиги работ".
#include <atomic>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/command_error.h"
#include "ui/charts/chart_pictures.h"
#include "ui/charts/charts_form.h"
#include "ui/charts/chart_calendar.h"
#include "ui/charts/crew_pictures.h"
#include "ui/charts/levelling_pictures.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

constexpr double kLevellingSeconds = 2.0;
constexpr int kWorkersTab = 2;

}  // namespace

// What the solving thread and the window share; the thread holds it too, so the
// window may go while a solve finishes.
struct LevellingState {
  std::atomic<bool> cancel{false};
  std::atomic<bool> done{false};  // "Готово": the cancel keeps the schedule with the final peak
  std::atomic<long long> peak{-1};
  std::atomic<long long> bound{-1};
  std::atomic<int> phase{1};
  LevellingResult result;
  std::string error;  // what stopped the solve, if anything did
};

// The jobs still running are cancelled and waited for as they go.
TCharts_form::~TCharts_form() = default;

void TCharts_form::createLevellingControls(QHBoxLayout* top, QVBoxLayout* layout) {
  RadioButton3 = new QRadioButton(QStringLiteral("После выравнивания"), this);
  RadioButton3->setEnabled(false);
  RadioButton3->setToolTip(QStringLiteral("Линейный график со сдвигами работ после выравнивания"));
  top->insertWidget(top->indexOf(RadioButton2) + 1, RadioButton3);
  ToolButton5 = new QToolButton(this);
  ToolButton5->setText(QStringLiteral("Выравнивание"));
  ToolButton5->setToolTip(QStringLiteral("Сдвинуть работы в пределах резервов так, чтобы пик численности рабочих был "
                                         "наименьшим, а движение рабочих — самым ровным"));
  CheckBox2 = new QCheckBox(QStringLiteral("По идентификаторам"), this);
  CheckBox2->setToolTip(QStringLiteral("Движение рабочих отдельно для каждого Id (профессии)"));
  const int at = top->indexOf(ToolButton4) + 1;
  top->insertSpacing(at, 24);
  top->insertWidget(at + 1, ToolButton5);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFixedWidth(160);
  Label2 = new QLabel(this);
  Button3 = new QPushButton(QStringLiteral("Отменить"), this);
  Button3->setToolTip(QStringLiteral("Прервать выравнивание"));
  Button6 = new QPushButton(QStringLiteral("Готово"), this);
  Button6->setToolTip(QStringLiteral("Пик уже окончательный: остановить выравнивание равномерности и взять лучшее "
                                     "найденное расписание"));
  // The view switches of the network and the profile, the search, then the smoothing's
  // progress or outcome.
  auto* status = new QHBoxLayout;
  status->addWidget(CheckBox3);
  status->addSpacing(16);
  status->addWidget(CheckBox2);
  status->addSpacing(16);
  status->addWidget(FindEdit);
  status->addSpacing(24);
  status->addWidget(ProgressBar1);
  status->addWidget(Label2, 1);
  status->addWidget(Button6);
  status->addWidget(Button3);
  layout->insertLayout(1, status);
  ProgressBar1->hide();
  Button3->hide();
  Button6->hide();
  Label2->hide();

  auto* page = new QWidget(TabWidget1);
  Label3 = new QLabel(page);
  Label3->setWordWrap(true);
  ShiftsGrid = new QTableWidget(page);
  ShiftsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ShiftsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  ShiftsGrid->verticalHeader()->setVisible(false);
  ShiftsGrid->setAlternatingRowColors(true);
  Button4 = new QPushButton(QStringLiteral("Скопировать"), page);
  Button4->setToolTip(QStringLiteral("Скопировать таблицу сдвигов в буфер обмена (через табуляцию)"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Label3, 1);
  buttons->addWidget(Button4);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->addLayout(buttons);
  pageLayout->addWidget(ShiftsGrid, 1);
  TabWidget1->addTab(page, QStringLiteral("Сдвиги работ"));

  Timer1 = new QTimer(this);
  Timer1->setInterval(100);
  connect(ToolButton5, &QToolButton::clicked, this, &TCharts_form::ToolButton5Click);
  connect(Button3, &QPushButton::clicked, this, &TCharts_form::Button3Click);
  connect(Button6, &QPushButton::clicked, this, &TCharts_form::Button6Click);
  connect(Button4, &QPushButton::clicked, this, &TCharts_form::Button4Click);
  connect(CheckBox2, &QCheckBox::toggled, this, &TCharts_form::CheckBox2Toggled);
  connect(RadioButton3, &QRadioButton::toggled, this, [this](bool) {
    refreshPictures();
    refreshCrewsGrid();
  });
  connect(Timer1, &QTimer::timeout, this, &TCharts_form::Timer1Timer);
  refreshShifts();
}

ChartPicture TCharts_form::barChartShown(int v) const {
  if (crewsShown()) return crewBarChartPicture(crewsModel(), *crews_);
  if (RadioButton3->isChecked() && levelling_) return levelledBarChartPicture(levelledModel(), *levelling_);
  return barChartPicture(shownModel(), v);
}

ChartPicture TCharts_form::workersShown() const {
  if (crewsShown()) return crewProfilesPicture(*crews_);
  // The smoothing is drawn over the variant it started from, whichever is chosen of
  // those it belongs with.
  if (levelling_ && (RadioButton3->isChecked() || reallocationShown() == (levelledOn_ == reallocated_))) {
    return CheckBox2->isChecked() ? idProfilesPicture(levelledModel(), &*levelling_)
                                  : levelledProfilePicture(levelledModel(), *levelling_);
  }
  const TNetworkModel& shown = shownModel();
  return CheckBox2->isChecked() ? idProfilesPicture(shown, nullptr) : profilePicture(shown);
}

void TCharts_form::dropLevelling() {
  if (!levelling_) return;
  levelling_.reset();
  levelledOn_.reset();
  if (RadioButton3->isChecked()) (model().Optimised == 1 ? RadioButton2 : RadioButton1)->setChecked(true);
  RadioButton1->setEnabled(model().Optimised == 1 || reallocation_);
  RadioButton3->setEnabled(false);
  Label2->hide();
  refreshShifts();
  refreshPictures();
  refreshCrewsGrid();
}

void TCharts_form::refreshShifts() {
  if (crewsShown()) return showCrewDelays();
  if (reallocationShown()) return showMoves();
  const LevellingResult* result = levellingResult();
  QString calendarProblem;
  const auto calendar = chartCalendar(model(), &calendarProblem);
  const WorkingDays* dates = calendar ? &*calendar : nullptr;
  const std::vector<QStringList> rows = result ? shiftRows(*result, dates) : std::vector<QStringList>{};
  const QStringList headers = shiftHeaders(dates != nullptr);
  ShiftsGrid->clear();
  ShiftsGrid->setColumnCount(static_cast<int>(headers.size()));
  ShiftsGrid->setHorizontalHeaderLabels(headers);
  ShiftsGrid->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const QStringList& row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < row.size(); ++c) {
      auto* item = new QTableWidgetItem(row[c]);
      item->setTextAlignment(Qt::AlignCenter);
      if (c == 5) item->setForeground(kLevelledColour.darker(130));
      ShiftsGrid->setItem(r, c, item);
    }
  }
  ShiftsGrid->resizeColumnsToContents();
  Label3->setText(calendarProblem.isEmpty() ? shiftsMessage(result)
                                           : shiftsMessage(result) + QStringLiteral("\nДаты не показаны: ") + calendarProblem);
  Button4->setEnabled(!rows.empty());
}

void TCharts_form::ToolButton5Click() {
  if (job_) return;
  runCommand(this, [this] {
    auto job = std::make_shared<LevellingJob>();
    job->model = run_.model;
    job->base = solverBase();
    job->start(this, &TCharts_form::levellingFinished, [input = levellingInput(*job->base)](LevellingState& state) {
      LevellingOptions options;
      options.effortSeconds = kLevellingSeconds;
      options.cancel = &state.cancel;
      options.progress = [&state](const LevellingProgress& p) {
        state.peak = p.bestPeak;
        state.bound = p.bound;
        state.phase = p.phase;
      };
      state.result = levelWorkers(input, options);
    });
    job_ = std::move(job);
  });
  if (!job_) return;
  ToolButton5->setEnabled(false);
  ProgressBar1->setValue(0);
  ProgressBar1->show();
  Button3->show();
  Label2->setText(QStringLiteral("Выравнивание: поиск наименьшего пика…"));
  Label2->show();
  Timer1->start();
}

void TCharts_form::Timer1Timer() {
  if (!job_) return;
  ProgressBar1->setValue(std::min(100, static_cast<int>(job_->elapsedSeconds() / kLevellingSeconds * 100)));
  const LevellingState& s = *job_->state;
  if (s.peak < 0) return;
  Label2->setText(s.phase == 1 ? QStringLiteral("Выравнивание: лучший пик %1 чел., нижняя граница %2…")
                                     .arg(s.peak.load())
                                     .arg(s.bound.load())
                               : QStringLiteral("Пик %1 чел. окончательный, выравнивается равномерность…")
                                     .arg(s.peak.load()));
  // Once the peak is final, what is left only evens the profile out: the user may stop
  // there and keep the schedule found so far.
  Button6->setVisible(s.phase == 2);
}

void TCharts_form::Button3Click() {
  if (job_) job_->state->cancel = true;
}

void TCharts_form::Button6Click() {
  if (!job_) return;
  job_->state->done = true;
  job_->state->cancel = true;
}

void TCharts_form::levellingFinished() {
  Timer1->stop();
  ProgressBar1->hide();
  Button3->hide();
  Button6->hide();
  ToolButton5->setEnabled(run_.model != nullptr);
  if (!job_) return;
  const std::shared_ptr<LevellingJob> job = std::move(job_);
  job->release();
  if (!job->state->error.empty()) {
    Label2->hide();
    runCommand(this, [&] { throw CommandError(job->state->error); });
    return;
  }
  // A cancelled smoothing, or one of a run replaced meanwhile, is dropped. So is the
  // smoothing shown before a cancelled one: left on screen it would read as the outcome.
  // "Готово" after the peak was proven keeps the schedule: only its evenness was cut short.
  const bool finishedEarly = job->state->done && job->state->result.proven;
  if ((job->state->result.cancelled && !finishedEarly) || solvedOnStale(job->model, job->base)) {
    const bool cancelled = job->state->result.cancelled;
    if (cancelled) dropLevelling();
    Label2->setText(cancelled ? QStringLiteral("Выравнивание отменено") : QStringLiteral("Выравнивание устарело: данные пересчитаны"));
    Label2->show();
    return;
  }
  levelling_ = std::move(job->state->result);
  levelledOn_ = job->base;
  refreshCrewsGrid();  // the smoothed peaks
  Label2->setText(levellingSummary(*levelling_));
  RadioButton1->setEnabled(true);
  RadioButton3->setEnabled(true);
  RadioButton3->setChecked(true);
  refreshPictures();
  refreshShifts();
  if (TabWidget1->currentIndex() != 1 && TabWidget1->currentIndex() != 4) TabWidget1->setCurrentIndex(kWorkersTab);
}

void TCharts_form::Button4Click() {
  if (reallocationShown()) {
    QStringList lines;
    for (const ReallocationMove& move : reallocation_->moves) lines << QString::fromStdString(moveText(move));
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    return;
  }
  const auto calendar = chartCalendar(model());
  if (crewsShown()) return QGuiApplication::clipboard()->setText(crewDelaysText(*crews_, calendar ? &*calendar : nullptr));
  if (levelling_) QGuiApplication::clipboard()->setText(shiftsText(*levelling_, calendar ? &*calendar : nullptr));
}

void TCharts_form::CheckBox2Toggled(bool) { refreshPictures(); }

}  // namespace velko
