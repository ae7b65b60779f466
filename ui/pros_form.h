#pragma once

#include <QMainWindow>

class QAction;
class QFrame;
class QPlainTextEdit;
class QShowEvent;
class QToolButton;

namespace velko {

class TMain;

// The results viewer: shows the results file of the last run, lets the user save an
// edited copy, select and copy text, and print the results (the main window's print
// command). Each activation reloads the file and discards edits made in the text box.
class TPros_form : public QMainWindow {
 public:
  explicit TPros_form(TMain* main);

  // Shows the window without making it modal, restored from minimised, in front and
  // active, with the caption and the text of the results file brought up to date.
  void showResults();

  QFrame* Panel1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QToolButton* RxSpeedButton1 = nullptr;  // "Сохранить результаты"
  QToolButton* RxSpeedButton2 = nullptr;  // "Выделить все"
  QToolButton* RxSpeedButton3 = nullptr;  // "Копировать"
  QToolButton* RxSpeedButton6 = nullptr;  // "Печать"
  QAction* N2 = nullptr;  // "Сохранить результаты  ..."
  QAction* N4 = nullptr;  // "Закрыть"
  QAction* N6 = nullptr;  // "Печать"
  QAction* N8 = nullptr;  // "Выделить все"
  QAction* N9 = nullptr;  // "Копировать"

  void FormActivate();
  void N2Click();
  void N4Click();
  void N6Click();
  void N8Click();
  void N9Click();
  void RxSpeedButton1Click();
  void RxSpeedButton2Click();
  void RxSpeedButton3Click();
  void RxSpeedButton6Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createToolbar();
  void createMenus();
  void activated();
  TMain* main_;
  bool placed_ = false;
  bool reloadedByShowing_ = false;
};

}  // namespace velko
