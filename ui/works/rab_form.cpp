#include "ui/works/rab_form.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QShowEvent>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include "data/works_table_edit.h"
#include "ui/command_guard.h"
#include "ui/form_activation.h"
#include "ui/main_form.h"
#include "ui/options/form_placement.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"

namespace velko {

namespace {

// An edit made here as "Отменить: " names it.
QString separateEditName() { return QStringLiteral("правка в окне «Ввод данных»"); }

constexpr int kWidth = 276;           // the five number columns
constexpr int kNameWidth = 200;       // and the names beside them, when first shown
constexpr int kDesignHeight = 375;
constexpr int kMinimumHeight = 252;
constexpr int kColumnWidth = 48;

QToolButton* flatButton(const char* name, const QString& caption, int width, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(caption);
  button->setAutoRaise(true);
  button->setFixedSize(width, 21);
  return button;
}

}  // namespace

Trab_form::Trab_form(TMain* main) : QWidget(main, Qt::Window), main_(main) {
  setObjectName(QStringLiteral("rab_form"));
  setWindowTitle(QStringLiteral("Ввод данных"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

  works_ = new WorksTableModel(this);
  StringGrid1 = new TStringGrid(works_, kColumnWidth, this);
  // A rectangle of cells may be selected with the mouse here.
  StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
  // The names take whatever width the window is given beyond the numbers.
  StringGrid1->horizontalHeader()->setStretchLastSection(true);

  auto* bar = new QWidget(this);
  bar->setFixedHeight(25);
  RxSpeedButton1 = flatButton("RxSpeedButton1", QStringLiteral("Применить"), 143, bar);
  RxSpeedButton2 = flatButton("RxSpeedButton2", QStringLiteral("Отмена"), 104, bar);
  auto* buttons = new QHBoxLayout(bar);
  buttons->setContentsMargins(4, 2, 4, 2);
  buttons->addWidget(RxSpeedButton1);
  buttons->addStretch(1);
  buttons->addWidget(RxSpeedButton2);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(StringGrid1, 1);
  column->addWidget(bar);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  N1 = PopupMenu1->addAction(QStringLiteral("Удалить строку"));
  N1->setObjectName(QStringLiteral("N1"));
  N2 = PopupMenu1->addAction(QStringLiteral("Вставить строку"));
  N2->setObjectName(QStringLiteral("N2"));
  StringGrid1->setContextMenu(PopupMenu1);

  connect(RxSpeedButton1, &QToolButton::clicked, this, &Trab_form::RxSpeedButton1Click);
  connect(RxSpeedButton2, &QToolButton::clicked, this, &Trab_form::RxSpeedButton2Click);
  connect(N1, &QAction::triggered, this, &Trab_form::N1Click);
  connect(N2, &QAction::triggered, this, &Trab_form::N2Click);
  connect(works_, &WorksTableModel::cellEdited, this, &Trab_form::StringGrid1SetEditText);
  // A pasted block, cut or Delete reaches the main table at once, as a keystroke does.
  works_->setTableEditHandler([this](const QString& name, const WorksTable& after) {
    works_->setTable(after);
    applyToMain(name);
  });
  // Undo and redo of the data set work here too; what they change shows at once.
  QUndoStack* history = main_->history()->stack();
  undo_ = new QAction(this);
  undo_->setObjectName(QStringLiteral("Undo"));
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_ = new QAction(this);
  redo_->setObjectName(QStringLiteral("Redo"));
  redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  addActions({undo_, redo_});
  connect(undo_, &QAction::triggered, history, &QUndoStack::undo);
  connect(redo_, &QAction::triggered, history, &QUndoStack::redo);
  connect(history, &QUndoStack::indexChanged, this, [this] {
    if (!applying_ && isVisible()) copyFromMain();
  });
  watchFormActivation(this, [this] { FormActivate(); });

  // The size limits: not narrower than the number columns, height not below the minimum.
  resize(kWidth + kNameWidth, kDesignHeight);
  setMinimumSize(kWidth, kMinimumHeight);
}

Trab_form::~Trab_form() = default;

void Trab_form::setPlacementStore(SettingsStore& user) {
  FormPlacement1 = std::make_unique<FormPlacement>(this, user, QStringLiteral("Trab_form"));
}

void Trab_form::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous() && FormPlacement1) FormPlacement1->restore();
}

void Trab_form::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted() && FormPlacement1) FormPlacement1->save();
}

// Escape closes the window as it closes a dialog. A cell editor takes its Escape
// itself (the edit is cancelled), so the key reaches here only from outside an edit.
void Trab_form::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Trab_form::showForm() { showFormActive(this); }

void Trab_form::FormActivate() {
  copyFromMain();
  StringGrid1->setFocus(Qt::ActiveWindowFocusReason);
  works_->setHeaderTexts(worksHeaderTexts());
}

void Trab_form::copyFromMain() {
  // The rows are the works count last taken over: the rows the copies and the row
  // commands work on, so every row shown here reaches the main table.
  runCommand(this, [this] {
    const int workCount = theModel().WorkCount;
    WorksTable copy = works_->table();
    CopyWorkRows(main_->worksModel()->table(), copy, workCount);
    copy.setRowCount(workCount);
    works_->setTable(copy);
    works_->setMarkedRows(main_->worksModel()->markedRows());
  });
}

void Trab_form::ApplyToMain() { applyToMain(separateEditName()); }

// The rows of this table become the main table's works, and their number its works
// count: a row inserted or deleted here is then no work lost or doubled there.
void Trab_form::applyToMain(const QString& name, TypingKey typing) {
  applying_ = true;
  runCommand(this, [&] {
    WorksHistory& history = *main_->history();
    WorksState after = history.current();
    const int rows = works_->table().rowCount();
    CopyWorkRows(works_->table(), after.table, rows);
    for (int r = rows + 1; r <= after.workCount; ++r) after.table.clearRow(r);
    if (rows != std::max(after.workCount, 0)) after.workCount = rows;
    after.table.setRowCount(std::max(after.workCount, 0));
    history.record(name, after, typing);
  });
  applying_ = false;
}

// Each change of a cell's text through the cell editor: the keystrokes of one edit make
// one undo step.
void Trab_form::StringGrid1SetEditText() {
  applyToMain(separateEditName(), {works_, works_->editSession()});
}

// "Применить".
void Trab_form::RxSpeedButton1Click() { ApplyToMain(); }

// "Отмена": every edit has already reached the main table; nothing to undo.
void Trab_form::RxSpeedButton2Click() { close(); }

// "Удалить строку" and "Вставить строку" change this table only, until they are applied.
void Trab_form::N1Click() {
  runCommand(this, [this] {
    WorksTable after = works_->table();
    DeleteWorkRow(after, StringGrid1->SelectedRow, after.rowCount());
    works_->setTable(after);
  });
}

void Trab_form::N2Click() {
  runCommand(this, [this] {
    WorksTable after = works_->table();
    InsertWorkRow(after, StringGrid1->SelectedRow, after.rowCount());
    works_->setTable(after);
  });
}

}  // namespace velko
