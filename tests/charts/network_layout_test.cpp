#include "ui/charts/network_layout.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QRectF>

#include "../russian_numbers.h"
#include "charts_test_support.h"
#include "model/command_error.h"

namespace velko {
namespace {

QRectF labelBox(const WorkRoute& route) {
  return QRectF(route.labelCentre - QPointF(route.labelSize.width() / 2, route.labelSize.height() / 2),
                route.labelSize);
}

bool circleMeetsBox(QPointF centre, const QRectF& box) {
  const double x = std::clamp(centre.x(), box.left(), box.right());
  const double y = std::clamp(centre.y(), box.top(), box.bottom());
  return std::hypot(centre.x() - x, centre.y() - y) < kEventDiameter / 2;
}

class FiftyEventLayout : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    run_ = new testing::Run(testing::optimise(50, testing::fiftyEventRows()));
    works_ = new std::vector<WorkTiming>(workTimings(*run_->model, 1));
    layout_ = new NetworkLayout(layoutNetwork(50, *works_));
  }
  static void TearDownTestSuite() {
    delete layout_;
    delete works_;
    delete run_;
  }
  static testing::Run* run_;
  static std::vector<WorkTiming>* works_;
  static NetworkLayout* layout_;
};
testing::Run* FiftyEventLayout::run_ = nullptr;
std::vector<WorkTiming>* FiftyEventLayout::works_ = nullptr;
NetworkLayout* FiftyEventLayout::layout_ = nullptr;

TEST_F(FiftyEventLayout, PlacesEveryEventAndWorkInsideThePicture) {
  ASSERT_EQ(works_->size(), 100u);
  ASSERT_EQ(layout_->events.size(), 50u);
  ASSERT_EQ(layout_->works.size(), 100u);
  const QRectF picture(QPointF(0, 0), layout_->size);
  for (std::size_t e = 0; e < layout_->events.size(); ++e) {
    const EventPlace& place = layout_->events[e];
    EXPECT_EQ(place.number, static_cast<int>(e) + 1);
    const QRectF circle(place.centre - QPointF(kEventDiameter / 2, kEventDiameter / 2),
                        QSizeF(kEventDiameter, kEventDiameter));
    EXPECT_TRUE(picture.contains(circle)) << "event " << place.number;
  }
  for (const WorkRoute& route : layout_->works) {
    EXPECT_GE(route.spline.size(), 4u);
    EXPECT_TRUE(picture.contains(labelBox(route))) << route.I << "-" << route.J;
  }
}

TEST_F(FiftyEventLayout, NoTwoCirclesOverlap) {
  for (std::size_t a = 0; a < layout_->events.size(); ++a) {
    for (std::size_t b = a + 1; b < layout_->events.size(); ++b) {
      const QPointF d = layout_->events[a].centre - layout_->events[b].centre;
      EXPECT_GE(std::hypot(d.x(), d.y()), kEventDiameter) << "events " << a + 1 << " and " << b + 1;
    }
  }
}

TEST_F(FiftyEventLayout, LabelsClearOfCirclesAndOfEachOther) {
  for (std::size_t a = 0; a < layout_->works.size(); ++a) {
    const QRectF box = labelBox(layout_->works[a]);
    EXPECT_GT(box.width(), 20);
    for (const EventPlace& place : layout_->events) {
      EXPECT_FALSE(circleMeetsBox(place.centre, box))
          << "label of " << layout_->works[a].I << "-" << layout_->works[a].J << " on event " << place.number;
    }
    for (std::size_t b = a + 1; b < layout_->works.size(); ++b) {
      EXPECT_FALSE(box.intersects(labelBox(layout_->works[b])))
          << layout_->works[a].I << "-" << layout_->works[a].J << " and " << layout_->works[b].I << "-"
          << layout_->works[b].J;
    }
  }
}

// The text of a label, drawn smaller than the room reserved for it, stays clear of its
// own arrow: "11 / 3" once sat on it.
TEST_F(FiftyEventLayout, LabelTextClearOfItsArrow) {
  const double drawn = static_cast<double>(kWorkLabelPixels) / kWorkLabelRoomPixels;
  for (const WorkRoute& route : layout_->works) {
    const QSizeF size = route.labelSize * drawn;
    const QRectF text(route.labelCentre - QPointF(size.width() / 2, size.height() / 2), size);
    for (std::size_t k = 0; k + 3 < route.spline.size(); k += 3) {
      const QPointF* c = &route.spline[k];
      for (double t = 0; t <= 1; t += 0.05) {
        const double u = 1 - t;
        const QPointF at = u * u * u * c[0] + 3 * u * u * t * c[1] + 3 * u * t * t * c[2] + t * t * t * c[3];
        EXPECT_FALSE(text.contains(at)) << route.I << "-" << route.J;
      }
    }
  }
}

// Every work runs from the smaller event to the larger: drawn left to right.
TEST_F(FiftyEventLayout, WorksRunLeftToRight) {
  for (const WorkRoute& route : layout_->works) {
    const QPointF from = layout_->events[static_cast<std::size_t>(route.I - 1)].centre;
    const QPointF to = layout_->events[static_cast<std::size_t>(route.J - 1)].centre;
    EXPECT_LT(from.x(), to.x()) << route.I << "-" << route.J;
    EXPECT_EQ((*works_)[route.work].I, route.I);
    EXPECT_EQ((*works_)[route.work].J, route.J);
    // The arrow ends at the end event's circle.
    const QPointF gap = route.arrowTip - to;
    EXPECT_NEAR(std::hypot(gap.x(), gap.y()), kEventDiameter / 2, 3.0) << route.I << "-" << route.J;
  }
}

// Under the users' decimal comma the dot text read "width=0,583333", which the dot
// parser refused: "Не удалось расположить сетевой график".
TEST(NetworkLayoutLocale, LaysOutUnderTheRussianLocale) {
  const testing::Run run = testing::calculate(3, testing::kThreeEvents);
  const testing::RussianNumbers russian;
  VELKO_NEED_RUSSIAN_NUMBERS(russian);
  const NetworkLayout layout = layoutNetwork(3, workTimings(*run.model, 1));
  ASSERT_EQ(layout.events.size(), 3u);
  ASSERT_EQ(layout.works.size(), 3u);
  for (std::size_t a = 0; a < 3; ++a) {
    for (std::size_t b = a + 1; b < 3; ++b) {
      const QPointF d = layout.events[a].centre - layout.events[b].centre;
      EXPECT_GE(std::hypot(d.x(), d.y()), kEventDiameter) << "events " << a + 1 << " and " << b + 1;
    }
  }
}

TEST(NetworkLayoutRefusals, WorkOutsideTheEvents) {
  WorkTiming w;
  w.I = 1;
  w.J = 4;
  EXPECT_THROW(layoutNetwork(3, {w}), CommandError);
  EXPECT_THROW(layoutNetwork(kMaxEvents + 1, {}), CommandError);
  EXPECT_TRUE(layoutNetwork(0, {}).events.empty());
}

TEST(NetworkLayoutLabels, DurationWorkersAndIdentifier) {
  WorkTiming w;
  w.duration = 2.5;
  w.workers = 3;
  w.id = 7;
  EXPECT_EQ(workLabelFirstLine(w), QStringLiteral("2,5 / 3"));
  EXPECT_EQ(workLabelSecondLine(w), QStringLiteral("Id 7"));
}

}  // namespace
}  // namespace velko
