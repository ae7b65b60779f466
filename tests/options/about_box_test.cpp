#include "ui/options/about_box.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "options_test_support.h"
#include "ui/options/credits_panel.h"
#include "velko_version.h"

namespace velko {
namespace {

TEST(CreditLines, TwentyFiveInTheirOrder) {
  const QStringList lines = creditLines();
  ASSERT_EQ(lines.size(), 25);
  for (int n : {0, 1, 2, 3, 4, 5, 6, 9, 13, 15, 19, 21, 23}) EXPECT_TRUE(lines[n].isEmpty()) << n;
  EXPECT_EQ(lines[7], QStringLiteral("Программа расчета и оптимизации"));
  EXPECT_EQ(lines[8], QStringLiteral("трудовых ресурсов по времени"));
  EXPECT_EQ(lines[14], QStringLiteral("Авторы :"));
  EXPECT_EQ(lines[17], QStringLiteral("и"));
  EXPECT_EQ(lines[22], QStringLiteral("Version ") + QLatin1String(kProgramVersion));
  for (int n : {10, 11, 12, 16, 18, 20, 24}) EXPECT_FALSE(lines[n].isEmpty()) << n;
}

// The scroll is driven by calling the timer's step directly, never by waiting.
class AboutBox : public ::testing::Test {
 protected:
  void open() {
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  }
  void steps(int count) {
    for (int i = 0; i < count; ++i) panel->step();
  }

  TAbove about;
  CreditsPanel* panel = about.SecretPanel1;
};

TEST_F(AboutBox, ScrollsOnePixelPerStepAndCyclesAfterTheLastLine) {
  open();
  const int last = panel->lastOffset();
  ASSERT_EQ(last, 24 * panel->lineHeight());
  steps(last);
  EXPECT_EQ(panel->offset(), last);
  EXPECT_EQ(panel->lineTop(24), panel->textArea().top());
  panel->step();
  EXPECT_EQ(panel->offset(), 0);
  steps(3);
  EXPECT_EQ(panel->offset(), 3);
}

TEST_F(AboutBox, EveryOpeningStartsFromTheFirstLine) {
  open();
  steps(57);
  about.Button1->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
  open();
  EXPECT_EQ(panel->offset(), 0);
  EXPECT_EQ(panel->lineTop(0), panel->textArea().top());
}

// The description enters from below: at the start it lies under the visible text area,
// and the picture above the text is never scrolled over.
TEST_F(AboutBox, DescriptionEntersFromBelowThePicture) {
  open();
  const QRect area = panel->textArea();
  EXPECT_GT(area.top(), 16);
  EXPECT_GE(panel->lineTop(7), area.bottom());
  steps(panel->lineTop(7) - area.top());
  EXPECT_EQ(panel->lineTop(7), area.top());
}

TEST_F(AboutBox, ScrollsEvery40MillisecondsOnlyWhileShown) {
  EXPECT_FALSE(panel->isScrolling());
  open();
  EXPECT_TRUE(panel->isScrolling());
  EXPECT_EQ(panel->stepInterval(), 40);
  about.close();
  EXPECT_FALSE(panel->isScrolling());
}

}  // namespace
}  // namespace velko
