#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QShowEvent;

namespace velko {

class CreditsPanel;

// The 25 lines of the credits, in the order they scroll.
QStringList creditLines();

// The About box "Авторы": the program's description and credits, scrolling. Opened
// modally; every opening starts again from the first line.
class TAbove : public QDialog {
  Q_OBJECT

 public:
  explicit TAbove(QWidget* parent = nullptr);

  void FormActivate();

  CreditsPanel* SecretPanel1;
  QPushButton* Button1;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace velko
