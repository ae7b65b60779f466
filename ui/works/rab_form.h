#pragma once

#include <memory>

#include <QWidget>

#include "ui/works/works_undo.h"

class QAction;
class QMenu;
class QToolButton;

namespace velko {

class FormPlacement;
class SettingsStore;
class TMain;
class TStringGrid;
class WorksTableModel;

// The separate works window "Ввод данных": its own copy of the works table, refreshed
// from the main table on every activation. Every keystroke in one of its cells, and
// "Применить", copies the rows back into the main table at once.
class Trab_form : public QWidget {
 public:
  explicit Trab_form(TMain* main);
  ~Trab_form() override;

  // The per-user store that keeps this window's placement between runs.
  void setPlacementStore(SettingsStore& user);

  // Shows the window without making it modal, in front and active.
  void showForm();

  TStringGrid* StringGrid1 = nullptr;
  QToolButton* RxSpeedButton1 = nullptr;  // "Применить"
  QToolButton* RxSpeedButton2 = nullptr;  // "Отмена"
  QMenu* PopupMenu1 = nullptr;
  QAction* N1 = nullptr;  // "Удалить строку"
  QAction* N2 = nullptr;  // "Вставить строку"

  void FormActivate();
  void ApplyToMain();
  void RxSpeedButton1Click();
  void RxSpeedButton2Click();
  void N1Click();
  void N2Click();
  void StringGrid1SetEditText();

  QAction* undoAction() const { return undo_; }
  QAction* redoAction() const { return redo_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void copyFromMain();
  void applyToMain(const QString& name, TypingKey typing = {});

  TMain* main_;
  WorksTableModel* works_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  bool applying_ = false;  // this window's own change reaching the main table
  std::unique_ptr<FormPlacement> FormPlacement1;
};

}  // namespace velko
