#include "ui/charts/chart_pictures.h"

#include <gtest/gtest.h>

#include "charts_test_support.h"
#include "model/command_error.h"
#include "ui/charts/chart_export.h"
#include "ui/charts/network_layout.h"
#include "ui/charts/optimisation_log.h"

namespace velko {
namespace {

using testing::isRed;
using testing::near;

// The point halfway along the first Bezier segment of a work's arrow, in picture units.
QPointF arrowMiddle(const WorkRoute& route) {
  const QPointF* p = route.spline.data();
  return networkOrigin() + (p[0] + 3 * p[1] + 3 * p[2] + p[3]) / 8;
}

const WorkRoute& routeOf(const NetworkLayout& layout, int i, int j) {
  for (const WorkRoute& route : layout.works) {
    if (route.I == i && route.J == j) return route;
  }
  throw std::runtime_error("no such work");
}

bool isGrey(QColor c) { return c.saturation() < 40 && c.value() < 160; }

// Red follows the critical works of the variant shown: (2,3) before the optimisation,
// (1,3) after it.
TEST(NetworkPicture, CriticalArrowsRedInEitherVariant) {
  const testing::Run run = testing::optimise(3, testing::kThreeEvents);
  for (int variant : {1, 2}) {
    const QImage image = renderPicture(networkPicture(*run.model, variant));
    ASSERT_TRUE(testing::notBlank(image));
    const NetworkLayout layout = layoutNetwork(3, workTimings(*run.model, variant));
    const QPointF critical = arrowMiddle(routeOf(layout, variant == 1 ? 2 : 1, 3));
    const QPointF plain = arrowMiddle(routeOf(layout, variant == 1 ? 1 : 2, 3));
    EXPECT_TRUE(near(image, critical.x(), critical.y(), 2, isRed)) << "variant " << variant;
    EXPECT_FALSE(near(image, plain.x(), plain.y(), 3, isRed)) << "variant " << variant;
    EXPECT_TRUE(near(image, plain.x(), plain.y(), 2, isGrey)) << "variant " << variant;
  }
}

TEST(NetworkPicture, TooltipsNameEventsAndWorks) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  const ChartPicture picture = networkPicture(*run.model, 1);
  const NetworkLayout layout = layoutNetwork(3, workTimings(*run.model, 1));
  EXPECT_EQ(picture.toolTip(networkOrigin() + layout.events[1].centre),
            QStringLiteral("Событие 2\nРанний срок: 0\nПоздний срок: 0\nРезерв: 0"));
  EXPECT_TRUE(picture.toolTip(networkOrigin() + routeOf(layout, 1, 3).labelCentre)
                  .startsWith(QStringLiteral("Работа 1-3, Id 7")));
}

TEST(BarChart, BarsAtEarlyStartsWithFloatTails) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  const std::vector<BarRow> rows = barChartRows(*run.model, 1);
  ASSERT_EQ(rows.size(), 3u);
  // Scan order: (1,2), (1,3), (2,3). (1,3) runs days 0..2 with free float 4.
  const BarRow& donor = rows[1];
  EXPECT_EQ(donor.work.I, 1);
  EXPECT_EQ(donor.work.J, 3);
  const double day = (rows[2].bar.right() - rows[2].bar.left()) / 6;  // (2,3) lasts 6 days
  EXPECT_NEAR(donor.bar.width(), 2 * day, 1e-6);
  EXPECT_NEAR(donor.freeEnd - donor.bar.right(), 4 * day, 1e-6);
  EXPECT_NEAR(donor.totalEnd, donor.freeEnd, 1e-6);
  EXPECT_LT(rows[0].row.bottom(), rows[2].row.top() + 1);
}

TEST(BarChart, CriticalBarsRedOthersNot) {
  const testing::Run run = testing::network20();
  for (int variant : {1, 2}) {
    const QImage image = renderPicture(barChartPicture(*run.model, variant));
    ASSERT_TRUE(testing::notBlank(image));
    int critical = 0;
    for (const BarRow& row : barChartRows(*run.model, variant)) {
      // Left of the workers' number written inside the bar.
      const QPoint inside(static_cast<int>(row.bar.left() + std::min(2.0, row.bar.width() / 2)),
                          static_cast<int>(row.bar.center().y()));
      EXPECT_EQ(isRed(image.pixelColor(inside)), row.work.critical)
          << row.work.I << "-" << row.work.J << " variant " << variant;
      critical += row.work.critical ? 1 : 0;
    }
    EXPECT_GT(critical, 0);
  }
}

// A float that reaches an event without successors (late time 10000) is cut at the axis.
TEST(BarChart, TailsStayOnTheAxis) {
  const testing::Run run = testing::calculate(4, {{"1", "2", "3", "1", "1"}, {"1", "3", "1", "1", "1"}, {"2", "4", "2", "1", "1"}});
  const std::vector<BarRow> rows = barChartRows(*run.model, 1);
  const DayAxis axis = dayAxisFor(chartDays(*run.model));
  for (const BarRow& row : rows) EXPECT_LE(row.totalEnd, axis.right() + 1e-6);
}

// The legend ran past the picture's edge ("длина крити…") on a short network.
TEST(BarChart, LegendEndsInsideThePicture) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  const QImage image = renderPicture(barChartPicture(*run.model, 1));
  int inked = 0;
  for (int y = image.height() - 40; y < image.height(); ++y) {
    for (int x = image.width() - 12; x < image.width(); ++x) inked += image.pixelColor(x, y) != Qt::white ? 1 : 0;
  }
  EXPECT_EQ(inked, 0);
}

TEST(BarChart, TooltipCarriesEveryFigure) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  const std::vector<BarRow> rows = barChartRows(*run.model, 1);
  const ChartPicture picture = barChartPicture(*run.model, 1);
  EXPECT_EQ(picture.toolTip(rows[1].bar.center()),
            QStringLiteral("Работа 1-3, Id 7\nПродолжительность: 2 дн., рабочих: 6\n"
                           "Раннее начало: 0, раннее окончание: 2\nПозднее начало: 4, позднее окончание: 6\n"
                           "Резерв полный: 4, свободный: 4, независимый: 4"));
  EXPECT_TRUE(picture.toolTip(QPointF(1, 1)).isEmpty());
}

// (1,2) t2 n3, (1,3) t1 n2, (2,3) t3 n1: 5 workers on day 1, 3 on day 2, 1 after;
// volume 11 over a length of 5.
TEST(ProfileFigures, WorkedByHand) {
  const testing::Run run = testing::calculate(3, {{"1", "2", "2", "3", "1"}, {"1", "3", "1", "2", "2"}, {"2", "3", "3", "1", "3"}});
  const std::vector<QStringList> rows = profileFigureRows(*run.model);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].mid(1), QStringList{QStringLiteral("5")});
  EXPECT_EQ(rows[1].mid(1), QStringList{QStringLiteral("11")});
  EXPECT_EQ(rows[2].mid(1), QStringList{QStringLiteral("5")});
  EXPECT_EQ(rows[3].mid(1), QStringList{QStringLiteral("2,2")});
  EXPECT_EQ(rows[4].mid(1), QStringList{QStringLiteral("2,27")});
}

TEST(ProfileFigures, BothVariantsAfterOptimise) {
  const testing::Run run = testing::optimise(3, testing::kThreeEvents);
  const std::vector<QStringList> rows = profileFigureRows(*run.model);
  EXPECT_EQ(rows[0].mid(1), (QStringList{QStringLiteral("6"), QStringLiteral("6")}));
  EXPECT_EQ(rows[1].mid(1), (QStringList{QStringLiteral("24"), QStringLiteral("24")}));
  EXPECT_EQ(rows[2].mid(1), (QStringList{QStringLiteral("8"), QStringLiteral("8")}));
  EXPECT_EQ(rows[4].mid(1), (QStringList{QStringLiteral("2"), QStringLiteral("2")}));
}

TEST(ProfilePicture, SecondColourOnlyAfterOptimise) {
  const auto hasColour = [](const QImage& image, QColor colour) {
    return testing::countPixels(image, [&](QColor c) { return c == colour; }) > 50;
  };
  const QImage before = renderPicture(profilePicture(*testing::calculate(3, testing::kThreeEvents).model));
  const QImage both = renderPicture(profilePicture(*testing::network20().model));
  ASSERT_TRUE(testing::notBlank(before));
  EXPECT_TRUE(hasColour(before, kBeforeColour));
  EXPECT_FALSE(hasColour(before, kAfterColour));
  EXPECT_TRUE(hasColour(both, kBeforeColour));
  EXPECT_TRUE(hasColour(both, kAfterColour));
  EXPECT_GT(testing::countPixels(both, isRed), 20);  // the critical path length marker
}

// A donor that moved nobody is muted: its critical work is not drawn in red.
TEST(LogPicture, CriticalWorkColumnInRedUnlessNobodyMoved) {
  testing::Run run = testing::optimise(3, testing::kThreeEvents);
  const QImage image = renderPicture(optimisationLogPages(run.moves, true).front());
  EXPECT_TRUE(testing::notBlank(image));
  EXPECT_GT(testing::countPixels(image, isRed), 5);
  run.moves[0].freedWorkers = 0;
  EXPECT_EQ(testing::countPixels(renderPicture(optimisationLogPages(run.moves, true).front()), isRed), 0);
}

TEST(PictureRefusals, VariantTheModelDoesNotHold) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  EXPECT_THROW(networkPicture(*run.model, 2), CommandError);
  EXPECT_THROW(barChartPicture(*run.model, 0), CommandError);
  EXPECT_THROW(barChartRows(*run.model, 3), CommandError);
}

TEST(PictureRefusals, EmptyModelGivesAMessage) {
  TNetworkModel empty;
  const QImage image = renderPicture(networkPicture(empty, 1));
  EXPECT_TRUE(testing::countPixels(image, [](QColor c) { return c != QColor(Qt::white); }) > 0);
  EXPECT_FALSE(networkPicture(empty, 1).toolTip);
}

}  // namespace
}  // namespace velko
