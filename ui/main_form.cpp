// The main window's construction: layout, menus, and the wiring of its handlers.
#include "ui/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "data/data_file.h"
#include "model/command_error.h"
#include "model/network_model.h"
#include "ui/animated_image.h"
#include "ui/currency_edit.h"
#include "ui/form_activation.h"
#include "ui/icons.h"
#include "ui/late_windows.h"
#include "ui/options/form_placement.h"
#include "ui/options/print_option_boxes.h"
#include "ui/options/print_options.h"
#include "ui/options/settings_store.h"
#include "ui/recent_files.h"
#include "ui/status_panel.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"

namespace velko {

namespace {

constexpr int kWindowWidth = 345;
constexpr int kCreationHeight = 800;
constexpr int kToolbarHeight = 34;
constexpr int kCountsHeight = 136;
constexpr int kStatusHeight = 20;
constexpr int kMainColumnWidth = 60;

QFrame* raisedPanel(const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return panel;
}

QFrame* separator(QFrame::Shape shape, QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameStyle(shape | QFrame::Sunken);
  return line;
}

}  // namespace

TMain::TMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Main"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  // "Графики" comes from the module loaded at its first use, with the last run's log.
  Charts_form_.setMaker([this] {
    QWidget* charts = lateWindows().createChartsWindow(this);
    LastRun.reallocationSeconds = solverOptions().ReallocationSeconds;
    lateWindows().showRun(charts, LastRun);
    return charts;
  });

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  createToolbar();
  createCountsPanel();
  createTablePanel();
  createStatusLine();
  column->addWidget(Panel1);
  column->addWidget(Panel3);
  column->addWidget(Panel4, 1);
  column->addWidget(Panel2);
  history_ = new WorksHistory(worksModel_, CurrencyEdit2, CurrencyEdit3, this);
  createMenus();
  connectHandlers();
  connectHistory();
  watchFormActivation(this, [this] { FormActivate(); });
  FormCreate();
}

TMain::~TMain() {
  // Clearing the history as it goes would tell the windows that show it, which are
  // being taken down.
  history_->stack()->disconnect();
}

QToolButton* TMain::toolButton(const char* name, const QString& hint, int iconKind) {
  auto* button = new QToolButton(Panel1);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoRaise(true);
  button->setFixedSize(25, 22);
  button->setIcon(toolIcon(static_cast<ToolIcon>(iconKind)));
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  return button;
}

void TMain::createToolbar() {
  Panel1 = raisedPanel("Panel1", this);
  Panel1->setFixedHeight(kToolbarHeight);
  RxSpeedButton2 = toolButton("RxSpeedButton2", QStringLiteral("Новые данные"), int(ToolIcon::New));
  RxSpeedButton3 = toolButton("RxSpeedButton3", QStringLiteral("Открыть файл"), int(ToolIcon::Open));
  RxSpeedButton4 = toolButton("RxSpeedButton4", QStringLiteral("Сохранить файл"), int(ToolIcon::Save));
  RxSpeedButton5 = toolButton("RxSpeedButton5", QStringLiteral("Расчет"), int(ToolIcon::Calculate));
  RxSpeedButton6 = toolButton("RxSpeedButton6", QStringLiteral("Оптимизация"), int(ToolIcon::Optimise));
  RxSpeedButton9 = toolButton("RxSpeedButton9", QStringLiteral("Просмотр результатов"), int(ToolIcon::View));
  RxSpeedButton8 = toolButton("RxSpeedButton8", QStringLiteral("Печать результатов"), int(ToolIcon::Print));
  RxSpeedButton10 = toolButton("RxSpeedButton10", QStringLiteral("Графики"), int(ToolIcon::Charts));

  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(4, 5, 4, 5);
  row->setSpacing(1);
  auto addSeparator = [this, row] {
    row->addSpacing(3);
    auto* line = separator(QFrame::VLine, Panel1);
    line->setFixedWidth(2);
    row->addWidget(line);
    row->addSpacing(3);
  };
  row->addWidget(RxSpeedButton2);
  row->addWidget(RxSpeedButton3);
  row->addWidget(RxSpeedButton4);
  addSeparator();
  row->addWidget(RxSpeedButton5);
  row->addWidget(RxSpeedButton6);
  addSeparator();
  row->addWidget(RxSpeedButton9);
  row->addWidget(RxSpeedButton8);
  row->addWidget(RxSpeedButton10);
  addSeparator();
  row->addStretch(1);
}

void TMain::createCountsPanel() {
  Panel3 = raisedPanel("Panel3", this);
  Panel3->setFixedHeight(kCountsHeight);

  auto countBox = [this](QGroupBox*& group, const char* groupName, const QString& title, TCurrencyEdit*& edit,
                         const char* editName, int top) {
    group = new QGroupBox(title, Panel3);
    group->setObjectName(QString::fromLatin1(groupName));
    group->setGeometry(8, top, 201, 42);
    edit = new TCurrencyEdit(QStringLiteral("0"), group);
    edit->setObjectName(QString::fromLatin1(editName));
    edit->setGeometry(10, 16, 181, 20);
  };
  countBox(GroupBox1, "GroupBox1", QStringLiteral("Количество работ"), CurrencyEdit2, "CurrencyEdit2", 4);
  countBox(GroupBox2, "GroupBox2", QStringLiteral("Количество событий"), CurrencyEdit3, "CurrencyEdit3", 48);
  separator(QFrame::HLine, Panel3)->setGeometry(8, 94, 201, 3);

  RxSpeedButton1 = new QToolButton(Panel3);
  RxSpeedButton1->setObjectName(QStringLiteral("RxSpeedButton1"));
  RxSpeedButton1->setText(QStringLiteral("Данные по работам"));
  RxSpeedButton1->setAutoRaise(true);
  RxSpeedButton1->setGeometry(8, 102, 201, 25);

  separator(QFrame::VLine, Panel3)->setGeometry(218, 4, 3, 128);

  RxLabel1 = new QLabel(QStringLiteral("Номер\nварианта"), Panel3);
  RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
  RxLabel1->setAlignment(Qt::AlignCenter);
  RxLabel1->setGeometry(224, 6, 116, 30);

  auto* sunken = new QFrame(Panel3);
  sunken->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  sunken->setLineWidth(2);
  sunken->setGeometry(244, 40, 76, 32);
  CurrencyEdit1 = new TCurrencyEdit(QStringLiteral("0"), sunken);
  CurrencyEdit1->setObjectName(QStringLiteral("CurrencyEdit1"));
  CurrencyEdit1->setFrame(false);
  CurrencyEdit1->setGeometry(2, 2, 72, 28);
  QFont digits = CurrencyEdit1->font();
  digits.setPixelSize(16);
  digits.setBold(true);
  CurrencyEdit1->setFont(digits);
  QPalette colours = CurrencyEdit1->palette();
  colours.setColor(QPalette::Base, QColor(0, 255, 0));
  colours.setColor(QPalette::Text, QColor(255, 0, 0));
  CurrencyEdit1->setPalette(colours);

  AnimatedImage1 = new TAnimatedImage(Panel3);
  AnimatedImage1->setObjectName(QStringLiteral("AnimatedImage1"));
  AnimatedImage1->move(266, 88);

  // The two stored options of the printed report travel in these boxes; never shown.
  CurrencyEdit5 = new TCurrencyEdit(QStringLiteral("750"), Panel3);
  CurrencyEdit5->setObjectName(QStringLiteral("CurrencyEdit5"));
  CurrencyEdit5->hide();
  CurrencyEdit6 = new TCurrencyEdit(QStringLiteral("120"), Panel3);
  CurrencyEdit6->setObjectName(QStringLiteral("CurrencyEdit6"));
  CurrencyEdit6->hide();
}

void TMain::createTablePanel() {
  Panel4 = new QFrame(this);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  // The panel may shrink to nothing: the collapsed window is measured with it 1 pixel high.
  Panel4->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  worksModel_ = new WorksTableModel(this);
  StringGrid1 = new TStringGrid(worksModel_, kMainColumnWidth, Panel4);
  StringGrid1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  auto* fill = new QVBoxLayout(Panel4);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(StringGrid1);
}

void TMain::createStatusLine() {
  Panel2 = new TGradientPanel(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFixedHeight(kStatusHeight);
  RxLabel2 = new TShadowLabel(Panel2);
  RxLabel2->setObjectName(QStringLiteral("RxLabel2"));
  RxLabel2->setAlignment(Qt::AlignCenter);
  QFont bold = RxLabel2->font();
  bold.setBold(true);
  RxLabel2->setFont(bold);
  auto* fill = new QHBoxLayout(Panel2);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(RxLabel2);
}

void TMain::createMenus() {
  auto action = [this](QMenu* menu, const char* name, const QString& text, QKeySequence keys = {}) {
    QAction* item = menu->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(keys);
    return item;
  };
  auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  fileMenu_ = menu("N1", QStringLiteral("&Файл"));
  N2 = action(fileMenu_, "N2", QStringLiteral("&Создать"), QKeySequence::New);
  N3 = action(fileMenu_, "N3", QStringLiteral("&Открыть ..."), QKeySequence::Open);
  N4 = action(fileMenu_, "N4", QStringLiteral("Со&хранить"), QKeySequence::Save);
  N5 = action(fileMenu_, "N5", QStringLiteral("Сохранить &как ..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  N30 = action(fileMenu_, "N30", QStringLiteral("Календарь п&роекта..."));
  fileMenu_->addSeparator();
  N21 = action(fileMenu_, "N21", QStringLiteral("&Печать результатов"), QKeySequence::Print);
  // The recent files stand between these two separators (see showRecentFiles).
  fileMenu_->addSeparator()->setObjectName(QStringLiteral("RecentFiles"));
  fileMenu_->addSeparator()->setObjectName(QStringLiteral("N6"));
  N7 = action(fileMenu_, "N7", QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  createEditMenu();
  QMenu* calculation = menu("N8", QStringLiteral("&Расчет"));
  N10 = action(calculation, "N10", QStringLiteral("&Расчет режима"), QKeySequence(Qt::Key_F9));
  N11 = action(calculation, "N11", QStringLiteral("&Отимизация"), QKeySequence(Qt::CTRL | Qt::Key_F9));
  N20 = action(calculation, "N20", QStringLiteral("&Графики"));
  QMenu* options = menu("N12", QStringLiteral("&Опции"));
  N13 = action(options, "N13", QStringLiteral("&Параметры"));
  QMenu* help = menu("N14", QStringLiteral("По&мощь"));
  N15 = action(help, "N15", QStringLiteral("&О программе"), QKeySequence(Qt::Key_F1));

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  N16 = action(PopupMenu1, "N16", QStringLiteral("&Удалить строку"));
  N17 = action(PopupMenu1, "N17", QStringLiteral("&Вставить строку"));
  PopupMenu1->addSeparator();
  N18 = action(PopupMenu1, "N18", QStringLiteral("&Отдельным окном"));
  N19 = action(PopupMenu1, "N19", QStringLiteral("&Закрыть данные"));
  StringGrid1->setContextMenu(PopupMenu1);
  showShortcutsInHints();

  // F10 opens the menu bar at its first menu, as on other desktops; the arrows go on
  // from there, Escape leaves it.
  auto* menuBarKey = new QAction(this);
  menuBarKey->setObjectName(QStringLiteral("MenuBarKey"));
  menuBarKey->setShortcut(QKeySequence(Qt::Key_F10));
  addAction(menuBarKey);
  connect(menuBarKey, &QAction::triggered, this, [this] { menuBar()->setActiveAction(fileMenu_->menuAction()); });
}

void TMain::connectHandlers() {
  connect(RxSpeedButton1, &QToolButton::clicked, this, &TMain::RxSpeedButton1Click);
  connect(RxSpeedButton2, &QToolButton::clicked, this, &TMain::RxSpeedButton2Click);
  connect(RxSpeedButton3, &QToolButton::clicked, this, &TMain::RxSpeedButton3Click);
  connect(RxSpeedButton4, &QToolButton::clicked, this, &TMain::RxSpeedButton4Click);
  connect(RxSpeedButton5, &QToolButton::clicked, this, &TMain::RxSpeedButton5Click);
  connect(RxSpeedButton6, &QToolButton::clicked, this, &TMain::RxSpeedButton6Click);
  connect(RxSpeedButton8, &QToolButton::clicked, this, &TMain::RxSpeedButton8Click);
  connect(RxSpeedButton9, &QToolButton::clicked, this, &TMain::RxSpeedButton9Click);
  connect(RxSpeedButton10, &QToolButton::clicked, this, &TMain::RxSpeedButton10Click);
  connect(N2, &QAction::triggered, this, &TMain::N2Click);
  connect(N3, &QAction::triggered, this, &TMain::N3Click);
  connect(N4, &QAction::triggered, this, &TMain::N4Click);
  connect(N5, &QAction::triggered, this, &TMain::N5Click);
  connect(N7, &QAction::triggered, this, &TMain::N7Click);
  connect(N10, &QAction::triggered, this, &TMain::N10Click);
  connect(N11, &QAction::triggered, this, &TMain::N11Click);
  connect(N13, &QAction::triggered, this, &TMain::N13Click);
  connect(N15, &QAction::triggered, this, &TMain::N15Click);
  connect(N16, &QAction::triggered, this, &TMain::N16Click);
  connect(N17, &QAction::triggered, this, &TMain::N17Click);
  connect(N18, &QAction::triggered, this, &TMain::N18Click);
  connect(N19, &QAction::triggered, this, &TMain::N19Click);
  connect(N20, &QAction::triggered, this, &TMain::N20Click);
  connect(N21, &QAction::triggered, this, &TMain::N21Click);
  connect(N24, &QAction::triggered, this, &TMain::N24Click);
  connect(N25, &QAction::triggered, this, &TMain::N25Click);
  connect(N26, &QAction::triggered, this, &TMain::N26Click);
  connect(N27, &QAction::triggered, this, &TMain::N27Click);
  connect(N30, &QAction::triggered, this, &TMain::N30Click);
  connect(CurrencyEdit2, &QLineEdit::returnPressed, this, &TMain::CurrencyEdit2Enter);
  connect(CurrencyEdit3, &QLineEdit::returnPressed, RxSpeedButton1, &QToolButton::click);
  connect(CurrencyEdit3, &QLineEdit::textChanged, this, &TMain::CurrencyEdit3Change);
}

void TMain::FormCreate() {
  theModel().Optimised = 0;
  WasActivated = false;
  worksModel_->setHeaderTexts(worksHeaderTexts());
  DataFileName = QString::fromUtf8(kDefaultDataFileName);
  DataFileChosen = false;
  startHistory();  // and UpdateCaption
  setCalculationEnabled(false);
  setResultCommandsEnabled(false);

  // Measure the collapsed height with the layout done at the creation height: the
  // window less the table panel, plus the 1 pixel the panel keeps.
  resize(kWindowWidth, kCreationHeight);
  for (QLayout* layout : {layout(), centralWidget()->layout()}) {
    layout->invalidate();
    layout->activate();
  }
  CollapsedHeight = height() - Panel4->height() + 1;
  CollapsedHeightKnown = true;
  // The size limits: the width stays where it is, the height not below the collapsed one.
  setFixedWidth(width());
  setMinimumHeight(CollapsedHeight);
  setMaximumHeight(QWIDGETSIZE_MAX);
  takePrintOptionsFromBoxes(printOptions(), {CurrencyEdit5, CurrencyEdit6});
}

void TMain::setStores(SettingsStore& profile, SettingsStore& user) {
  FormPlacement1 = std::make_unique<FormPlacement>(this, user, QStringLiteral("TMain"));
  FormStorage1 = std::make_unique<FormStorage>(this, profile, QStringLiteral("TMain"));
  FormStorage1->addStoredText(CurrencyEdit5);
  FormStorage1->addStoredText(CurrencyEdit6);
  FormStorage1->setRestoredHandler([this] { FormStorage1RestorePlacement(); });
  try {
    recentFiles_ = std::make_unique<RecentFiles>(user);
  } catch (const CommandError&) {
    // An unreadable store is reported when the placements are restored from it; the
    // program then goes on without the list.
  }
  showRecentFiles();
}

void TMain::FormStorage1RestorePlacement() {
  takeStoredPrintOptions(printOptions(), {CurrencyEdit5, CurrencyEdit6});
}

void TMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A window system's own show (back from minimised) is not a new showing.
  if (!event->spontaneous() && FormStorage1) {
    FormStorage1->restore();
    FormPlacement1->restore();
  }
  // The first activation collapses the window; doing so already here, before the window
  // system maps it, spares a first paint at the creation height undone a moment later.
  if (!WasActivated) collapse();
  // Some window systems give a new window no focus by themselves; the first
  // activation is what collapses the window and focuses the works count box.
  if (!WasActivated) activateWindow();
}

void TMain::closeEvent(QCloseEvent* event) {
  if (!mayDiscardChanges()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  if (!event->isAccepted() || !FormStorage1) return;
  FormPlacement1->save();
  FormStorage1->save();
}

}  // namespace velko
