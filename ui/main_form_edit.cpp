// The main window's editing: the menu "Правка" with the undo and redo of the data set,
// the clipboard commands, the mark of unsaved changes, and the shortcuts shown in the
// toolbar hints.
#include <map>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QUndoStack>

#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/data_file_drop.h"
#include "ui/main_form.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"

namespace velko {

namespace {

// "Отменить: вставка 12 строк", or the bare command when there is nothing to name.
QString stepText(const QString& command, const QString& name) {
  return name.isEmpty() ? command : command + QStringLiteral(": ") + name;
}

bool pressed(const QAction* action, const QKeyEvent* key) {
  return action->shortcuts().contains(QKeySequence(key->keyCombination()));
}

}  // namespace

void TMain::createEditMenu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
  edit->setObjectName(QStringLiteral("N28"));
  auto action = [edit](QAction*& item, const char* name, const QString& text, const QList<QKeySequence>& keys) {
    item = edit->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcuts(keys);
  };
  action(N22, "N22", QStringLiteral("&Отменить"), {QKeySequence(Qt::CTRL | Qt::Key_Z)});
  action(N23, "N23", QStringLiteral("&Повторить"),
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addSeparator();
  action(N24, "N24", QStringLiteral("Вы&резать"), {QKeySequence(Qt::CTRL | Qt::Key_X)});
  action(N25, "N25", QStringLiteral("&Копировать"), {QKeySequence(Qt::CTRL | Qt::Key_C)});
  action(N26, "N26", QStringLiteral("&Вставить"), {QKeySequence(Qt::CTRL | Qt::Key_V)});
  action(N27, "N27", QStringLiteral("О&чистить"), {QKeySequence(Qt::Key_Delete)});
}

void TMain::showShortcutsInHints() {
  const std::pair<QToolButton*, QAction*> pairs[] = {{RxSpeedButton2, N2},  {RxSpeedButton3, N3},
                                                     {RxSpeedButton4, N4},  {RxSpeedButton5, N10},
                                                     {RxSpeedButton6, N11}, {RxSpeedButton8, N21}};
  for (const auto& [button, action] : pairs) {
    button->setToolTip(button->accessibleName() + QStringLiteral(" (") +
                       action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
  }
}

void TMain::connectHistory() {
  QUndoStack* stack = history_->stack();
  auto refresh = [this, stack] {
    N22->setEnabled(stack->canUndo());
    N22->setText(stepText(QStringLiteral("&Отменить"), stack->undoText()));
    N23->setEnabled(stack->canRedo());
    N23->setText(stepText(QStringLiteral("&Повторить"), stack->redoText()));
    markModified();
  };
  connect(stack, &QUndoStack::indexChanged, this, refresh);
  connect(stack, &QUndoStack::cleanChanged, this, refresh);
  connect(N22, &QAction::triggered, stack, &QUndoStack::undo);
  connect(N23, &QAction::triggered, stack, &QUndoStack::redo);
  for (TCurrencyEdit* box : {CurrencyEdit1, CurrencyEdit2, CurrencyEdit3}) {
    connect(box, &QLineEdit::textChanged, this, &TMain::markModified);
    box->installEventFilter(this);
    takeDataFileDrops(box, [this](const QString& name) { openDroppedFile(name); });
  }
  worksModel_->setCellEditHandler([this](int column, int row, const std::string& text, int session) {
    recordCellEdit(column, row, text, session);
  });
  worksModel_->setTableEditHandler(
      [this](const QString& name, const WorksTable& after) { history_->recordTable(name, after); });
  StringGrid1->setDataFileDropHandler([this](const QString& name) { openDroppedFile(name); });
  setAcceptDrops(true);
  refresh();
}

void TMain::recordCellEdit(int column, int row, const std::string& text, int session) {
  WorksTable after = worksModel_->table();
  after.setCell(column, row, text);
  history_->recordTable(cellEditName(column, row), after, {worksModel_, session});
}

QStringList TMain::boxTexts() const { return {CurrencyEdit1->text(), CurrencyEdit2->text(), CurrencyEdit3->text()}; }

bool TMain::isModified() const {
  return !history_->stack()->isClean() || boxTexts() != savedBoxTexts_ || theModel().Extras != savedExtras_;
}

void TMain::keepCrewLimits(const QVariantMap& limits) {
  std::map<int, long long> kept;
  for (auto it = limits.begin(); it != limits.end(); ++it) kept[it.key().toInt()] = it.value().toLongLong();
  if (kept == theModel().Extras.crewLimits) return;
  theModel().Extras.crewLimits = std::move(kept);
  UpdateCaption();
}

void TMain::markModified() {
  UpdateCaption();
  noteDataChange();
}

// A count box undoes its own typing first; once it has none, Ctrl+Z and Ctrl+Y undo
// and redo the data set, as everywhere else in the window.
bool TMain::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box || event->type() != QEvent::ShortcutOverride) return QMainWindow::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  return (pressed(N22, key) && !box->isUndoAvailable()) || (pressed(N23, key) && !box->isRedoAvailable());
}

// The clipboard items press their keys where the focus is: the works table and the
// count boxes each do what those keys do in them.
void TMain::pressShortcut(const QAction* action) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus->window() != this || action->shortcut().isEmpty()) return;
  const QKeyCombination keys = action->shortcut()[0];
  QKeyEvent press(QEvent::KeyPress, keys.key(), keys.keyboardModifiers());
  QCoreApplication::sendEvent(focus, &press);
}

// "Вырезать", "Копировать", "Вставить", "Очистить".
void TMain::N24Click() { pressShortcut(N24); }
void TMain::N25Click() { pressShortcut(N25); }
void TMain::N26Click() { pressShortcut(N26); }
void TMain::N27Click() { pressShortcut(N27); }

}  // namespace velko
