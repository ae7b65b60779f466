// The reallocation of the run's workers in the window "Графики": the command
// "Перераспределение", its progress, and its answer shown as a variant of its own.
#include <algorithm>
#include <atomic>
#include <memory>

#include <QHBoxLayout>
#include <QLocale>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStringList>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/command_error.h"
#include "model/time_parameters.h"
#include "ui/charts/charts_form.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

// The core's numbers have a decimal point; the window shows the user's own.
QString shownNumber(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString lengthsText(const ReallocationResult& r) {
  QString text = QStringLiteral("Длина %1 -> %2 (одним проходом: %3), ")
                     .arg(shownNumber(r.lengthBeforeText), shownNumber(r.lengthAfterText),
                          shownNumber(r.lengthOnePassText));
  text += r.proven ? QStringLiteral("минимум доказан") : QStringLiteral("нижняя граница %1").arg(shownNumber(r.lowerBoundText));
  return text;
}

QString workText(int I, int J) { return QStringLiteral("%1-%2").arg(I).arg(J); }

}  // namespace

struct ReallocationState {
  std::atomic<bool> cancel{false};
  std::atomic<double> bestLength{-1};
  std::atomic<double> bound{-1};
  double seconds = kDefaultReallocationSeconds;  // its time limit; it may stop earlier on its effort
  ReallocationResult result;
  std::string error;
};

void TCharts_form::createReallocationControls(QHBoxLayout* top, QVBoxLayout* layout) {
  RadioButton5 = new QRadioButton(QStringLiteral("После перераспределения"), this);
  RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
  RadioButton5->setEnabled(false);
  RadioButton5->setToolTip(QStringLiteral("Сеть с рабочими, перераспределенными между работами каждого Id"));
  top->insertWidget(top->indexOf(RadioButton3) + 1, RadioButton5);
  ToolButton7 = new QToolButton(this);
  ToolButton7->setObjectName(QStringLiteral("ToolButton7"));
  ToolButton7->setText(QStringLiteral("Перераспределение"));
  ToolButton7->setToolTip(QStringLiteral("Распределить тех же рабочих каждого Id между его работами так, чтобы "
                                         "критический путь был самым коротким"));
  top->insertWidget(top->indexOf(ToolButton5) + 1, ToolButton7);

  ProgressBar3 = new QProgressBar(this);
  ProgressBar3->setRange(0, 100);
  ProgressBar3->setTextVisible(false);
  ProgressBar3->setFixedWidth(160);
  Label6 = new QLabel(this);
  Label6->setObjectName(QStringLiteral("Label6"));
  Label6->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Button9 = new QPushButton(QStringLiteral("Отменить"), this);
  Button9->setToolTip(QStringLiteral("Прервать перераспределение"));
  auto* row = new QHBoxLayout;
  row->addWidget(ProgressBar3);
  row->addWidget(Label6, 1);
  row->addWidget(Button9);
  layout->insertLayout(2, row);
  ProgressBar3->hide();
  Label6->hide();
  Button9->hide();

  Timer3 = new QTimer(this);
  Timer3->setInterval(100);
  connect(ToolButton7, &QToolButton::clicked, this, &TCharts_form::ToolButton7Click);
  connect(Button9, &QPushButton::clicked, this, &TCharts_form::Button9Click);
  connect(Timer3, &QTimer::timeout, this, &TCharts_form::Timer3Timer);
  connect(RadioButton5, &QRadioButton::toggled, this, [this](bool) {
    refreshPictures();
    refreshShifts();
    refreshCrewsGrid();  // its peaks are of the variant the next run takes
  });
}

bool TCharts_form::reallocationShown() const {
  return RadioButton5 && RadioButton5->isChecked() && reallocated_ && reallocation_;
}

const TNetworkModel& TCharts_form::shownModel() const {
  const std::shared_ptr<const TNetworkModel> base = solverBase();
  return base ? *base : model();
}

std::shared_ptr<const TNetworkModel> TCharts_form::solverBase() const {
  if (RadioButton3->isChecked() && levelling_ && levelledOn_) return levelledOn_;
  if (crewsShown() && crewsOn_) return crewsOn_;
  return reallocationShown() ? reallocated_ : run_.model;
}

// A result is stale once its run is replaced, or the reallocated copy it was found on.
bool TCharts_form::solvedOnStale(const std::shared_ptr<const TNetworkModel>& run,
                                 const std::shared_ptr<const TNetworkModel>& base) const {
  return run != run_.model || (base != run_.model && base != reallocated_);
}

void TCharts_form::dropReallocation() {
  if (!reallocation_ && !reallocated_) return;
  dropSolvedOnCopy();
  const bool shown = reallocationShown();
  reallocation_.reset();
  reallocated_.reset();
  if (shown) (model().Optimised == 1 ? RadioButton2 : RadioButton1)->setChecked(true);
  RadioButton1->setEnabled(model().Optimised == 1 || levelling_);
  RadioButton5->setEnabled(false);
  Label6->hide();
  refreshShifts();
  refreshPictures();
}

// The smoothing and crew limits found on a reallocated copy go with it.
void TCharts_form::dropSolvedOnCopy() {
  if (!reallocated_) return;
  if (levelledOn_ == reallocated_) dropLevelling();
  if (crewsOn_ == reallocated_) dropCrews();
}

void TCharts_form::ToolButton7Click() {
  if (reallocJob_) return;
  runCommand(this, [this] {
    auto job = std::make_shared<ReallocationJob>();
    job->model = run_.model;
    job->state->seconds = run_.reallocationSeconds;
    job->start(this, &TCharts_form::reallocationFinished, [input = reallocationInput(model())](ReallocationState& state) {
      ReallocationOptions options;
      options.timeLimitSeconds = state.seconds;
      options.cancel = &state.cancel;
      options.progress = [&state](const ReallocationProgress& p) {
        state.bestLength = static_cast<double>(p.bestLength);
        state.bound = static_cast<double>(p.bound);
      };
      state.result = reallocateWorkers(input, options);
    });
    reallocJob_ = std::move(job);
  });
  if (!reallocJob_) return;
  ToolButton7->setEnabled(false);
  ProgressBar3->setValue(0);
  ProgressBar3->show();
  Button9->show();
  Label6->setText(QStringLiteral("Перераспределение: поиск самой короткой длины…"));
  Label6->setToolTip(QString());
  Label6->show();
  Timer3->start();
}

void TCharts_form::Timer3Timer() {
  if (!reallocJob_) return;
  const ReallocationState& s = *reallocJob_->state;
  ProgressBar3->setValue(std::min(100, static_cast<int>(reallocJob_->elapsedSeconds() / s.seconds * 100)));
  if (s.bestLength < 0) return;
  Label6->setText(QStringLiteral("Перераспределение: лучшая длина %1, нижняя граница %2…")
                      .arg(QLocale().toString(s.bestLength.load(), 'g', 10), QLocale().toString(s.bound.load(), 'g', 10)));
}

void TCharts_form::Button9Click() {
  if (reallocJob_) reallocJob_->state->cancel = true;
}

void TCharts_form::reallocationFinished() {
  Timer3->stop();
  ProgressBar3->hide();
  Button9->hide();
  ToolButton7->setEnabled(run_.model != nullptr);
  if (!reallocJob_) return;
  const std::shared_ptr<ReallocationJob> job = std::move(reallocJob_);
  job->release();
  if (!job->state->error.empty()) {
    Label6->hide();
    runCommand(this, [&] { throw CommandError(job->state->error); });
    return;
  }
  // A cancelled reallocation, or one of a run replaced meanwhile, is not shown; neither
  // is the one shown before a cancelled one, which would read as the outcome.
  if (job->state->result.cancelled || job->model != run_.model) {
    const bool cancelled = job->state->result.cancelled;
    if (cancelled) dropReallocation();
    Label6->setText(cancelled ? QStringLiteral("Перераспределение отменено")
                              : QStringLiteral("Перераспределение устарело: данные пересчитаны"));
    Label6->show();
    return;
  }
  std::shared_ptr<const TNetworkModel> copy;
  if (!runCommand(this, [&] { copy = reallocatedModel(*job->model, job->state->result); })) return;
  dropSolvedOnCopy();
  reallocation_ = std::move(job->state->result);
  reallocated_ = std::move(copy);
  Label6->setText(lengthsText(*reallocation_));
  QStringList moves;
  for (const ReallocationMove& move : reallocation_->moves) moves << QString::fromStdString(moveText(move));
  Label6->setToolTip(moves.isEmpty() ? QStringLiteral("Перемещений нет") : moves.join(QLatin1Char('\n')));
  RadioButton1->setEnabled(true);
  RadioButton5->setEnabled(true);
  RadioButton5->setChecked(true);
  refreshPictures();
  refreshShifts();
}

void TCharts_form::showMoves() {
  const QStringList headers = {QStringLiteral("Id"), QStringLiteral("Рабочих"), QStringLiteral("С работы"),
                               QStringLiteral("На работу")};
  const std::vector<ReallocationMove>& moves = reallocation_->moves;
  ShiftsGrid->clear();
  ShiftsGrid->setColumnCount(static_cast<int>(headers.size()));
  ShiftsGrid->setHorizontalHeaderLabels(headers);
  ShiftsGrid->setRowCount(static_cast<int>(moves.size()));
  for (int r = 0; r < static_cast<int>(moves.size()); ++r) {
    const ReallocationMove& m = moves[static_cast<std::size_t>(r)];
    const QStringList row = {QString::number(m.id), QString::number(m.count), workText(m.fromI, m.fromJ),
                             m.toI == 0 ? QStringLiteral("остаются свободными") : workText(m.toI, m.toJ)};
    for (int c = 0; c < row.size(); ++c) {
      auto* item = new QTableWidgetItem(row[c]);
      item->setTextAlignment(Qt::AlignCenter);
      ShiftsGrid->setItem(r, c, item);
    }
  }
  ShiftsGrid->resizeColumnsToContents();
  Label3->setText(moves.empty() ? QStringLiteral("Перераспределение никого не переместило")
                                : QStringLiteral("Перемещения рабочих при перераспределении (изменено работ: %1)")
                                      .arg(reallocation_->changedWorks));
  Button4->setEnabled(!moves.empty());
}

}  // namespace velko
