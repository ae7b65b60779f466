#include "ui/options/param_dialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QToolButton>

#include "model/command_error.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

// A numeric box: digits with a sign and a decimal separator can be typed; whether the
// text is a whole number is Apply's question, so that its message names the text.
QLineEdit* makeNumberBox(QWidget* parent, const char* name, const QRect& geometry) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(geometry);
  box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  box->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[-+]?[0-9]*[,.]?[0-9]*")), box));
  return box;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QToolButton* makeFlatButton(QWidget* parent, const char* name, const QString& text,
                            const QRect& geometry) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TParam::TParam(TPrintOptions& options, PrintOptionBoxes mainBoxes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      options_(options),
      mainBoxes_(mainBoxes),
      reporter_([this](const QString& message) { showError(this, message); }) {
  setObjectName(QStringLiteral("Param"));
  setWindowTitle(QStringLiteral("Опции"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(266, 118);

  GroupBox1 = new QGroupBox(QStringLiteral("Просмотр"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(8, 4, 250, 74);
  RxLabel1 = makeLabel(GroupBox1, "RxLabel1", QStringLiteral("Высота печати :"),
                       QRect(10, 20, 120, 21));
  CurrencyEdit1 = makeNumberBox(GroupBox1, "CurrencyEdit1", QRect(138, 20, 98, 21));
  RxLabel2 = makeLabel(GroupBox1, "RxLabel2", QStringLiteral("Увеличение :"),
                       QRect(10, 46, 120, 21));
  CurrencyEdit2 = makeNumberBox(GroupBox1, "CurrencyEdit2", QRect(138, 46, 98, 21));
  RxLabel1->setBuddy(CurrencyEdit1);
  RxLabel2->setBuddy(CurrencyEdit2);

  RxSpeedButton1 = makeFlatButton(this, "RxSpeedButton1", QStringLiteral("Применить"),
                                  QRect(8, 86, 121, 25));
  RxSpeedButton2 = makeFlatButton(this, "RxSpeedButton2", QStringLiteral("Отменить"),
                                  QRect(137, 86, 121, 25));

  // Apply's error must not cross the event loop: it is shown here, and the dialog stays.
  connect(RxSpeedButton1, &QToolButton::clicked, this, [this] {
    try {
      RxSpeedButton1Click();
    } catch (const PrintOptionError& error) {
      reporter_(QString::fromUtf8(error.what()));
      // Back in the box to mend, its text selected so that typing replaces it.
      QLineEdit* box = error.option == PrintOptionError::Height ? CurrencyEdit1 : CurrencyEdit2;
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    } catch (const SolverOptionError& error) {
      reporter_(QString::fromUtf8(error.what()));
      CurrencyEdit3->setFocus(Qt::OtherFocusReason);
      CurrencyEdit3->selectAll();
    } catch (const CommandError& error) {
      reporter_(QString::fromUtf8(error.what()));
    }
  });
  connect(RxSpeedButton2, &QToolButton::clicked, this, &TParam::RxSpeedButton2Click);
}

void TParam::setSolverOptions(TSolverOptions& options, std::function<void()> applied) {
  solver_ = &options;
  solverApplied_ = std::move(applied);
  GroupBox2 = new QGroupBox(QStringLiteral("Перераспределение"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(8, 82, 250, 48);
  auto* label = makeLabel(GroupBox2, "RxLabel3", QStringLiteral("Время поиска, с :"), QRect(10, 20, 120, 21));
  CurrencyEdit3 = makeNumberBox(GroupBox2, "CurrencyEdit3", QRect(138, 20, 98, 21));
  label->setBuddy(CurrencyEdit3);
  setTabOrder(CurrencyEdit2, CurrencyEdit3);
  setTabOrder(CurrencyEdit3, RxSpeedButton1);
  RxSpeedButton1->move(8, 138);
  RxSpeedButton2->move(137, 138);
  setFixedSize(266, 170);
  GroupBox2->show();
  if (isVisible()) FormActivate();
}

void TParam::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

void TParam::keyPressEvent(QKeyEvent* event) {
  // Enter presses the button that has the focus, else applies, as it presses the
  // default button of any dialog; the design's flat buttons cannot be a dialog's
  // default button themselves.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    auto* focused = qobject_cast<QToolButton*>(focusWidget());
    (focused ? focused : RxSpeedButton1)->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TParam::FormActivate() {
  CurrencyEdit1->setText(QString::number(options_.PrintHeight));
  CurrencyEdit2->setText(QString::number(options_.PreviewZoom));
  if (solver_) CurrencyEdit3->setText(QString::number(solver_->ReallocationSeconds));
}

void TParam::RxSpeedButton1Click() {
  // A refused search time changes nothing, the print options included.
  const std::int32_t seconds = solver_ ? reallocationSecondsFrom(CurrencyEdit3->text().toStdString()) : 0;
  takePrintOptions(options_, CurrencyEdit1->text().toStdString(),
                   CurrencyEdit2->text().toStdString());
  showPrintOptionsInBoxes(options_, mainBoxes_);
  if (solver_ && seconds != solver_->ReallocationSeconds) {
    solver_->ReallocationSeconds = seconds;
    if (solverApplied_) solverApplied_();
  }
  accept();
}

void TParam::RxSpeedButton2Click() { reject(); }

}  // namespace velko
