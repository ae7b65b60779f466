#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace velko {

// The status line's panel: a horizontal gradient from white to the program's grey.
class TGradientPanel : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A label whose text carries a one-pixel shadow to the right and below.
class TShadowLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The status text: the program's 39-character line, three blanks and the group code.
// The line is kept scrambled in the binary and assembled on every call.
QString statusText();

}  // namespace velko
