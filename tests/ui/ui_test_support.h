#pragma once

#include <memory>

#include <gtest/gtest.h>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/main_form.h"
#include "ui/pros_form.h"
#include "ui/works/rab_form.h"

class QAction;
class QLineEdit;
class QTableView;

void PrintTo(const QString& text, std::ostream* out);

namespace velko::testing {

// Answers the modal windows the program opens while a test drives it: every message
// box is recorded and closed with its button, and each file dialog takes the next
// prepared answer (a name to choose, or cancel when none is left or the answer is empty).
class Modals {
 public:
  Modals();
  void chooseFile(const QString& path) { fileAnswers_ << path; }
  // The next message box gets this button instead of its first one.
  void answerBox(QMessageBox::StandardButton button) { boxAnswers_ << button; }
  struct Box {
    QMessageBox::Icon icon;
    QString text;
    QString details;  // the box's detailed text, if any
  };
  QList<Box> boxes;
  QStringList texts() const;

 private:
  void poll();
  QTimer timer_;
  QStringList fileAnswers_;
  QList<QMessageBox::StandardButton> boxAnswers_;
  QWidget* accepting_ = nullptr;  // a file dialog about to be accepted
};

// Answers the program's questions (the unsaved-changes box: "Да", "Нет", "Отмена") with
// the next prepared answer, "Нет" when none is left, and records their texts. Modals
// leaves these boxes to it.
class Questions {
 public:
  Questions();
  void answer(QMessageBox::StandardButton button) { answers_ << button; }
  QStringList asked;
  QMessageBox::StandardButtons buttons;  // those of the last question

 private:
  void poll();
  QTimer timer_;
  QList<QMessageBox::StandardButton> answers_;
};

// Whether `window` has the window system's focus, and waiting for it: a window the
// program shows or activates gets it through the event queue.
bool isFocusWindow(QWidget* window);
bool waitUntilActive(QWidget* window);

// The program's windows as app/main.cpp creates them, in a scratch current folder, the
// main window shown and active.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QString path(const QString& name) const { return dir_.filePath(name); }
  QString readFile(const QString& name) const;  // bytes as Latin-1, to see CR LF
  QString readCp1251(const QString& name) const;
  void writeFile(const QString& name, const QByteArray& bytes) const;

  // As a user does: a click into the box (which selects its text), then the keys.
  void typeInto(QLineEdit* box, const QString& text);
  // Keys to whatever has the focus, one by one (the table's cell editor opens with the
  // first one and takes the rest).
  void typeKeys(const QString& text);
  void pressKey(Qt::Key key);
  void clickCell(QTableView* grid, int row, int column);  // row 1.. as the table counts
  QString mainCell(int column, int row) const;
  QString gridCell(QTableView* grid, int column, int row) const;
  void fillMainTable(const QStringList& rows);  // "I;J;t;n;Id" per row into the model
  // Counts typed, "Данные по работам" pressed, rows typed into the main table.
  void enterWorks(int events, const QStringList& rows);
  void activate(QWidget* window);

  QTemporaryDir dir_;
  QString oldCurrent_;
  Questions questions;
  TMain* main = nullptr;
  Trab_form* rab = nullptr;
  TPros_form* pros = nullptr;
};

}  // namespace velko::testing
