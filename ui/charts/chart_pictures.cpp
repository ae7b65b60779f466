#include "ui/charts/chart_pictures.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "model/command_error.h"
#include "ui/charts/chart_calendar.h"
#include "ui/charts/chart_drawing.h"
#include "ui/charts/chart_text.h"
#include "ui/charts/network_layout.h"
#include "ui/charts/time_scaled_picture.h"

namespace velko {

namespace {

constexpr double kLeftMargin = 70;   // room for the row labels and the workers axis
constexpr double kBarHeight = 12;
const QColor kPlainWork{0x55, 0x55, 0x55};

struct EventFigures {
  Extended early = 0;
  Extended late = 0;
  Extended reserve = 0;
};

void drawEventFigures(QPainter& p, QPointF c, int number, const EventFigures& f) {
  drawEvent(p, c, QString::number(number), chartNumber(f.early), chartNumber(f.late), chartNumber(f.reserve));
}

QPainterPath routePath(const WorkRoute& route) {
  QPainterPath path;
  if (route.spline.empty()) return path;
  path.moveTo(route.spline.front());
  for (std::size_t k = 1; k + 2 < route.spline.size(); k += 3) {
    path.cubicTo(route.spline[k], route.spline[k + 1], route.spline[k + 2]);
  }
  return path;
}

void drawWorkLabel(QPainter& p, const WorkRoute& route, const WorkTiming& w) {
  const QColor colour = w.critical ? kCriticalColour : kChartText;
  const QFont font = chartFont(kWorkLabelPixels, w.critical);
  const QFontMetricsF metrics(font);
  const QString first = workLabelFirstLine(w);
  const QString second = workLabelSecondLine(w);
  const double width = std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second)) + 6;
  const double line = metrics.height();
  const QRectF box(route.labelCentre.x() - width / 2, route.labelCentre.y() - line, width, 2 * line);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(box, 3, 3);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(QRectF(box.left(), box.top(), width, line), Qt::AlignCenter, first);
  p.setFont(chartFont(kWorkLabelPixels - 1));
  p.drawText(QRectF(box.left(), box.top() + line, width, line), Qt::AlignCenter, second);
}

// The width a row of legend entries takes: each is a sample, its text and a gap.
double legendWidth(const QStringList& texts) {
  const QFontMetricsF metrics(chartFont(12));
  double width = 0;
  for (const QString& text : texts) width += 42 + metrics.horizontalAdvance(text) + 28;
  return width;
}

// The bar chart's legend; the picture is made wide enough for it (it was cut at
// "длина крити…" on a short network).
constexpr double kBarLegendLeft = 16;
const QStringList& barLegend() {
  static const QStringList texts = {QStringLiteral("критическая работа"), QStringLiteral("работа (число — рабочих)"),
                                    QStringLiteral("свободный резерв"), QStringLiteral("остаток полного резерва"),
                                    QStringLiteral("длина критического пути")};
  return texts;
}

// The profile without the steps that only a rounding residue separates from their
// neighbours: they would draw as spikes and could carry a peak no day has.
std::vector<ProfileStep> visibleProfile(const std::vector<WorkTiming>& works) {
  return withoutResidues(workersProfile(works));
}

}  // namespace

std::vector<WorkTiming> variantWorks(const TNetworkModel& model, int variant) {
  checkVariant(model, variant);
  std::vector<WorkTiming> works = workTimings(model, variant);
  for (WorkTiming& w : works) w.critical = w.critical || std::fabs(static_cast<double>(w.totalFloat)) < kResidue;
  return works;
}

QFont chartFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void checkVariant(const TNetworkModel& model, int variant) {
  if (variant != 1 && variant != 2) {
    throw CommandError("Варианта " + std::to_string(variant) + " нет: есть только 1 и 2");
  }
  if (variant == 2 && model.Optimised != 1) throw CommandError("Оптимизация не выполнялась");
}

Extended chartDays(const TNetworkModel& model) {
  Extended days = 0;
  const int variants = model.Optimised == 1 ? 2 : 1;
  for (int v = 1; v <= variants; ++v) {
    days = std::max(days, variantLength(model, v));
    for (const WorkTiming& w : workTimings(model, v)) days = std::max(days, w.earlyFinish);
  }
  return days;
}

Extended DayAxis::tickStep() const {
  for (Extended step : {1.0L, 2.0L, 5.0L, 10.0L, 20.0L, 50.0L, 100.0L, 200.0L, 500.0L}) {
    if (step * dayWidth >= 28) return step;
  }
  return 1000;
}

DayAxis dayAxisFor(const TNetworkModel& model) {
  DayAxis axis = dayAxisFor(chartDays(model));
  if (auto calendar = chartCalendar(model)) axis.calendar = std::make_shared<const WorkingDays>(std::move(*calendar));
  return axis;
}

DayAxis dayAxisFor(Extended days) {
  DayAxis axis;
  axis.left = kLeftMargin;
  axis.days = std::max<Extended>(1, std::ceil(static_cast<double>(days)));
  axis.dayWidth = std::clamp(1000.0 / static_cast<double>(axis.days), 4.0, 36.0);
  return axis;
}

std::vector<BarRow> barRows(const std::vector<WorkTiming>& works, const DayAxis& axis, double top) {
  std::vector<BarRow> rows;
  const auto clampX = [&](Extended day) { return std::clamp(axis.x(day), axis.left, axis.right()); };
  for (const WorkTiming& w : works) {
    BarRow row;
    row.work = w;
    row.row = QRectF(0, top, axis.right() + kRightMargin, kRowHeight);
    const double start = clampX(w.earlyStart);
    const double finish = clampX(w.earlyFinish);
    row.bar = QRectF(start, top + (kRowHeight - kBarHeight) / 2, std::max(finish - start, 1.0), kBarHeight);
    const Extended freeFloat = std::max<Extended>(0, w.freeFloat);
    const Extended totalFloat = std::max<Extended>(freeFloat, w.totalFloat);
    row.freeEnd = clampX(w.earlyFinish + freeFloat);
    row.totalEnd = clampX(w.earlyFinish + totalFloat);
    rows.push_back(row);
    top += kRowHeight;
  }
  return rows;
}

QString barToolTip(const WorkTiming& w) {
  return QStringLiteral(
             "Работа %1, Id %2\nПродолжительность: %3 дн., рабочих: %4\n"
             "Раннее начало: %5, раннее окончание: %6\nПозднее начало: %7, позднее окончание: %8\n"
             "Резерв полный: %9, свободный: %10, независимый: %11")
      .arg(workName(w.I, w.J))
      .arg(w.id)
      .arg(chartNumber(w.duration))
      .arg(w.workers)
      .arg(chartNumber(w.earlyStart), chartNumber(w.earlyFinish), chartNumber(w.lateStart),
           chartNumber(w.lateFinish), chartNumber(w.totalFloat), chartNumber(w.freeFloat),
           chartNumber(w.independentFloat));
}

std::vector<QStringList> profileFigureRows(const TNetworkModel& model) {
  std::vector<QStringList> rows = {
      {QStringLiteral("Длина критического пути, дн.")},
      {QStringLiteral("Трудоёмкость Σ t × n, чел.-дн.")},
      {QStringLiteral("Пиковая численность, чел.")},
      {QStringLiteral("Средняя численность за длину пути, чел.")},
      {QStringLiteral("Коэффициент неравномерности (пик / среднее)")},
  };
  const int variants = model.Optimised == 1 ? 2 : 1;
  for (int v = 1; v <= variants; ++v) {
    const std::vector<WorkTiming> works = workTimings(model, v);
    const ProfileFigures f = profileFigures(works, visibleProfile(works), variantLength(model, v));
    rows[0] << chartNumber(f.length);
    rows[1] << chartNumber(f.volume);
    rows[2] << QString::number(f.peak);
    rows[3] << chartNumber(f.mean);
    rows[4] << chartNumber(f.unevenness);
  }
  return rows;
}

QPointF networkOrigin() { return QPointF(0, kTitleHeight); }

std::vector<BarRow> barChartRows(const TNetworkModel& model, int variant) {
  return barRows(variantWorks(model, variant), dayAxisFor(model), kTitleHeight + kAxisHeight);
}

ChartPicture messagePicture(const QString& message) {
  ChartPicture picture;
  picture.size = QSizeF(640, 120);
  picture.paint = [message](QPainter& p) {
    p.fillRect(QRectF(0, 0, 640, 120), Qt::white);
    p.setPen(kChartText);
    p.setFont(chartFont(14));
    p.drawText(QRectF(16, 0, 608, 120), Qt::AlignCenter | Qt::TextWordWrap, message);
  };
  return picture;
}

ChartPicture networkPicture(const TNetworkModel& model, int variant, bool timeScaled) {
  std::vector<WorkTiming> works = variantWorks(model, variant);
  if (model.RunEventCount < 1) return messagePicture(QStringLiteral("Нет результатов расчета"));
  if (timeScaled || model.RunEventCount > kMaxNetworkPictureEvents) return timeScaledNetworkPicture(model, variant);
  auto layout = std::make_shared<NetworkLayout>(layoutNetwork(model.RunEventCount, works));
  auto events = std::make_shared<std::vector<EventFigures>>();
  const TVariantResult& record = model.VariantResults[variant];
  for (int e = 1; e <= model.RunEventCount; ++e) {
    events->push_back({record.EventEarly[e], record.EventLate[e], record.EventReserve[e]});
  }
  auto shared = std::make_shared<std::vector<WorkTiming>>(std::move(works));
  const QString title = QStringLiteral("Сетевой график %1 · длина критического пути %2 дн.")
                            .arg(variantName(model, variant), chartNumber(variantLength(model, variant)));
  const double legendHeight = 96;
  const double width = std::max(layout->size.width(), 900.0);
  const double height = kTitleHeight + layout->size.height() + legendHeight;

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    drawTitle(p, width, title);
    p.save();
    p.translate(networkOrigin());
    // Only what the clip shows (a band of an export, the scrolled part of the window).
    const QRectF clip = p.clipBoundingRect();
    const auto shown = [&clip](const QRectF& box) { return clip.isEmpty() || clip.intersects(box); };
    // Plain works first, so that critical ones stay visible where arrows cross.
    for (int pass = 0; pass < 2; ++pass) {
      for (const WorkRoute& route : layout->works) {
        const WorkTiming& w = (*shared)[route.work];
        if (w.critical != (pass == 1) || !shown(route.bounds)) continue;
        const QColor colour = w.critical ? kCriticalColour : kPlainWork;
        p.setPen(QPen(colour, w.critical ? 3.2 : 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawPath(routePath(route));
        if (!route.spline.empty()) drawArrowHead(p, route.spline.back(), route.arrowTip, colour);
      }
    }
    for (const WorkRoute& route : layout->works) {
      if (shown(QRectF(route.labelCentre - QPointF(route.labelSize.width(), route.labelSize.height()),
                       route.labelSize * 2))) {
        drawWorkLabel(p, route, (*shared)[route.work]);
      }
    }
    const QPointF radius(kEventDiameter / 2 + 2, kEventDiameter / 2 + 2);
    for (const EventPlace& place : layout->events) {
      if (!shown(QRectF(place.centre - radius, place.centre + radius))) continue;
      drawEventFigures(p, place.centre, place.number, (*events)[static_cast<std::size_t>(place.number - 1)]);
    }
    p.restore();

    // Legend: the sectors of an event, then the two kinds of work.
    const double top = height - legendHeight + 8;
    const QPointF sample(16 + kEventDiameter / 2, top + kEventDiameter / 2);
    p.save();
    p.translate(sample);
    p.scale(0.9, 0.9);
    p.translate(-sample);
    drawEvent(p, sample, QStringLiteral("№"), QStringLiteral("Tр"), QStringLiteral("Tп"), QStringLiteral("R"));
    p.restore();
    p.setPen(kChartText);
    p.setFont(chartFont(12));
    const double x = 16 + kEventDiameter + 14;
    p.drawText(QRectF(x, top, 560, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Событие: № — номер, Tр — ранний срок, Tп — поздний срок,\n"
                              "R — резерв времени события (дни)"));
    double lx = legendLine(p, x, top + 56, QPen(kCriticalColour, 3.2),
                           QStringLiteral("критическая работа (полный резерв 0)"));
    legendLine(p, lx, top + 56, QPen(kPlainWork, 1.3),
               QStringLiteral("работа: продолжительность, дн. / рабочих, Id — идентификатор"));
  };
  picture.toolTip = [=](QPointF at) -> QString {
    const QPointF local = at - networkOrigin();
    for (const EventPlace& place : layout->events) {
      const QPointF d = local - place.centre;
      if (std::hypot(d.x(), d.y()) <= kEventDiameter / 2) {
        const EventFigures& f = (*events)[static_cast<std::size_t>(place.number - 1)];
        return QStringLiteral("Событие %1\nРанний срок: %2\nПоздний срок: %3\nРезерв: %4")
            .arg(place.number)
            .arg(chartNumber(f.early), chartNumber(f.late), chartNumber(f.reserve));
      }
    }
    for (const WorkRoute& route : layout->works) {
      const QRectF box(route.labelCentre - QPointF(route.labelSize.width() / 2, route.labelSize.height() / 2),
                       route.labelSize);
      if (box.contains(local)) return barToolTip((*shared)[route.work]);
    }
    return {};
  };
  return picture;
}

ChartPicture barChartPicture(const TNetworkModel& model, int variant) {
  const std::vector<WorkTiming> works = variantWorks(model, variant);
  if (works.empty()) return messagePicture(QStringLiteral("Нет результатов расчета"));
  const DayAxis axis = dayAxisFor(model);
  const double top = kTitleHeight + kAxisHeight;
  auto rows = std::make_shared<std::vector<BarRow>>(barRows(works, axis, top));
  const double plotBottom = top + kRowHeight * static_cast<double>(rows->size());
  const double legendHeight = 40;
  const double width = std::max({axis.right() + kRightMargin, 900.0, kBarLegendLeft + legendWidth(barLegend()) + 16});
  const double height = plotBottom + 22 + legendHeight;
  const Extended length = variantLength(model, variant);
  const QString title = QStringLiteral("Линейный график %1 · длина критического пути %2 дн.")
                            .arg(variantName(model, variant), chartNumber(length));

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    if (inView(p, QRectF(0, 0, width, kTitleHeight))) drawTitle(p, width, title);
    drawBarGround(p, axis, top, plotBottom, kRowHeight, width, length);
    p.setRenderHint(QPainter::Antialiasing);
    const auto [first, last] = rowsInView(p, top, kRowHeight, rows->size());
    for (std::size_t k = first; k < last; ++k) {
      const BarRow& row = (*rows)[k];
      const QRectF band = row.row;
      const QRectF bar = row.bar;
      const double mid = bar.center().y();
      const QColor colour = row.work.critical ? kCriticalColour : kWorkColour;
      p.setPen(row.work.critical ? kCriticalColour : kChartText);
      p.setFont(chartFont(12, row.work.critical));
      p.drawText(QRectF(4, band.top(), kLeftMargin - 12, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                 workName(row.work.I, row.work.J));
      if (row.freeEnd > bar.right()) {
        p.setPen(QPen(colour, 2));
        p.drawLine(QPointF(bar.right(), mid), QPointF(row.freeEnd, mid));
        p.drawLine(QPointF(row.freeEnd, mid - 4), QPointF(row.freeEnd, mid + 4));
      }
      if (row.totalEnd > row.freeEnd) {
        p.setPen(QPen(kFloatColour, 1.5, Qt::DashLine));
        p.drawLine(QPointF(row.freeEnd, mid), QPointF(row.totalEnd, mid));
        p.drawLine(QPointF(row.totalEnd, mid - 4), QPointF(row.totalEnd, mid + 4));
      }
      p.setPen(colour.darker(130));
      p.setBrush(colour);
      p.drawRect(bar);
      const QString workers = QString::number(row.work.workers);
      p.setFont(chartFont(10, true));
      if (QFontMetricsF(p.font()).horizontalAdvance(workers) + 4 < bar.width()) {
        p.setPen(Qt::white);
        p.drawText(bar, Qt::AlignCenter, workers);
      }
    }
    if (!inView(p, QRectF(0, height - legendHeight, width, legendHeight))) return;
    const double y = height - legendHeight / 2;
    double x = legendBox(p, kBarLegendLeft, y, Qt::NoPen, kCriticalColour, barLegend()[0]);
    x = legendBox(p, x, y, Qt::NoPen, kWorkColour, barLegend()[1]);
    x = legendLine(p, x, y, QPen(kWorkColour, 2), barLegend()[2]);
    x = legendLine(p, x, y, QPen(kFloatColour, 1.5, Qt::DashLine), barLegend()[3]);
    legendLine(p, x, y, QPen(kCriticalColour, 1, Qt::DashLine), barLegend()[4]);
  };
  picture.toolTip = [=](QPointF at) -> QString {
    const double index = std::floor((at.y() - top) / kRowHeight);
    if (index < 0 || index >= static_cast<double>(rows->size())) return {};
    const BarRow& row = (*rows)[static_cast<std::size_t>(index)];
    const QRectF hit(row.bar.left() - 3, row.row.top(),
                     std::max(row.totalEnd, row.bar.right()) - row.bar.left() + 6, kRowHeight);
    return hit.contains(at) ? barToolTip(row.work) : QString();
  };
  picture.stickyHeight = top;
  picture.stickyWidth = kLeftMargin;
  picture.find = [=](int I, int J) -> std::optional<QRectF> {
    for (const BarRow& row : *rows) {
      if (row.work.I == I && (row.work.J == J || J == 0)) return row.row;
    }
    return std::nullopt;
  };
  return picture;
}

QString variantName(const TNetworkModel& model, int variant, bool capital) {
  QString name = model.Reallocated ? QStringLiteral("после перераспределения")
                 : variant == 2    ? QStringLiteral("после оптимизации")
                                   : QStringLiteral("до оптимизации");
  if (capital) name[0] = name[0].toUpper();
  return name;
}

ChartPicture profilePicture(const TNetworkModel& model) {
  const int variants = model.Optimised == 1 ? 2 : 1;
  checkVariant(model, variants);
  std::vector<std::vector<ProfileStep>> profiles;
  long long peak = 0;
  for (int v = 1; v <= variants; ++v) {
    profiles.push_back(visibleProfile(workTimings(model, v)));
    for (const ProfileStep& s : profiles.back()) peak = std::max(peak, s.workers);
  }
  if (model.RunEventCount < 1) return messagePicture(QStringLiteral("Нет результатов расчета"));
  const DayAxis axis = dayAxisFor(model);
  const std::vector<QStringList> figures = profileFigureRows(model);
  const double plotTop = kTitleHeight + 34;
  const double plotHeight = 260;
  const double plotBottom = plotTop + plotHeight;
  const double legendTop = plotBottom + 26;
  const double tableTop = legendTop + 34;
  const double rowHeight = 24;
  const double tableHeight = rowHeight * static_cast<double>(figures.size() + 1);
  const double width = std::max(axis.right() + kRightMargin, 900.0);
  const double height = tableTop + tableHeight + 16;
  const WorkersScale scale = workersScale(peak, 8, plotTop, plotBottom);
  const auto y = [=](double workers) { return scale.y(workers); };
  std::vector<Extended> lengths = {model.LengthBefore};
  if (variants == 2) lengths.push_back(model.LengthAfter);

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    drawTitle(p, width, variants == 2 ? QStringLiteral("Движение рабочих до и после оптимизации")
                                      : QStringLiteral("Движение рабочих"));
    drawDayAxis(p, axis, plotTop, plotBottom, false);
    drawWorkersGrid(p, axis, scale, 11);
    drawWorkersFrame(p, axis, scale);

    p.setRenderHint(QPainter::Antialiasing);
    for (int v = 0; v < variants; ++v) {
      const std::vector<ProfileStep> steps = stepsToDraw(p, axis, profiles[static_cast<std::size_t>(v)]);
      QPainterPath path(QPointF(steps.empty() ? axis.x(0) : axis.x(steps.front().from), y(0)));
      for (const ProfileStep& s : steps) {
        path.lineTo(axis.x(s.from), y(static_cast<double>(s.workers)));
        path.lineTo(axis.x(s.to), y(static_cast<double>(s.workers)));
      }
      path.lineTo(path.currentPosition().x(), y(0));
      const QColor colour = v == 0 ? kBeforeColour : kAfterColour;
      if (v == 0) {
        QColor fill = colour;
        fill.setAlpha(36);
        p.fillPath(path, fill);
      }
      // The first variant underneath and wider, so both stay visible where they agree.
      p.setPen(QPen(colour, v == 0 ? 4.5 : 2.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
    }
    drawCriticalLengths(p, axis, lengths, plotTop, plotBottom);
    p.setRenderHint(QPainter::Antialiasing, false);

    double x = legendLine(p, 16, legendTop + 10, QPen(kBeforeColour, 4.5), variantName(model, 1));
    if (variants == 2) x = legendLine(p, x, legendTop + 10, QPen(kAfterColour, 2.2), QStringLiteral("после оптимизации"));
    legendLine(p, x, legendTop + 10, QPen(kCriticalColour, 1.5, Qt::DashLine),
               QStringLiteral("Tкр — длина критического пути; все работы в ранние сроки"));

    // The figures of each variant.
    QStringList header = {QStringLiteral("Показатель"), variantName(model, 1, true)};
    std::vector<double> widths = {380, 170};
    std::vector<QColor> colours = {kChartText, kBeforeColour.darker(120)};
    if (variants == 2) {
      header << QStringLiteral("После оптимизации");
      widths.push_back(170);
      colours.push_back(kAfterColour.darker(130));
    }
    std::vector<QStringList> table = {header};
    table.insert(table.end(), figures.begin(), figures.end());
    drawTable(p, 16, tableTop, widths, table, colours, rowHeight);
  };
  return picture;
}

}  // namespace velko
