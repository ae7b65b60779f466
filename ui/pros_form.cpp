#include "ui/pros_form.h"

#include <utility>

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/file_io.h"
#include "data/text_codec.h"
#include "model/command_error.h"
#include "model/network_model.h"
#include "results/results_file.h"
#include "ui/command_guard.h"
#include "ui/file_dialogs.h"
#include "ui/form_activation.h"
#include "ui/icons.h"
#include "ui/main_form.h"
#include "ui/window_placement.h"

namespace velko {

namespace {

// The first is the results file as the program writes it; the second suits a text
// editor of this system.
constexpr const char* kResultsFilter = "Файл результатов (*.rez)|*.rez|Текст UTF-8 (*.txt)|*.txt";

// The file's lines, one text line per file line (CR LF or LF ends a line).
QString readResultsText(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) throw CommandError("Cannot open file " + name.toStdString());
  const QByteArray bytes = file.readAll();
  QString text = QString::fromStdString(cp1251ToUtf8(std::string_view(bytes.constData(), bytes.size())));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

// The box's lines, each ended by CR LF, in the program's code page; or as UTF-8 with
// LF line ends.
std::string resultsFileBytes(const QPlainTextEdit& memo, bool utf8) {
  if (memo.document()->isEmpty()) return {};
  std::string text;
  const QStringList lines = memo.toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) text += line.toStdString() + (utf8 ? "\n" : "\r\n");
  return utf8 ? text : utf8ToCp1251(text);
}

}  // namespace

TPros_form::TPros_form(TMain* main) : QMainWindow(main, Qt::Window), main_(main) {
  setObjectName(QStringLiteral("Pros_form"));
  setWindowTitle(QStringLiteral("Просмотр результатов расчета"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setGeometry(187, 30, 490, 551);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  createToolbar();
  Memo1 = new QPlainTextEdit(central);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  QFont mono(QStringLiteral("Courier New"));
  mono.setStyleHint(QFont::Monospace);
  mono.setPixelSize(12);
  Memo1->setFont(mono);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  column->addWidget(Panel1);
  column->addWidget(Memo1, 1);
  setCentralWidget(central);
  createMenus();

  connect(RxSpeedButton1, &QToolButton::clicked, this, &TPros_form::RxSpeedButton1Click);
  connect(RxSpeedButton2, &QToolButton::clicked, this, &TPros_form::RxSpeedButton2Click);
  connect(RxSpeedButton3, &QToolButton::clicked, this, &TPros_form::RxSpeedButton3Click);
  connect(RxSpeedButton6, &QToolButton::clicked, this, &TPros_form::RxSpeedButton6Click);
  connect(N2, &QAction::triggered, this, &TPros_form::N2Click);
  connect(N4, &QAction::triggered, this, &TPros_form::N4Click);
  connect(N6, &QAction::triggered, this, &TPros_form::N6Click);
  connect(N8, &QAction::triggered, this, &TPros_form::N8Click);
  connect(N9, &QAction::triggered, this, &TPros_form::N9Click);
  watchFormActivation(this, [this] { activated(); });
}

void TPros_form::createToolbar() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setFixedHeight(27);
  auto button = [this](const char* name, const QString& hint, ToolIcon icon, int width) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoRaise(true);
    b->setFixedSize(width, 20);
    b->setIcon(toolIcon(icon));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    return b;
  };
  RxSpeedButton1 = button("RxSpeedButton1", QStringLiteral("Сохранить результаты"), ToolIcon::Save, 59);
  RxSpeedButton2 = button("RxSpeedButton2", QStringLiteral("Выделить все"), ToolIcon::SelectAll, 25);
  RxSpeedButton3 = button("RxSpeedButton3", QStringLiteral("Копировать"), ToolIcon::Copy, 25);
  RxSpeedButton6 = button("RxSpeedButton6", QStringLiteral("Печать"), ToolIcon::Print, 25);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(3, 2, 3, 2);
  row->setSpacing(1);
  int bevel = 0;
  auto addBevel = [this, row, &bevel] {
    row->addSpacing(3);
    auto* line = new QFrame(Panel1);
    line->setObjectName(QStringLiteral("Bevel%1").arg(++bevel));
    line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    line->setFixedWidth(2);
    row->addWidget(line);
    row->addSpacing(3);
  };
  row->addWidget(RxSpeedButton1);
  addBevel();
  row->addWidget(RxSpeedButton2);
  row->addWidget(RxSpeedButton3);
  addBevel();
  row->addWidget(RxSpeedButton6);
  addBevel();
  row->addStretch(1);
}

void TPros_form::createMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
  file->setObjectName(QStringLiteral("N1"));
  N2 = file->addAction(QStringLiteral("&Сохранить результаты  ..."));
  N2->setObjectName(QStringLiteral("N2"));
  file->addSeparator()->setObjectName(QStringLiteral("N3"));
  N6 = file->addAction(QStringLiteral("&Печать"));
  N6->setObjectName(QStringLiteral("N6"));
  file->addSeparator()->setObjectName(QStringLiteral("N5"));
  N4 = file->addAction(QStringLiteral("&Закрыть"));
  N4->setObjectName(QStringLiteral("N4"));
  N4->setShortcut(QKeySequence(Qt::Key_Escape));
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
  edit->setObjectName(QStringLiteral("N7"));
  N9 = edit->addAction(QStringLiteral("&Копировать"));
  N9->setObjectName(QStringLiteral("N9"));
  N8 = edit->addAction(QStringLiteral("&Выделить все"));
  N8->setObjectName(QStringLiteral("N8"));
}

// A minimised viewer is not told of an activation, so it is brought up to date here at
// once; the activation that follows is then not a second reload (nor a second error box).
void TPros_form::showResults() {
  const bool willActivate = !isActiveWindow();
  showFormActive(this);
  reloadedByShowing_ = willActivate;
  FormActivate();
}

void TPros_form::activated() {
  if (std::exchange(reloadedByShowing_, false)) return;
  FormActivate();
}

void TPros_form::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (placed_ || event->spontaneous()) return;
  // The design's place (187, 30) lies on the main window's toolbar wherever the window
  // system put the main window, and the user's next click landed in the viewer. The
  // first showing keeps the size and opens beside the main window; the window system
  // decorates it as it does the main window.
  placed_ = true;
  const QSize decoration = main_->frameGeometry().size() - main_->size();
  move(placeBeside(main_->workingArea(), size() + decoration, main_->screen()->availableGeometry()));
}

void TPros_form::FormActivate() {
  setWindowTitle(theModel().Optimised == 1 ? QStringLiteral("Просмотр результатов расчета (после оптимизации)")
                                           : QStringLiteral("Просмотр результатов расчета (без оптимизации)"));
  // A file that cannot be read leaves the previous text in place.
  runCommand(this, [this] { Memo1->setPlainText(readResultsText(QString::fromUtf8(kResultsFileName))); });
}

// "Сохранить результаты  ...": the text as it stands in the box, the user's edits included.
void TPros_form::N2Click() {
  int filter = 0;
  const QString name = chooseFileToSave(this, QString::fromUtf8(kResultsFilter), QStringLiteral("rez"), &filter);
  if (name.isEmpty()) return;
  const bool utf8 = filter == 1 || name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
  runCommand(this, [this, &name, utf8] {
    const std::string bytes = resultsFileBytes(*Memo1, utf8);
    try {
      writeFileSafely(QFile::encodeName(name).toStdString(), bytes);
    } catch (const CommandError& error) {
      // The runtime's text, then why: a full disk and a locked folder need different cures.
      throw CommandError("Cannot create file " + name.toStdString() + ". " + error.what());
    }
  });
}

// "Закрыть" (and Escape): the window is only hidden; its text stays until the next
// activation.
void TPros_form::N4Click() { close(); }

void TPros_form::N6Click() { RxSpeedButton6->click(); }
void TPros_form::N8Click() { RxSpeedButton2->click(); }
void TPros_form::N9Click() { RxSpeedButton3->click(); }
void TPros_form::RxSpeedButton1Click() { N2->trigger(); }
void TPros_form::RxSpeedButton2Click() { Memo1->selectAll(); }
void TPros_form::RxSpeedButton3Click() { Memo1->copy(); }

// "Печать": the main window's "Печать результатов", which prints from the model, not
// from the text shown here.
void TPros_form::RxSpeedButton6Click() { main_->RxSpeedButton8->click(); }

}  // namespace velko
