#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "options_test_support.h"
#include "ui/options/param_dialog.h"

namespace velko {
namespace {

// The dialog as the main window uses it: modeless show() stands in for exec(), which
// would block the test; both run the same show and close paths.
class ParamDialog : public ::testing::Test {
 protected:
  ParamDialog() : dialog(options, {&mainHeight, &mainZoom}) {
    dialog.setErrorReporter([this](const QString& message) { errors << message; });
  }

  void open() {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  void type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
  }

  TPrintOptions options;
  QLineEdit mainHeight{QStringLiteral("750")};
  QLineEdit mainZoom{QStringLiteral("120")};
  TParam dialog;
  QStringList errors;
};

TEST_F(ParamDialog, EveryOpeningShowsTheValuesInForce) {
  open();
  EXPECT_EQ(dialog.CurrencyEdit1->text(), QStringLiteral("750"));
  EXPECT_EQ(dialog.CurrencyEdit2->text(), QStringLiteral("120"));
  dialog.close();

  options = {640, 90};
  open();
  EXPECT_EQ(dialog.CurrencyEdit1->text(), QStringLiteral("640"));
  EXPECT_EQ(dialog.CurrencyEdit2->text(), QStringLiteral("90"));
}

// Enter in a box did nothing; it presses "Применить", as the default button of a dialog.
TEST_F(ParamDialog, EnterApplies) {
  open();
  type(dialog.CurrencyEdit2, QStringLiteral("-"));
  QTest::keyClick(dialog.CurrencyEdit2, Qt::Key_Return);
  EXPECT_EQ(errors.size(), 1);  // "-" is no whole number: said, and the dialog stays
  EXPECT_TRUE(dialog.isVisible());
  type(dialog.CurrencyEdit2, QStringLiteral("150"));
  QTest::keyClick(dialog.CurrencyEdit2, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(options.PreviewZoom, 150);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  // On "Отменить", reached with Tab, Enter cancels.
  open();
  type(dialog.CurrencyEdit2, QStringLiteral("90"));
  dialog.RxSpeedButton2->setFocus();
  QTest::keyClick(dialog.RxSpeedButton2, Qt::Key_Return);
  EXPECT_EQ(options.PreviewZoom, 150);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(ParamDialog, ApplyPutsTheValuesInForceAndIntoTheHiddenBoxes) {
  open();
  type(dialog.CurrencyEdit1, QStringLiteral("900"));
  type(dialog.CurrencyEdit2, QStringLiteral("150"));
  dialog.RxSpeedButton1->click();

  EXPECT_EQ(options.PrintHeight, 900);
  EXPECT_EQ(options.PreviewZoom, 150);
  EXPECT_EQ(mainHeight.text(), QStringLiteral("900"));
  EXPECT_EQ(mainZoom.text(), QStringLiteral("150"));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ParamDialog, CancelAndTheCloseBoxChangeNothing) {
  open();
  type(dialog.CurrencyEdit1, QStringLiteral("900"));
  type(dialog.CurrencyEdit2, QStringLiteral("150"));
  dialog.RxSpeedButton2->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  open();
  EXPECT_EQ(dialog.CurrencyEdit1->text(), QStringLiteral("750"));
  type(dialog.CurrencyEdit2, QStringLiteral("150"));
  dialog.close();

  EXPECT_EQ(options.PrintHeight, 750);
  EXPECT_EQ(options.PreviewZoom, 120);
  EXPECT_EQ(mainHeight.text(), QStringLiteral("750"));
  EXPECT_EQ(mainZoom.text(), QStringLiteral("120"));
}

// The steps run in order: the new height is in force, while the hidden boxes (and so the
// stores) keep the old values, and the user can mend the text in the open dialog.
TEST_F(ParamDialog, BadZoomStopsApplyAfterTheHeight) {
  open();
  type(dialog.CurrencyEdit1, QStringLiteral("900"));
  type(dialog.CurrencyEdit2, QStringLiteral("12,5"));
  dialog.RxSpeedButton1->click();

  ASSERT_EQ(errors, QStringList{QStringLiteral("'12,5' is not a valid integer value")});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(options.PrintHeight, 900);
  EXPECT_EQ(options.PreviewZoom, 120);
  EXPECT_EQ(mainHeight.text(), QStringLiteral("750"));
  EXPECT_EQ(mainZoom.text(), QStringLiteral("120"));
  EXPECT_EQ(dialog.CurrencyEdit2->text(), QStringLiteral("12,5"));

  type(dialog.CurrencyEdit2, QStringLiteral("150"));
  dialog.RxSpeedButton1->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(mainZoom.text(), QStringLiteral("150"));
}

}  // namespace
}  // namespace velko
