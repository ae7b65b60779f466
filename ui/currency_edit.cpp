#include "ui/currency_edit.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace velko {

TCurrencyEdit::TCurrencyEdit(const QString& text, QWidget* parent) : QLineEdit(parent) {
  // Set after construction: a text given to QLineEdit's constructor is shaped in the
  // application's font before the box takes its parent's, and shaped again after.
  setText(text);
  setAlignment(Qt::AlignCenter);
  // Every prefix of a number is acceptable, so Enter is never swallowed by the validator.
  setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*(,[0-9]*)?")), this));
}

void TCurrencyEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  selectAll();
}

}  // namespace velko
