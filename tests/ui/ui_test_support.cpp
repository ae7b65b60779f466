#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "data/text_codec.h"
#include "model/network_model.h"
#include "ui/currency_edit.h"
#include "ui/works/works_table_model.h"

namespace velko::testing {

Modals::Modals() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start();
}

QStringList Modals::texts() const {
  QStringList all;
  for (const Box& box : boxes) all << box.text;
  return all;
}

void Modals::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible() || modal == accepting_) return;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    if (box->icon() == QMessageBox::Question) return;  // for Questions
    boxes.push_back({box->icon(), box->text(), box->detailedText()});
    if (boxAnswers_.isEmpty()) {
      // The first button that answers: "Показать подробности..." only opens the details.
      for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::ActionRole) continue;
        button->click();
        break;
      }
    } else {
      box->button(boxAnswers_.takeFirst())->click();
    }
  } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
    const QString answer = fileAnswers_.isEmpty() ? QString() : fileAnswers_.takeFirst();
    if (answer.isEmpty()) {
      dialog->reject();
    } else {
      dialog->selectFile(answer);
      // Accepted from the event loop, not from this timer, so that the question the
      // dialog may ask before replacing a file is answered by this timer too.
      accepting_ = dialog;
      QTimer::singleShot(0, dialog, [this, dialog] {
        static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
        accepting_ = nullptr;
      });
    }
  }
}

Questions::Questions() {
  timer_.setInterval(0);
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start();
}

void Questions::poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible() || box->icon() != QMessageBox::Question) return;
  asked << box->text();
  buttons = box->standardButtons();
  box->button(answers_.isEmpty() ? QMessageBox::No : answers_.takeFirst())->click();
}

void WindowTest::SetUp() {
  static const auto* empty = new TNetworkModel();
  theModel() = *empty;
  ASSERT_TRUE(dir_.isValid());
  oldCurrent_ = QDir::currentPath();
  QDir::setCurrent(dir_.path());
  main = new TMain;
  rab = new Trab_form(main);
  main->setWorksWindow(rab);
  pros = new TPros_form(main);
  main->setResultsViewer(pros);
  main->show();
  ASSERT_TRUE(waitUntilActive(main));
}

void WindowTest::TearDown() {
  delete main;
  QDir::setCurrent(oldCurrent_);
}

QString WindowTest::readFile(const QString& name) const {
  QFile file(QDir(dir_.path()).filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("(missing)");
  return QString::fromLatin1(file.readAll());
}

QString WindowTest::readCp1251(const QString& name) const {
  QFile file(QDir(dir_.path()).filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("(missing)");
  return QString::fromStdString(cp1251ToUtf8(file.readAll().toStdString()));
}

void WindowTest::writeFile(const QString& name, const QByteArray& bytes) const {
  QFile file(QDir(dir_.path()).filePath(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

void WindowTest::typeInto(QLineEdit* box, const QString& text) {
  if (!isFocusWindow(box->window())) activate(box->window());  // the user's click would
  QTest::mouseClick(box, Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), box);
  typeKeys(text);
}

void WindowTest::typeKeys(const QString& text) {
  for (const QChar ch : text) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    if (ch.unicode() < 0x80) {
      QTest::keyClick(target, static_cast<char>(ch.unicode()));
    } else {
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
  }
}

void WindowTest::pressKey(Qt::Key key) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr);
  QTest::keyClick(target, key);
}

void WindowTest::clickCell(QTableView* grid, int row, int column) {
  const QModelIndex index = grid->model()->index(row - 1, column);
  grid->scrollTo(index);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(index).center());
}

QString WindowTest::mainCell(int column, int row) const {
  return QString::fromStdString(main->worksModel()->table().cell(column, row));
}

QString WindowTest::gridCell(QTableView* grid, int column, int row) const {
  return grid->model()->index(row - 1, column).data().toString();
}

void WindowTest::fillMainTable(const QStringList& rows) {
  main->worksModel()->change([&rows](WorksTable& table) {
    for (int r = 0; r < rows.size(); ++r) {
      const QStringList cells = rows[r].split(QLatin1Char(';'));
      for (int c = 0; c < cells.size(); ++c) table.setCell(c, r + 1, cells[c].toStdString());
    }
  });
}

void WindowTest::enterWorks(int events, const QStringList& rows) {
  typeInto(main->CurrencyEdit2, QString::number(rows.size()));
  typeInto(main->CurrencyEdit3, QString::number(events));
  main->RxSpeedButton1->click();
  fillMainTable(rows);
}

bool isFocusWindow(QWidget* window) {
  return window->windowHandle() && QGuiApplication::focusWindow() == window->windowHandle();
}

bool waitUntilActive(QWidget* window) {
  // Activation arrives through the window system's event queue.
  return QTest::qWaitFor([window] { return isFocusWindow(window); });
}

void WindowTest::activate(QWidget* window) {
  window->activateWindow();
  ASSERT_TRUE(waitUntilActive(window));
}

}  // namespace velko::testing
