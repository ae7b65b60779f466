#include <string>

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

// -100 and 0 were taken as print heights (a report of one row per page). A value out of
// its range is refused with the range and the unit, nothing changes, and the user is back
// in the faulty box with its text selected; so after a text that is no whole number.
TEST_F(ParamDialog, ValuesOutOfRangeAreRefusedAndTheFaultyBoxTakesTheFocus) {
  struct Case {
    const char* height;
    const char* zoom;
    QLineEdit* TParam::*box;  // the faulty box, none when Apply takes the values
    const char* message;
  };
  const char* heightRange = "Высота печати должна быть от 150 до 15000 точек устройства вывода";
  const char* zoomRange = "Увеличение должно быть от 10 до 200 процентов";
  const Case cases[] = {
      {"-100", "150", &TParam::CurrencyEdit1, heightRange}, {"149", "150", &TParam::CurrencyEdit1, heightRange},
      {"15001", "150", &TParam::CurrencyEdit1, heightRange}, {"900", "9", &TParam::CurrencyEdit2, zoomRange},
      {"900", "201", &TParam::CurrencyEdit2, zoomRange},     {"-", "150", &TParam::CurrencyEdit1, nullptr},
      {"150", "10", nullptr, nullptr},                       {"15000", "200", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.height) + " " + c.zoom);
    options = {};
    open();
    type(dialog.CurrencyEdit1, QString::fromUtf8(c.height));
    type(dialog.CurrencyEdit2, QString::fromUtf8(c.zoom));
    dialog.CurrencyEdit2->setFocus();
    errors.clear();
    dialog.RxSpeedButton1->click();
    if (c.box == nullptr) {
      EXPECT_TRUE(errors.isEmpty());
      EXPECT_FALSE(dialog.isVisible());
      EXPECT_EQ(options.PrintHeight, std::stoi(c.height));
      continue;
    }
    ASSERT_EQ(errors.size(), 1);
    if (c.message) {
      EXPECT_EQ(errors.front(), QString::fromUtf8(c.message));
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(options.PrintHeight, 750);
    EXPECT_EQ(options.PreviewZoom, 120);
    EXPECT_EQ(mainHeight.text(), QStringLiteral("750"));
    QLineEdit* box = dialog.*c.box;
    EXPECT_EQ(dialog.focusWidget(), box);
    EXPECT_EQ(box->selectedText(), box->text());
    dialog.close();
  }
}

// The reallocation's search time: in force and told to the program on Apply; a time
// refused is told with its range, changes nothing, the print options included, and the
// user is back in its box.
TEST_F(ParamDialog, SearchTimeOfTheReallocationIsTakenOrRefusedWhole) {
  TSolverOptions solver;
  int applied = 0;
  dialog.setSolverOptions(solver, [&] { ++applied; });
  struct Case {
    const char* seconds;
    int expected;  // 0: refused
  };
  const Case cases[] = {{"30", 30}, {"1", 1}, {"3600", 3600}, {"10", 10}, {"0", 0}, {"3601", 0}, {"2,5", 0}, {"-", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    solver = {};
    options = {};
    applied = 0;
    errors.clear();
    open();
    EXPECT_EQ(dialog.CurrencyEdit3->text(), QStringLiteral("10"));
    type(dialog.CurrencyEdit1, QStringLiteral("900"));
    type(dialog.CurrencyEdit3, QString::fromUtf8(c.seconds));
    dialog.RxSpeedButton1->click();
    if (c.expected != 0) {
      EXPECT_TRUE(errors.isEmpty());
      EXPECT_EQ(solver.ReallocationSeconds, c.expected);
      EXPECT_EQ(applied, c.expected == kDefaultReallocationSeconds ? 0 : 1);
      EXPECT_EQ(options.PrintHeight, 900);
      continue;
    }
    ASSERT_EQ(errors.size(), 1);
    if (std::string(c.seconds) == "0" || std::string(c.seconds) == "3601") {
      EXPECT_EQ(errors.front(), QStringLiteral("Время перераспределения должно быть от 1 до 3600 секунд"));
    }
    EXPECT_EQ(solver.ReallocationSeconds, kDefaultReallocationSeconds);
    EXPECT_EQ(options.PrintHeight, kDefaultPrintHeight);
    EXPECT_EQ(applied, 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.CurrencyEdit3->hasFocus());
    dialog.close();
  }
}

}  // namespace
}  // namespace velko
