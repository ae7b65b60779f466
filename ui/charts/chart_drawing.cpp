#include "ui/charts/chart_drawing.h"

#include "model/command_error.h"
#include "ui/charts/chart_calendar.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include "ui/charts/chart_text.h"
#include "ui/charts/network_layout.h"

namespace velko {

namespace {

constexpr double kUnitWidth = 110;  // the box "дни" is right-aligned in, a little short of the edge

}  // namespace

// Draws `text` centred on `centre`, shrinking the face until it fits 2 x `halfWidth`.
void drawFitted(QPainter& p, QPointF centre, const QString& text, double halfWidth, int pixels,
                bool bold) {
  QFont font = chartFont(pixels, bold);
  while (pixels > 7 && QFontMetricsF(font).horizontalAdvance(text) > 2 * halfWidth) {
    font = chartFont(--pixels, bold);
  }
  p.setFont(font);
  const QRectF box(centre.x() - halfWidth, centre.y() - pixels, 2 * halfWidth, 2 * pixels);
  p.drawText(box, Qt::AlignCenter, text);
}

QPolygonF arrowHead(QPointF base, QPointF tip) {
  const QPointF d = tip - base;
  if (std::hypot(d.x(), d.y()) < 1e-6) return {};
  const QPointF across(-d.y() * 0.42, d.x() * 0.42);
  return QPolygonF({tip, base + across, base - across, tip});
}

void drawArrowHead(QPainter& p, QPointF base, QPointF tip, const QColor& colour) {
  const QPolygonF head = arrowHead(base, tip);
  if (head.isEmpty()) return;
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPolygon(head);
}

void drawEvent(QPainter& p, QPointF c, const QString& number, const QString& early, const QString& late,
               const QString& reserve) {
  const double r = kEventDiameter / 2;
  p.setPen(QPen(kChartText, 1.4));
  p.setBrush(Qt::white);
  p.drawEllipse(c, r, r);
  const double k = r * std::sqrt(0.5);
  p.setPen(QPen(kChartText, 0.9));
  p.drawLine(QPointF(c.x() - k, c.y() - k), QPointF(c.x() + k, c.y() + k));
  p.drawLine(QPointF(c.x() - k, c.y() + k), QPointF(c.x() + k, c.y() - k));
  p.setPen(kChartText);
  // Left and right sectors are narrow where the text sits: about 0.8 r wide.
  const double off = r * 0.56;
  drawFitted(p, QPointF(c.x(), c.y() - off), number, r * 0.6, 14, true);
  drawFitted(p, QPointF(c.x() - off, c.y()), early, r * 0.38, 12);
  drawFitted(p, QPointF(c.x() + off, c.y()), late, r * 0.38, 12);
  drawFitted(p, QPointF(c.x(), c.y() + off), reserve, r * 0.6, 12);
}

void drawTitle(QPainter& p, double width, const QString& text) {
  p.setFont(chartFont(15, true));
  p.setPen(kChartText);
  p.drawText(QRectF(12, 4, width - 24, kTitleHeight - 8), Qt::AlignLeft | Qt::AlignVCenter, text);
}

namespace {

// Dates under a zoom of `unitsPerPixel`: every working day when a label fits each, else the
// first working day of each week, else of each month; labels never closer than they fit.
// Days off have no width on an axis of working days: a shaded stripe marks where they fall.
void drawDateAxis(QPainter& p, const DayAxis& axis, double top, double bottom, double labelTop) {
  const double scale = std::max(1e-6, std::abs(p.worldTransform().m11()));
  // The labels scale with the picture (zoom, PNG, sheets, print), so room for them is
  // measured in the picture's own units.
  p.setFont(chartFont(11));
  const QFontMetricsF metrics(p.font());
  const double dayLabel = metrics.horizontalAdvance(QStringLiteral("00.00")) + 10;
  enum class Level { Days, Weeks, Months } level =
      axis.dayWidth >= dayLabel ? Level::Days : axis.dayWidth * 5 >= dayLabel ? Level::Weeks : Level::Months;
  const double minGap = level == Level::Months ? metrics.horizontalAdvance(QStringLiteral("00.0000")) + 10 : dayLabel;
  const QRectF clip = p.clipBoundingRect();
  long long first = 0;
  long long last = static_cast<long long>(std::ceil(static_cast<double>(axis.days)));
  if (!clip.isEmpty() && axis.dayWidth > 0) {
    first = std::max(0LL, static_cast<long long>((clip.left() - 60 - axis.left) / axis.dayWidth));
    last = std::min(last, static_cast<long long>((clip.right() + 60 - axis.left) / axis.dayWidth) + 1);
  }
  double lastLabel = -1e300;
  try {
    Date previous = first > 0 ? axis.calendar->dateOfDay(first - 1) : axis.calendar->dateOfDay(0) - std::chrono::days(1);
    for (long long day = first; day <= last; ++day) {
      const Date date = axis.calendar->dateOfDay(day);
      const double x = axis.x(day);
      const long long gap = (date - previous).count();
      if (day > 0 && gap > 1) {
        const double width = std::min(axis.dayWidth * 0.3, 2.5 * static_cast<double>(std::min<long long>(gap - 1, 3)) / scale);
        p.fillRect(QRectF(x - width / 2, top, width, bottom - top), QColor(0xf4, 0xc7, 0xc3, 0xb0));
      }
      const std::chrono::year_month_day ymd(date), before(previous);
      const bool mark = level == Level::Days                        ? true
                        : level == Level::Weeks                     ? (date - previous).count() >= 7 ||
                                               std::chrono::weekday(date).iso_encoding() <=
                                                   std::chrono::weekday(previous).iso_encoding()
                                                                    : ymd.month() != before.month() || ymd.year() != before.year();
      previous = date;
      // The unit's word stands at the axis' end.
      if (!mark || x - lastLabel < minGap || x > axis.right() - 40) continue;
      lastLabel = x;
      p.setPen(QPen(kChartGrid, 1));
      p.drawLine(QPointF(x, top), QPointF(x, bottom));
      p.setPen(kChartText);
      const QString text = level == Level::Months ? screenDate(date).mid(3) : screenDate(date).left(5);
      p.drawText(QRectF(x - 30, labelTop, 60, 16), Qt::AlignCenter, text);
    }
  } catch (const CommandError&) {
    // Past the years the production calendar has data for: the dates stop there.
  }
  p.setPen(kChartText);
  p.drawText(QRectF(axis.right() - 80, labelTop, kUnitWidth, 16), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("даты"));
}

}  // namespace

void drawDayAxis(QPainter& p, const DayAxis& axis, double top, double bottom, bool labelsAbove) {
  if (axis.calendar) {
    drawDateAxis(p, axis, top, bottom, labelsAbove ? top - 18 : bottom + 2);
    return;
  }
  const Extended step = axis.tickStep();
  const double labelTop = labelsAbove ? top - 18 : bottom + 2;
  p.setFont(chartFont(11));
  // Only the days the clip shows: a sheet of a long chart carries a few of its thousands.
  const QRectF clip = p.clipBoundingRect();
  Extended first = 0;
  Extended last = axis.days;
  if (!clip.isEmpty() && axis.dayWidth > 0) {
    first = std::max<Extended>(0, step * std::floor(static_cast<double>((clip.left() - 40 - axis.left) / axis.dayWidth / step)));
    last = std::min<Extended>(axis.days, (clip.right() + 40 - axis.left) / axis.dayWidth);
  }
  for (Extended day = first; day <= last + 1e-9; day += step) {
    const double x = axis.x(day);
    p.setPen(QPen(kChartGrid, 1));
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    p.setPen(kChartText);
    p.drawText(QRectF(x - 30, labelTop, 60, 16), Qt::AlignCenter, chartNumber(day));
  }
  p.drawText(QRectF(axis.right() - 80, labelTop, kUnitWidth, 16), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("дни"));
}

double legendText(QPainter& p, double x, double y, const QString& text) {
  p.setPen(kChartText);
  p.setFont(chartFont(12));
  const double width = QFontMetricsF(p.font()).horizontalAdvance(text);
  p.drawText(QRectF(x, y - 10, width + 4, 20), Qt::AlignLeft | Qt::AlignVCenter, text);
  return x + width + 28;
}

double legendLine(QPainter& p, double x, double y, const QPen& pen, const QString& text) {
  p.setPen(pen);
  p.drawLine(QPointF(x, y), QPointF(x + 34, y));
  return legendText(p, x + 42, y, text);
}

double legendBox(QPainter& p, double x, double y, const QPen& pen, const QBrush& brush, const QString& text) {
  p.setPen(pen);
  p.setBrush(brush);
  p.drawRect(QRectF(x, y - 6, 34, 12));
  return legendText(p, x + 42, y, text);
}

WorkersScale workersScale(long long peak, long long lines, double top, double bottom) {
  WorkersScale scale;
  scale.top = top;
  scale.bottom = bottom;
  while (peak / scale.step > lines) scale.step = scale.step == 1 ? 2 : scale.step == 2 ? 5 : scale.step * 2;
  scale.max = static_cast<double>(std::max<long long>(scale.step, (peak / scale.step + 1) * scale.step));
  return scale;
}

void drawWorkersGrid(QPainter& p, const DayAxis& axis, const WorkersScale& scale, int pixels) {
  p.setFont(chartFont(pixels));
  for (long long w = 0; w <= static_cast<long long>(scale.max); w += scale.step) {
    const double y = scale.y(static_cast<double>(w));
    p.setPen(QPen(kChartGrid, 1));
    p.drawLine(QPointF(axis.left, y), QPointF(axis.right(), y));
    p.setPen(kChartText);
    p.drawText(QRectF(0, y - 8, axis.left - 8, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(w));
  }
}

void drawWorkersFrame(QPainter& p, const DayAxis& axis, const WorkersScale& scale) {
  p.save();
  p.setPen(kChartText);
  p.setFont(chartFont(11));
  p.translate(14, (scale.top + scale.bottom) / 2);
  p.rotate(-90);
  p.drawText(QRectF(-80, -10, 160, 20), Qt::AlignCenter, QStringLiteral("рабочих, чел."));
  p.restore();
  p.setPen(QPen(kChartText, 1));
  p.drawLine(QPointF(axis.left, scale.bottom), QPointF(axis.right(), scale.bottom));
  p.drawLine(QPointF(axis.left, scale.top), QPointF(axis.left, scale.bottom));
}

std::vector<ProfileStep> withoutResidues(const std::vector<ProfileStep>& steps) {
  std::vector<ProfileStep> out;
  for (const ProfileStep& s : steps) {
    if (s.to - s.from < kResidue) continue;
    if (!out.empty() && out.back().workers == s.workers) {
      out.back().to = s.to;
    } else {
      if (!out.empty()) out.back().to = s.from;
      out.push_back(s);
    }
  }
  return out;
}

void drawCriticalLengths(QPainter& p, const DayAxis& axis, const std::vector<Extended>& lengths, double top,
                         double bottom) {
  if (lengths.empty()) return;
  const bool two = lengths.size() == 2 && lengths[0] != lengths[1];
  for (std::size_t v = 0; v < (two ? 2u : 1u); ++v) {
    const double x = axis.x(lengths[two ? v : lengths.size() - 1]);
    // The longer length's caption on the upper row: the other line then starts below it,
    // and its own line passes right of the lower caption instead of through it (a
    // rounded-up optimisation can end later than before).
    const bool upper = two && lengths[v] > lengths[1 - v];
    const double captionTop = top - (upper ? 32 : 17);
    p.setPen(QPen(kCriticalColour, 1.5, Qt::DashLine));
    p.drawLine(QPointF(x, captionTop + 14), QPointF(x, bottom));
    p.setPen(kCriticalColour);
    p.setFont(chartFont(11, true));
    const QString caption = !two     ? QStringLiteral("Tкр = %1").arg(chartNumber(lengths.back()))
                            : v == 0 ? QStringLiteral("Tкр до = %1").arg(chartNumber(lengths[0]))
                                     : QStringLiteral("Tкр после = %1").arg(chartNumber(lengths[1]));
    p.drawText(QRectF(x - 200, captionTop, 196, 14), Qt::AlignRight | Qt::AlignVCenter, caption);
  }
}

void drawBarGround(QPainter& p, const DayAxis& axis, double top, double bottom, double rowHeight, double width,
                   Extended length) {
  // Every other row, of those the clip shows: a long chart is painted a screenful at a time.
  const auto rows = static_cast<std::size_t>(std::max(0.0, std::round((bottom - top) / rowHeight)));
  const auto [first, last] = rowsInView(p, top, rowHeight, rows);
  for (std::size_t k = first + first % 2; k < last; k += 2) {
    p.fillRect(QRectF(0, top + rowHeight * static_cast<double>(k), width, rowHeight), QColor(0xf4, 0xf6, 0xf9));
  }
  drawDayAxis(p, axis, top, bottom, true);
  p.setPen(QPen(kCriticalColour, 1, Qt::DashLine));
  p.drawLine(QPointF(axis.x(length), top), QPointF(axis.x(length), bottom));
}

bool inView(const QPainter& p, const QRectF& box) {
  const QRectF clip = p.clipBoundingRect();
  return clip.isEmpty() || clip.intersects(box);
}

std::pair<std::size_t, std::size_t> rowsInView(const QPainter& p, double top, double rowHeight, std::size_t count) {
  const QRectF clip = p.clipBoundingRect();
  if (clip.isEmpty()) return {0, count};
  const auto row = [&](double y) {
    return static_cast<std::size_t>(std::clamp(std::floor((y - top) / rowHeight), 0.0, static_cast<double>(count)));
  };
  return {row(clip.top()), std::min(count, row(clip.bottom()) + 1)};
}

std::vector<ProfileStep> stepsToDraw(const QPainter& p, const DayAxis& axis, const std::vector<ProfileStep>& steps) {
  if (axis.dayWidth <= 0) return steps;
  std::size_t first = 0;
  std::size_t last = steps.size();
  const QRectF clip = p.clipBoundingRect();
  if (!clip.isEmpty()) {
    const double left = (clip.left() - axis.left) / axis.dayWidth;
    const double right = (clip.right() - axis.left) / axis.dayWidth;
    first = static_cast<std::size_t>(
        std::partition_point(steps.begin(), steps.end(), [&](const ProfileStep& s) { return s.to < left; }) -
        steps.begin());
    last = static_cast<std::size_t>(
        std::partition_point(steps.begin(), steps.end(), [&](const ProfileStep& s) { return s.from <= right; }) -
        steps.begin());
    if (first > 0) --first;
    if (last < steps.size()) ++last;
  }
  const double pixels = std::max(1e-9, std::hypot(p.deviceTransform().m11(), p.deviceTransform().m12()));
  const Extended column = 1 / (axis.dayWidth * pixels);  // days in one device pixel
  const auto columnOf = [&](Extended day) { return std::floor(static_cast<double>(day / column)); };
  std::vector<ProfileStep> out;
  for (std::size_t k = first; k < last;) {
    // The steps within this step's pixel column (and the next), drawn as their low and
    // their high; a longer step is drawn as it is.
    const double at = columnOf(steps[k].from);
    const auto narrow = [&](const ProfileStep& s) { return columnOf(s.from) == at && columnOf(s.to) <= at + 1; };
    std::size_t end = k + 1;
    long long low = steps[k].workers;
    long long high = low;
    while (narrow(steps[k]) && end < last && narrow(steps[end])) {
      low = std::min(low, steps[end].workers);
      high = std::max(high, steps[end].workers);
      ++end;
    }
    if (end == k + 1) {
      out.push_back(steps[k]);
    } else {
      const Extended from = steps[k].from;
      const Extended to = steps[end - 1].to;
      const Extended middle = (from + to) / 2;
      out.push_back({from, middle, low});
      out.push_back({middle, to, high});
    }
    k = end;
  }
  return out;
}

double drawTable(QPainter& p, double left, double top, const std::vector<double>& widths,
                 const std::vector<QStringList>& rows, const std::vector<QColor>& columnColours, double rowHeight) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const double y = top + rowHeight * static_cast<double>(r);
    double x = left;
    if (r == 0) {
      double total = 0;
      for (double w : widths) total += w;
      p.fillRect(QRectF(left, y, total, rowHeight), QColor(0xea, 0xee, 0xf3));
    }
    for (int c = 0; c < rows[r].size() && c < static_cast<int>(widths.size()); ++c) {
      const double w = widths[static_cast<std::size_t>(c)];
      p.setPen(QPen(kChartGrid.darker(120), 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(x, y, w, rowHeight));
      p.setPen(r == 0 || static_cast<std::size_t>(c) >= columnColours.size() ? kChartText
                                                                              : columnColours[static_cast<std::size_t>(c)]);
      p.setFont(chartFont(12, r == 0));
      p.drawText(QRectF(x + 6, y, w - 12, rowHeight), (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                 rows[r][c]);
      x += w;
    }
  }
  return rowHeight * static_cast<double>(rows.size());
}

}  // namespace velko
