#include "ui/charts/charts_form.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/command_error.h"
#include "ui/charts/chart_canvas.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/chart_pictures.h"
#include "ui/charts/chart_calendar.h"
#include "ui/charts/levelling_pictures.h"
#include "ui/charts/log_table_model.h"
#include "ui/charts/optimisation_log.h"
#include "ui/background_command.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

constexpr double kZoomStep = 1.25;

QScrollArea* scrolled(ChartCanvas* canvas, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setWidget(canvas);
  area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  area->setBackgroundRole(QPalette::Dark);
  // A scroll moves the pixels already drawn, the sticky band with them: drawn anew.
  QObject::connect(area->verticalScrollBar(), &QScrollBar::valueChanged, canvas, [canvas] {
    if (canvas->picture().stickyHeight > 0) canvas->update();
  });
  QObject::connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, canvas, [canvas] {
    if (canvas->picture().stickyWidth > 0) canvas->update();
  });
  return area;
}

QToolButton* toolButton(const QString& text, const QString& hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(hint);
  return button;
}

// A picture, or the refusal's text in its place: the window keeps working.
ChartPicture pictureOrMessage(const std::function<ChartPicture()>& make) {
  try {
    return make();
  } catch (const CommandError& error) {
    return messagePicture(QString::fromStdString(error.what()));
  }
}

}  // namespace

TCharts_form::TCharts_form(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Charts_form"));
  setWindowTitle(QStringLiteral("Графики"));
  resize(1100, 760);

  RadioButton1 = new QRadioButton(QStringLiteral("До оптимизации"), this);
  RadioButton2 = new QRadioButton(QStringLiteral("После оптимизации"), this);
  RadioButton1->setChecked(true);
  ToolButton1 = toolButton(QStringLiteral("Крупнее"), QStringLiteral("Увеличить рисунок"), this);
  ToolButton2 = toolButton(QStringLiteral("Мельче"), QStringLiteral("Уменьшить рисунок"), this);
  ToolButton3 = toolButton(QStringLiteral("По размеру окна"), QStringLiteral("Показать рисунок целиком"), this);
  ToolButton4 = toolButton(QStringLiteral("100 %"), QStringLiteral("Натуральный размер"), this);
  Button1 = new QPushButton(QStringLiteral("Сохранить рисунок..."), this);
  Button1->setToolTip(QStringLiteral("Сохранить рисунок вкладки в PNG, SVG или PDF"));

  auto* top = new QHBoxLayout;
  top->addWidget(RadioButton1);
  top->addWidget(RadioButton2);
  top->addWidget(ToolButton1);
  top->addWidget(ToolButton2);
  top->addWidget(ToolButton3);
  top->addWidget(ToolButton4);
  CheckBox3 = new QCheckBox(QStringLiteral("В масштабе времени"), this);
  CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
  CheckBox3->setToolTip(QStringLiteral("Сетевой график в масштабе времени: события в их ранние сроки, работы — "
                                       "отрезки своей продолжительности, критический путь — верхняя полоса"));
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  FindEdit->setPlaceholderText(QStringLiteral("Найти: 12 или 12-15"));
  FindEdit->setToolTip(QStringLiteral("Найти на рисунке событие (номер) или работу (I-J) и показать ее; Enter"));
  FindEdit->setClearButtonEnabled(true);
  FindEdit->setMinimumWidth(150);
  FindEdit->setMaximumWidth(190);
  Button5 = new QPushButton(QStringLiteral("Печать..."), this);
  Button5->setToolTip(QStringLiteral("Напечатать рисунок вкладки; большой — по листам, с обзорным листом"));
  Button7 = new QPushButton(QStringLiteral("Календарный план..."), this);
  Button7->setObjectName(QStringLiteral("Button7"));
  Button7->setToolTip(QStringLiteral("Сохранить работы показанного варианта с датами начала и окончания в CSV или PDF"));
  top->addStretch(1);
  top->addWidget(Button7);
  top->addWidget(Button5);
  top->addWidget(Button1);

  TabWidget1 = new QTabWidget(this);
  ChartCanvas1 = new ChartCanvas;
  ChartCanvas2 = new ChartCanvas;
  ChartCanvas3 = new ChartCanvas;
  ScrollArea1 = scrolled(ChartCanvas1, TabWidget1);
  ScrollArea2 = scrolled(ChartCanvas2, TabWidget1);
  ScrollArea3 = scrolled(ChartCanvas3, TabWidget1);
  TabWidget1->addTab(ScrollArea1, QStringLiteral("Сетевой график"));
  TabWidget1->addTab(ScrollArea2, QStringLiteral("Линейный график"));
  TabWidget1->addTab(ScrollArea3, QStringLiteral("Движение рабочих"));

  auto* logPage = new QWidget(TabWidget1);
  Label1 = new QLabel(logPage);
  LogGrid = new QTableView(logPage);
  logModel_ = new LogTableModel(LogGrid);
  LogGrid->setModel(logModel_);
  LogGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LogGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  LogGrid->verticalHeader()->setVisible(false);
  LogGrid->setAlternatingRowColors(true);
  CheckBox1 = new QCheckBox(QStringLiteral("только перемещения"), logPage);
  CheckBox1->setToolTip(QStringLiteral("Скрыть доноров, которые никого не отдали (d = 0)"));
  Button2 = new QPushButton(QStringLiteral("Скопировать"), logPage);
  Button2->setToolTip(QStringLiteral("Скопировать журнал в буфер обмена (через табуляцию)"));
  auto* logButtons = new QHBoxLayout;
  logButtons->addWidget(Label1, 1);
  logButtons->addWidget(CheckBox1);
  logButtons->addWidget(Button2);
  auto* logLayout = new QVBoxLayout(logPage);
  logLayout->addLayout(logButtons);
  logLayout->addWidget(LogGrid, 1);
  TabWidget1->addTab(logPage, QStringLiteral("Журнал оптимизации"));

  Label4 = new QLabel(this);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label4->setWordWrap(true);
  Label4->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; border: 1px solid #d9b84a; padding: 4px; }"));
  Label4->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label4);
  layout->addLayout(top);
  layout->addWidget(TabWidget1, 1);
  createLevellingControls(top, layout);
  createReallocationControls(top, layout);
  createCrewControls(top, layout);
  // The variants get a row of their own: beside the commands they made the window wider
  // than a common screen.
  auto* variants = new QHBoxLayout;
  for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5}) {
    if (button == nullptr) continue;
    top->removeWidget(button);
    variants->addWidget(button);
  }
  variants->addStretch(1);
  layout->insertLayout(layout->indexOf(Label4) + 1, variants);

  connect(RadioButton1, &QRadioButton::toggled, this, &TCharts_form::RadioButton1Toggled);
  connect(ToolButton1, &QToolButton::clicked, this, &TCharts_form::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TCharts_form::ToolButton2Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TCharts_form::ToolButton3Click);
  connect(ToolButton4, &QToolButton::clicked, this, &TCharts_form::ToolButton4Click);
  connect(Button1, &QPushButton::clicked, this, &TCharts_form::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TCharts_form::Button2Click);
  connect(Button5, &QPushButton::clicked, this, &TCharts_form::Button5Click);
  connect(Button7, &QPushButton::clicked, this, &TCharts_form::Button7Click);
  connect(FindEdit, &QLineEdit::returnPressed, this, &TCharts_form::FindEditReturn);
  connect(CheckBox3, &QCheckBox::toggled, this, [this] {
    stale_[0] = true;
    refreshCurrentTab();
  });
  connect(CheckBox1, &QCheckBox::toggled, this, &TCharts_form::CheckBox1Toggled);
  connect(TabWidget1, &QTabWidget::currentChanged, this, &TCharts_form::TabWidget1Changed);
  // QTabWidget turns its pages with Ctrl+Tab only while the focus is inside it.
  const auto shortcut = [this](QKeySequence keys, auto handler) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { nextTab(1); });
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { nextTab(-1); });
  showRun({});
}

const TNetworkModel& TCharts_form::model() const {
  static const TNetworkModel none;
  return run_.model ? *run_.model : none;
}

void TCharts_form::showRun(const ChartsRun& run) {
  const bool same = run.model == run_.model;
  run_.dataChanged = run.dataChanged;
  run_.reallocationSeconds = run.reallocationSeconds;
  if (!same) run_ = run;
  showNotice();
  if (same) return;
  // A smoothing belongs to the run it was computed from.
  dropLevelling();
  dropReallocation();
  dropCrews();
  // A fresh run is shown as its result first; a plain calculation has one variant.
  const bool optimised = model().Optimised == 1;
  (optimised ? RadioButton2 : RadioButton1)->setChecked(true);
  RadioButton1->setEnabled(optimised);
  RadioButton2->setEnabled(optimised);
  ToolButton5->setEnabled(run_.model != nullptr && !job_);
  ToolButton7->setEnabled(run_.model != nullptr && !reallocJob_);
  std::fill(std::begin(stale_), std::end(stale_), true);
  // Past the layered layout's size the network is drawn to a time scale only.
  const bool large = model().RunEventCount > kMaxNetworkPictureEvents;
  const QSignalBlocker quiet(CheckBox3);
  if (large) CheckBox3->setChecked(true);
  CheckBox3->setEnabled(!large);
  refreshCurrentTab();
}

void TCharts_form::showNotice() {
  const QString text = !run_.model ? QStringLiteral("Для этих данных расчет еще не выполнялся — выполните «Расчет»")
                       : run_.dataChanged
                           ? QStringLiteral("Показан последний расчет; данные с тех пор изменены — выполните «Расчет»")
                           : QString();
  Label4->setText(text);
  Label4->setVisible(!text.isEmpty());
}

void TCharts_form::nextTab(int step) {
  const int count = TabWidget1->count();
  TabWidget1->setCurrentIndex((TabWidget1->currentIndex() + step + count) % count);
}

int TCharts_form::variant() const {
  if (reallocationShown()) return 1;  // the copy's one variant
  if (RadioButton3->isChecked() && levelling_) return levelling_->variant;
  if (crewsShown()) return crews_->variant;
  return RadioButton2->isChecked() && model().Optimised == 1 ? 2 : 1;
}

void TCharts_form::refreshCurrentTab() {
  const int tab = TabWidget1->currentIndex();
  if (tab < 0 || !stale_[tab]) return;
  stale_[tab] = false;
  const int v = variant();
  switch (tab) {
    case 0: {
      const bool scaled = CheckBox3->isChecked();
      ChartCanvas1->setPicture(madeInBackground([&] { return networkPicture(shownModel(), v, scaled); }));
      break;
    }
    case 1: ChartCanvas2->setPicture(madeInBackground([&] { return barChartShown(v); })); break;
    case 2: ChartCanvas3->setPicture(madeInBackground([&] { return workersShown(); })); break;
    case kLogTab: refreshLog(); break;
    default: refreshShifts();
  }
}

ChartPicture TCharts_form::madeInBackground(const std::function<ChartPicture()>& make) {
  // A large network's layout takes a while: the window keeps painting, and may cancel.
  ChartPicture picture;
  bool cancelled = false;
  runCommand(this, [&] {
    cancelled = !runInBackground(this, QStringLiteral("Построение рисунка"),
                                 [&](BackgroundProgress&) { picture = pictureOrMessage(make); });
  });
  if (picture.paint && !cancelled) return picture;
  stale_[TabWidget1->currentIndex()] = true;  // made again when shown again
  return messagePicture(cancelled ? QStringLiteral("Построение рисунка отменено") : QStringLiteral("Рисунок не построен"));
}

void TCharts_form::refreshPictures() {
  for (int tab = 0; tab < kLogTab; ++tab) stale_[tab] = true;
  refreshCurrentTab();
}

void TCharts_form::refreshLog() {
  const QStringList headers = optimisationLogHeaders();
  std::vector<QStringList> rows = optimisationLogRows(run_.log);
  // Columns as wide as their longest texts, measured once; the view would ask every row.
  const QFont font = LogGrid->font();
  QFont bold = LogGrid->horizontalHeader()->font();
  bold.setBold(true);
  const std::vector<double> widths = logColumnWidths(headers, rows, font, bold);
  const bool empty = rows.empty();
  std::vector<bool> muted;
  for (const OptimisationMove& move : run_.log) muted.push_back(movesNobody(move));
  logModel_->setRows(headers, std::move(rows), std::move(muted));
  for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
    LogGrid->horizontalHeader()->resizeSection(c, static_cast<int>(std::ceil(widths[static_cast<std::size_t>(c)])) + 20);
  }
  CheckBox1Toggled(CheckBox1->isChecked());
  const bool optimised = model().Optimised == 1;
  // "20 перемещений" for a run whose donors moved 9 workers in all misled: the counts
  // stand apart.
  QString summary = optimisationLogSummary(run_.log);
  if (!summary.isEmpty()) summary[0] = summary[0].toUpper();
  Label1->setText(empty ? emptyLogMessage(optimised) : summary);
  CheckBox1->setEnabled(!empty);
  Button2->setEnabled(!empty);
}

void TCharts_form::CheckBox1Toggled(bool checked) { logModel_->setOnlyMoves(checked); }

void TCharts_form::RadioButton1Toggled(bool) { refreshPictures(); }

ChartCanvas* TCharts_form::currentCanvas() const {
  switch (TabWidget1->currentIndex()) {
    case 0: return ChartCanvas1;
    case 1: return ChartCanvas2;
    case 2: return ChartCanvas3;
    default: return nullptr;
  }
}

QScrollArea* TCharts_form::currentScrollArea() const {
  switch (TabWidget1->currentIndex()) {
    case 0: return ScrollArea1;
    case 1: return ScrollArea2;
    case 2: return ScrollArea3;
    default: return nullptr;
  }
}

ChartPicture TCharts_form::currentPicture() const {
  if (ChartCanvas* canvas = currentCanvas()) return canvas->picture();
  if (TabWidget1->currentIndex() == kShiftsTab) {
    const auto calendar = chartCalendar(model());
    return shiftsPicture(levellingResult(), calendar ? &*calendar : nullptr);
  }
  return optimisationLogPages(run_.log, model().Optimised == 1).front();
}

void TCharts_form::ToolButton1Click() {
  if (ChartCanvas* canvas = currentCanvas()) canvas->setZoom(canvas->zoom() * kZoomStep);
}

void TCharts_form::ToolButton2Click() {
  if (ChartCanvas* canvas = currentCanvas()) canvas->setZoom(canvas->zoom() / kZoomStep);
}

void TCharts_form::ToolButton3Click() {
  if (ChartCanvas* canvas = currentCanvas()) canvas->fitInto(currentScrollArea()->viewport()->size() - QSize(4, 4));
}

void TCharts_form::ToolButton4Click() {
  if (ChartCanvas* canvas = currentCanvas()) canvas->setZoom(1.0);
}

void TCharts_form::TabWidget1Changed(int index) {
  const bool picture = index != kLogTab && index != kShiftsTab;
  ToolButton1->setEnabled(picture);
  ToolButton2->setEnabled(picture);
  ToolButton3->setEnabled(picture);
  ToolButton4->setEnabled(picture);
  FindEdit->setEnabled(index <= 1);
  CheckBox3->setEnabled(index == 0 && model().RunEventCount <= kMaxNetworkPictureEvents);
  Button5->setEnabled(index != kLogTab);
  refreshCurrentTab();
}

// The rows shown: "только перемещения" leaves out the donors that moved nobody.
void TCharts_form::Button2Click() {
  std::vector<OptimisationMove> shown = run_.log;
  if (CheckBox1->isChecked()) std::erase_if(shown, movesNobody);
  QGuiApplication::clipboard()->setText(optimisationLogText(shown));
}

}  // namespace velko
