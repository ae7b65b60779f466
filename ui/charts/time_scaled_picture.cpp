#include "ui/charts/time_scaled_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

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

// The works in view, gathered by pen and drawn a pen at a time: a sheet of a large
// network crosses thousands of connectors, and a change of pen per line made the PDF
// several times larger and slower.
struct WorkStrokes {
  std::vector<QLineF> lines[7];
  QPainterPath heads[3];  // arrowheads: plain, float grey, critical
  enum { kPlain, kPlainDummy, kCritical, kCriticalDummy, kTail, kConnector, kCriticalConnector };

  void arrow(QPointF base, QPointF tip, int colour) { heads[colour].addPolygon(arrowHead(base, tip)); }

  void add(const LayoutWork& lw, const WorkTiming& w) {
    const bool dummy = w.duration == 0;
    const int line = w.critical ? (dummy ? kCriticalDummy : kCritical) : (dummy ? kPlainDummy : kPlain);
    QPointF tip;
    QPointF base;
    if (lw.inLane) {
      if (lw.segment.length() > 0) lines[line].emplace_back(lw.segment.from, lw.y, lw.segment.to, lw.y);
      if (lw.tail.length() > 0) lines[kTail].emplace_back(lw.tail.from, lw.y, lw.tail.to, lw.y);
      tip = QPointF(std::max(lw.segment.to, lw.tail.to), lw.y);
      base = tip - QPointF(9, 0);
      if (lw.start) {
        lines[dummy ? line : w.critical ? kCriticalConnector : kConnector].emplace_back(lw.start->x, lw.start->from,
                                                                                        lw.start->x, lw.start->to);
      }
    }
    if (lw.end) {
      lines[dummy || !lw.inLane ? line : kConnector].emplace_back(lw.end->x, lw.end->from, lw.end->x, lw.end->to);
      tip = QPointF(lw.end->x, lw.end->to);
      base = tip - QPointF(0, lw.end->to > lw.end->from ? 9 : -9);
    }
    arrow(base, tip, lw.end && !dummy ? 1 : w.critical ? 2 : 0);
  }

  void draw(QPainter& p) const {
    const QPen pens[7] = {QPen(kLine, 1.4, Qt::SolidLine, Qt::FlatCap),
                          QPen(kLine, 1.2, Qt::DashLine, Qt::FlatCap),
                          QPen(kCriticalColour, 3.0, Qt::SolidLine, Qt::FlatCap),
                          QPen(kCriticalColour, 2.0, Qt::DashLine, Qt::FlatCap),
                          QPen(kFloat, 1.2, Qt::DashLine, Qt::FlatCap),
                          QPen(kFloat, 1.0, Qt::SolidLine, Qt::FlatCap),
                          QPen(kCriticalColour, 1.0, Qt::SolidLine, Qt::FlatCap)};
    // Plain works first, so that the critical ones stay on top where lines cross.
    for (int k : {kTail, kConnector, kPlain, kPlainDummy, kCriticalConnector, kCritical, kCriticalDummy}) {
      if (lines[k].empty()) continue;
      p.setPen(pens[k]);
      p.drawLines(lines[k].data(), static_cast<int>(lines[k].size()));
    }
    const QColor colours[3] = {kLine, kFloat, kCriticalColour};
    for (int c = 0; c < 3; ++c) {
      if (!heads[c].isEmpty()) p.fillPath(heads[c], colours[c]);
    }
  }
};

void drawLabels(QPainter& p, const Shared& s, const std::vector<int>& works) {
  for (bool critical : {false, true}) {
    p.setPen(critical ? kCriticalColour : kChartText);
    p.setFont(chartFont(kLabelPixels, critical));
    for (int k : works) {
      const LayoutWork& lw = s.layout.works[static_cast<std::size_t>(k)];
      const WorkTiming& w = s.works[static_cast<std::size_t>(k)];
      if (w.critical != critical || !lw.inLane || lw.label.length() <= 0) continue;
      p.drawText(QRectF(lw.label.from, lw.y - 17, lw.label.length(), 15), Qt::AlignCenter, workLabel(w));
    }
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
  // Wide enough that most works part their events by a circle and its gaps: two events
  // closer than that cannot share a lane, and a chain of short works would step down
  // lane after lane.
  std::vector<double> durations;
  for (const WorkTiming& w : works) {
    if (w.duration > 0) durations.push_back(static_cast<double>(w.duration));
  }
  double shortWork = 1;
  if (!durations.empty()) {
    std::nth_element(durations.begin(), durations.begin() + static_cast<std::ptrdiff_t>(durations.size() / 4), durations.end());
    shortWork = durations[durations.size() / 4];
  }
  options.dayWidth = std::clamp(std::max(1600.0 / static_cast<double>(days), (kTimeScaledEventDiameter + 20) / shortWork),
                                24.0, 96.0);
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
                            .arg(variantName(model, variant),
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
    WorkStrokes strokes;
    for (int k : items.works) {
      strokes.add(s->layout.works[static_cast<std::size_t>(k)], s->works[static_cast<std::size_t>(k)]);
    }
    strokes.draw(p);
    if (texts) drawLabels(p, *s, items.works);
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
