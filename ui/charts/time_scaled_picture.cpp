#include "ui/charts/time_scaled_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include <QFontMetricsF>
#include <QPainter>

#include "layout/time_scaled_layout.h"
#include "ui/charts/chart_drawing.h"
#include "ui/charts/chart_text.h"
#include "ui/charts/network_layout.h"

namespace velko {

namespace {

constexpr double kAxisBand = 28;     // day numbers under the title
constexpr double kLegendHeight = 56;
constexpr double kMargin = 44;       // x of day 0: room for the first circle
constexpr double kLaneHeight = 84;
constexpr int kLabelPixels = 10;
// Below this many device pixels per unit the texts would be too small to read: circles
// and lines only, which also keeps a zoomed-out view of 100,000 works quick.
constexpr double kTextScale = 0.45;
const QColor kLine{0x55, 0x55, 0x55};
const QColor kFloat{0x80, 0x80, 0x80};

QString workLabel(const WorkTiming& w) { return workLabelFirstLine(w) + QStringLiteral(" · ") + workLabelSecondLine(w); }

struct Shared {
  TimeScaledLayout layout;
  std::vector<WorkTiming> works;
  std::vector<Extended> late;
  std::vector<Extended> reserve;
  std::vector<Extended> early;
};

// A scaled event: the circle of the layered picture shrunk to the lane's diameter.
void drawSmallEvent(QPainter& p, const Shared& s, int number, bool texts) {
  const LayoutEvent& e = s.layout.events[static_cast<std::size_t>(number - 1)];
  const std::size_t k = static_cast<std::size_t>(number - 1);
  const bool critical = std::fabs(static_cast<double>(s.reserve[k])) < 1e-6;
  if (!texts) {
    p.setPen(QPen(critical ? kCriticalColour : kChartText, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(e.x, e.y), s.layout.eventRadius, s.layout.eventRadius);
    return;
  }
  p.save();
  p.translate(e.x, e.y);
  const double scale = kTimeScaledEventDiameter / kEventDiameter;
  p.scale(scale, scale);
  drawEvent(p, QPointF(0, 0), QString::number(number), chartNumber(s.early[k]), chartNumber(s.late[k]),
            chartNumber(s.reserve[k]));
  p.restore();
}

void drawWork(QPainter& p, const Shared& s, int index, bool texts) {
  const LayoutWork& lw = s.layout.works[static_cast<std::size_t>(index)];
  const WorkTiming& w = s.works[static_cast<std::size_t>(index)];
  const bool dummy = w.duration == 0;
  const QColor colour = w.critical ? kCriticalColour : kLine;
  const QPen solid(colour, w.critical ? 3.0 : 1.4, Qt::SolidLine, Qt::FlatCap);
  const QPen dashed(colour, w.critical ? 2.0 : 1.2, Qt::DashLine, Qt::FlatCap);
  QPointF tip;
  QPointF base;
  if (lw.inLane) {
    p.setPen(dummy ? dashed : solid);
    if (lw.segment.length() > 0) p.drawLine(QPointF(lw.segment.from, lw.y), QPointF(lw.segment.to, lw.y));
    const Span run{lw.segment.from, std::max(lw.segment.to, lw.tail.to)};
    if (lw.tail.length() > 0) {
      p.setPen(QPen(kFloat, 1.2, Qt::DashLine, Qt::FlatCap));
      p.drawLine(QPointF(lw.tail.from, lw.y), QPointF(lw.tail.to, lw.y));
    }
    tip = QPointF(run.to, lw.y);
    base = tip - QPointF(9, 0);
    if (lw.start) {
      p.setPen(dummy ? dashed : QPen(colour, 1.0));
      p.drawLine(QPointF(lw.start->x, lw.start->from), QPointF(lw.start->x, lw.start->to));
    }
  }
  if (lw.end) {
    p.setPen(dummy || !lw.inLane ? dashed : QPen(kFloat, 1.0));
    p.drawLine(QPointF(lw.end->x, lw.end->from), QPointF(lw.end->x, lw.end->to));
    tip = QPointF(lw.end->x, lw.end->to);
    base = tip - QPointF(0, lw.end->to > lw.end->from ? 9 : -9);
  }
  drawArrowHead(p, base, tip, lw.end && !dummy ? kFloat : colour);
  if (texts && lw.inLane && lw.label.length() > 0) {
    p.setPen(w.critical ? kCriticalColour : kChartText);
    p.setFont(chartFont(kLabelPixels, w.critical));
    p.drawText(QRectF(lw.label.from, lw.y - 17, lw.label.length(), 15), Qt::AlignCenter, workLabel(w));
  }
}

}  // namespace

ChartPicture timeScaledNetworkPicture(const TNetworkModel& model, int variant) {
  std::vector<WorkTiming> works = variantWorks(model, variant);
  if (model.RunEventCount < 1) return messagePicture(QStringLiteral("Нет результатов расчета"));
  auto s = std::make_shared<Shared>();
  s->early = eventEarlyTimes(model, variant);
  const TVariantResult& record = model.VariantResults[variant];
  Extended days = 1;
  for (int e = 1; e <= model.RunEventCount; ++e) {
    s->late.push_back(record.EventLate[e]);
    s->reserve.push_back(record.EventReserve[e]);
    days = std::max(days, s->early.back());
  }
  // Labels of the same text (most are) measured once.
  const QFontMetricsF metrics(chartFont(kLabelPixels, true));
  std::unordered_map<QString, double> measured;
  std::vector<double> labelWidths;
  labelWidths.reserve(works.size());
  for (const WorkTiming& w : works) {
    const QString text = workLabel(w);
    auto [at, fresh] = measured.try_emplace(text, 0.0);
    if (fresh) at->second = metrics.horizontalAdvance(text) + 6;
    labelWidths.push_back(at->second);
  }
  TimeScaledOptions options;
  options.dayWidth = std::clamp(1600.0 / static_cast<double>(days), 24.0, 96.0);
  options.eventDiameter = kTimeScaledEventDiameter;
  options.laneHeight = kLaneHeight;
  options.margin = kMargin;
  s->layout = layoutTimeScaled(model.RunEventCount, s->early, works, labelWidths, options);
  s->works = std::move(works);

  DayAxis axis;
  axis.left = kMargin;
  axis.dayWidth = options.dayWidth;
  axis.days = std::ceil(static_cast<double>(days));
  const double top = kTitleHeight + kAxisBand;
  const double width = std::max({s->layout.width + 40, axis.right() + 60, 900.0});
  const double height = top + s->layout.height + kLegendHeight;
  const QString title = QStringLiteral("Сетевой график в масштабе времени %1 · длина критического пути %2 дн.")
                            .arg(variant == 2 ? QStringLiteral("после оптимизации") : QStringLiteral("до оптимизации"),
                                 chartNumber(variant == 2 ? model.LengthAfter : model.LengthBefore));

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.stickyHeight = top;
  picture.paint = [=](QPainter& p) {
    const QRectF all(0, 0, width, height);
    const QRectF clip = p.clipBoundingRect().isEmpty() ? all : p.clipBoundingRect().intersected(all);
    p.fillRect(clip, Qt::white);
    if (clip.top() < kTitleHeight) drawTitle(p, width, title);
    drawDayAxis(p, axis, top, top + s->layout.height, true);
    const bool texts = std::hypot(p.deviceTransform().m11(), p.deviceTransform().m12()) >= kTextScale;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, top);
    const VisibleItems items =
        s->layout.visible(Rect{clip.left(), clip.top() - top, clip.right(), clip.bottom() - top});
    // Plain works first, so that the critical ones stay on top where lines cross.
    for (int pass = 0; pass < 2; ++pass) {
      for (int k : items.works) {
        if (s->works[static_cast<std::size_t>(k)].critical == (pass == 1)) drawWork(p, *s, k, texts);
      }
    }
    for (int e : items.events) drawSmallEvent(p, *s, e, texts);
    p.restore();
    const double legendTop = height - kLegendHeight + 12;
    if (clip.bottom() < legendTop) return;
    double x = legendLine(p, 16, legendTop + 10, QPen(kCriticalColour, 3), QStringLiteral("критический путь"));
    x = legendLine(p, x, legendTop + 10, QPen(kLine, 1.4), QStringLiteral("работа: t / n · Id"));
    x = legendLine(p, x, legendTop + 10, QPen(kFloat, 1.2, Qt::DashLine), QStringLiteral("свободный резерв"));
    x = legendText(p, x, legendTop + 10, QStringLiteral("вертикальный пунктир — фиктивная работа;"));
    legendText(p, x - 20, legendTop + 10, QStringLiteral("событие: № сверху, Tр слева, Tп справа, R снизу"));
  };
  picture.toolTip = [=](QPointF at) -> QString {
    const QPointF local = at - QPointF(0, top);
    const double r = s->layout.eventRadius;
    const VisibleItems items = s->layout.visible(Rect{local.x() - r, local.y() - r, local.x() + r, local.y() + r});
    for (int e : items.events) {
      const LayoutEvent& place = s->layout.events[static_cast<std::size_t>(e - 1)];
      if (std::hypot(local.x() - place.x, local.y() - place.y) > r) continue;
      const std::size_t k = static_cast<std::size_t>(e - 1);
      return QStringLiteral("Событие %1\nРанний срок: %2\nПоздний срок: %3\nРезерв: %4")
          .arg(e)
          .arg(chartNumber(s->early[k]), chartNumber(s->late[k]), chartNumber(s->reserve[k]));
    }
    for (int k : items.works) {
      const LayoutWork& lw = s->layout.works[static_cast<std::size_t>(k)];
      if (lw.inLane && std::fabs(local.y() - lw.y) <= 18 && local.x() >= lw.room.from && local.x() <= lw.room.to) {
        return barToolTip(s->works[static_cast<std::size_t>(k)]);
      }
    }
    return {};
  };
  picture.find = [=](int I, int J) -> std::optional<QRectF> {
    if (J == 0) {
      if (I < 1 || I > static_cast<int>(s->layout.events.size())) return std::nullopt;
      const Rect box = s->layout.eventBox(I);
      return QRectF(QPointF(box.left, box.top + top), QPointF(box.right, box.bottom + top));
    }
    const std::optional<int> k = s->layout.findWork(I, J);
    if (!k) return std::nullopt;
    const std::vector<Rect> pieces = s->layout.pieces(*k);
    if (pieces.empty()) return std::nullopt;
    QRectF box;
    for (const Rect& r : pieces) box |= QRectF(QPointF(r.left, r.top + top), QPointF(r.right, r.bottom + top));
    return box;
  };
  return picture;
}

}  // namespace velko
