#pragma once

#include <QLineEdit>

namespace velko {

// A numeric edit box: centred text, and only what a number can be made of may be typed
// (digits, a leading minus, the decimal comma). Whether the text is a valid whole
// number is for the command that reads it to say. A click selects the whole text, so
// the next keys replace it.
class TCurrencyEdit : public QLineEdit {
 public:
  explicit TCurrencyEdit(const QString& text, QWidget* parent = nullptr);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace velko
