// The main window and the separate works window at the largest works table, driven as a
// user drives them, offscreen: the time each step takes and the memory the data set
// costs. Reports figures only; nothing here asserts a time.
//
//   works_table_probe           every step, then 500 undo steps, then the memory
//   works_table_probe --empty   the windows only: the empty program's memory
//   works_table_probe --shot F  every step, the window saved to F (PNG) once opened
//   works_table_probe --steps   the table opened and the 500 undo steps only, so freed
//                               memory of the other steps is not reused by them
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFont>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/main_form.h"
#include "ui/works/rab_form.h"
#include "ui/works/works_grid.h"
#include "ui/works/works_table_model.h"
#include "ui/works/works_undo.h"

namespace {

using namespace velko;

long statusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  }
  return 0;
}

// Milliseconds of one call, the posted events it leaves behind included, and the
// grids painted as a screen would paint them.
double timed(const std::function<void()>& step, const std::vector<QWidget*>& shown) {
  QElapsedTimer clock;
  clock.start();
  step();
  QApplication::processEvents();
  for (QWidget* widget : shown) {
    if (widget->isVisible()) widget->repaint();
  }
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void report(const char* what, double ms) { std::printf("%-58s %9.2f ms\n", what, ms); }

void reportMedian(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-58s %9.2f ms (median of %zu, worst %.2f)\n", what, times[times.size() / 2], times.size(),
              times.back());
}

QString blockOf(int rows) {
  QString text;
  text.reserve(rows * 10);
  for (int k = 0; k < rows; ++k) text += QStringLiteral("1\t2\t3\t4\t5\n");
  return text;
}

void pressKeys(const QKeySequence& keys) { QTest::keySequence(QApplication::focusWidget(), keys); }

void clickCell(QTableView* grid, int row, int column) {
  const QModelIndex index = grid->model()->index(row - 1, column);
  grid->scrollTo(index);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(index).center());
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string home = (std::filesystem::temp_directory_path() / "velko-probe-home").string();
  std::filesystem::create_directories(home + "/runtime");
  std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
  qputenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str());
  qputenv("HOME", home.c_str());
  qputenv("XDG_CONFIG_HOME", (home + "/.config").c_str());
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool empty = mode == "--empty";
  const bool stepsOnly = mode == "--steps";

  auto* main = new TMain;
  auto* rab = new Trab_form(main);
  main->setWorksWindow(rab);
  main->show();
  main->activateWindow();
  (void)QTest::qWaitForWindowActive(main);
  // Error boxes answered at once, their texts shown.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::printf("  box: %s\n", box->text().toUtf8().constData());
      box->done(0);
    }
  });
  answer.start(0);
  QTest::qWait(50);
  const long emptyRss = statusKb("VmRSS:");
  std::printf("RSS, empty program                                          %9ld KB\n", emptyRss);
  if (empty) return 0;

  TStringGrid* grid = main->StringGrid1;
  const std::vector<QWidget*> shown{grid, rab->StringGrid1};
  const int works = kMaxWorks - 1;  // one short of full, so a row can be inserted

  // As "Открыть ..." does after the file is read: the rows into the table, the counts into
  // the boxes, "Данные по работам". The reading of the file is not part of it.
  double fill = 0;
  report("open: table shown (rows filled, counts taken, painted)", timed([&] {
           QElapsedTimer rows;
           rows.start();
           main->worksModel()->change([works](WorksTable& table) {
             for (int r = 1; r <= works; ++r) {
               table.setRow(r, {std::to_string(r % 49 + 1), "50", "1,5", std::to_string(r % 9 + 1), std::to_string(r)});
             }
           });
           fill = static_cast<double>(rows.nsecsElapsed()) / 1e6;
           main->CurrencyEdit2->setText(QString::number(works));
           main->CurrencyEdit3->setText(QStringLiteral("50"));
           main->RxSpeedButton1->click();
         }, shown));
  report("  of which the rows filled (the reader's share)", fill);
  if (mode == "--shot" && argc > 2) {
    grid->scrollToBottom();
    main->grab().save(QString::fromLocal8Bit(argv[2]));
  }

  if (!stepsOnly) {
  report("scroll to the last row", timed([&] { grid->scrollToBottom(); }, shown));
  report("scroll to the middle", timed([&] { grid->verticalScrollBar()->setValue(works / 2); }, shown));
  clickCell(grid, works - 5, 0);
  std::vector<double> keys;
  for (int k = 0; k < 21; ++k) keys.push_back(timed([] { QTest::keyClick(QApplication::focusWidget(), '7'); }, shown));
  reportMedian("typing into a cell (one key, one undo step merged)", keys);
  std::vector<double> moves;
  for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right,
                      Qt::Key_PageDown, Qt::Key_PageUp}) {
    moves.push_back(timed([key] { QTest::keyClick(QApplication::focusWidget(), key); }, shown));
    moves.push_back(timed([] { QTest::keyClick(QApplication::focusWidget(), '3'); }, shown));
  }
  reportMedian("Tab, Enter, arrows, pages, each followed by a key", moves);
  clickCell(grid, 1, 0);
  report("insert a row at the top", timed([&] { main->N17->trigger(); }, shown));
  report("delete the row at the top", timed([&] { main->N16->trigger(); }, shown));
  report("undo", timed([&] { main->N22->trigger(); }, shown));
  report("redo", timed([&] { main->N23->trigger(); }, shown));

  clickCell(grid, 1, 0);
  QApplication::clipboard()->setText(blockOf(10000));
  report("paste 10000 rows at row 1", timed([&] { pressKeys(QKeySequence::Paste); }, shown));
  std::printf("  undo step: %s\n", main->N22->text().toUtf8().constData());
  report("undo the paste", timed([&] { main->N22->trigger(); }, shown));
  report("redo the paste", timed([&] { main->N23->trigger(); }, shown));
  report("undo it again", timed([&] { main->N22->trigger(); }, shown));

  QApplication::clipboard()->setText(blockOf(kMaxWorks));
  clickCell(grid, 2, 0);
  report("paste 100000 rows at row 2 (refused)", timed([&] {
           pressKeys(QKeySequence::Paste);
           QTest::qWait(5);  // the refusal's box, answered
         }, shown));
  main->activateWindow();
  (void)QTest::qWaitForWindowActive(main);
  clickCell(grid, 1, 0);
  report("paste 100000 rows at row 1 (taken)", timed([&] { pressKeys(QKeySequence::Paste); }, shown));
  std::printf("  rows now %d\n", grid->model()->rowCount());
  report("undo it", timed([&] { main->N22->trigger(); }, shown));

  report("select all", timed([&] { grid->selectAll(); }, shown));
  report("copy every row", timed([&] { pressKeys(QKeySequence::Copy); }, shown));
  std::printf("  clipboard %lld characters\n", static_cast<long long>(QApplication::clipboard()->text().size()));
  report("clear every row (Delete)", timed([&] { pressKeys(QKeySequence::Delete); }, shown));
  report("undo the clear", timed([&] { main->N22->trigger(); }, shown));

  report("separate window: shown with its activation copy", timed([&] { main->N18->trigger(); }, shown));
  QTest::qWait(20);
  clickCell(rab->StringGrid1, works - 3, 2);
  std::vector<double> separate;
  for (int k = 0; k < 21; ++k) {
    separate.push_back(timed([] { QTest::keyClick(QApplication::focusWidget(), '5'); }, shown));
  }
  reportMedian("separate window: one key (copied to the main table)", separate);
  clickCell(rab->StringGrid1, 1, 0);
  report("separate window: insert a row at the top", timed([&] { rab->N2->trigger(); }, shown));
  report("separate window: apply button", timed([&] { rab->RxSpeedButton1->click(); }, shown));
  report("separate window: activation again", timed([&] { rab->FormActivate(); }, shown));
  rab->close();
  main->N22->trigger();
  QApplication::processEvents();

  }

  // A long session: cell edits and rows inserted at the top, each its own undo step.
  main->history()->restart();
  QApplication::processEvents();
  const long beforeSteps = statusKb("VmRSS:");
  main->RxSpeedButton1->click();  // shown again after the separate window collapsed it
  main->RxSpeedButton1->click();
  QApplication::processEvents();
  QElapsedTimer session;
  session.start();
  for (int step = 0; step < 500; ++step) {
    if (step % 2 == 0) {
      const int row = 1 + (step * 197) % (works - 300);
      const QModelIndex index = grid->model()->index(row - 1, step % kWorksColumns);
      grid->model()->setData(index, QString::number(step), Qt::EditRole);
    } else {
      grid->setCurrentIndex(grid->model()->index(0, 0));
      if (grid->model()->rowCount() >= kMaxWorks) main->N16->trigger();
      main->N17->trigger();
    }
    grid->works()->beginEditSession();  // each edit its own step
  }
  QApplication::processEvents();
  std::printf("500 steps (cell edits, rows inserted at the top)           %9.2f ms in all\n",
              static_cast<double>(session.nsecsElapsed()) / 1e6);
  std::printf("undo steps held                                              %9d\n", main->history()->stack()->count());
  const long afterSteps = statusKb("VmRSS:");
  std::printf("RSS, 100000 works shown                                      %9ld KB\n", beforeSteps);
  std::printf("RSS, and 500 undo steps                                      %9ld KB\n", afterSteps);
  std::printf("RSS above the empty program                                  %9ld KB\n", afterSteps - emptyRss);
  std::printf("peak RSS (VmHWM)                                             %9ld KB\n", statusKb("VmHWM:"));
  QElapsedTimer undoAll;
  undoAll.start();
  while (main->history()->stack()->canUndo()) main->history()->stack()->undo();
  std::printf("all 500 steps undone                                         %9.2f ms\n",
              static_cast<double>(undoAll.nsecsElapsed()) / 1e6);
  delete main;
  return 0;
}
