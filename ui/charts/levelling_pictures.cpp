#include "ui/charts/levelling_pictures.h"

#include "ui/charts/chart_calendar.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "model/schedule_figures.h"
#include "ui/charts/chart_drawing.h"
#include "ui/charts/chart_text.h"

namespace velko {

namespace {

const QColor kGhostColour{0x9a, 0x9a, 0x9a};

int lastVariant(const TNetworkModel& model) { return model.Optimised == 1 ? 2 : 1; }

std::vector<ProfileStep> variantProfile(const TNetworkModel& model, int variant, const int* id = nullptr) {
  std::vector<WorkTiming> works = workTimings(model, variant);
  if (id != nullptr) std::erase_if(works, [id](const WorkTiming& w) { return w.id != *id; });
  return withoutResidues(workersProfile(works));
}

long long peakOf(const std::vector<ProfileStep>& steps) {
  long long peak = 0;
  for (const ProfileStep& s : steps) peak = std::max(peak, s.workers);
  return peak;
}

struct Curve {
  std::vector<ProfileStep> steps;
  QPen pen;
  bool filled = false;
  QString name;
};

// The curves of one profile. The early starts of the last variant, which the smoothing
// starts from, are a filled area and the smoothed profile a bold line over it, so that
// every peak it cut shows; before an optimisation the first variant is a thin line.
std::vector<Curve> curves(const TNetworkModel& model, const LevellingResult* result, const int* id) {
  std::vector<Curve> out;
  const bool optimised = model.Optimised == 1;
  if (optimised) {
    out.push_back({variantProfile(model, 1, id), QPen(kBeforeColour, 1.4, Qt::DashLine), false,
                   QStringLiteral("до оптимизации")});
    out.push_back({variantProfile(model, 2, id), QPen(kAfterColour, 1.6), true, QStringLiteral("после оптимизации")});
  } else {
    out.push_back({variantProfile(model, 1, id), QPen(kBeforeColour, 1.6), true, variantName(model, 1)});
  }
  if (result != nullptr) {
    std::vector<ProfileStep> levelled;
    if (id == nullptr) {
      levelled = result->profileAfter;
    } else if (const auto it = result->profileAfterById.find(*id); it != result->profileAfterById.end()) {
      levelled = it->second;
    }
    out.push_back({withoutResidues(levelled), QPen(kLevelledColour, 2.8), false, QStringLiteral("после выравнивания")});
  }
  return out;
}

// Draws the curves into the plot box, filled ones first.
void drawCurves(QPainter& p, const std::vector<Curve>& list, const DayAxis& axis,
                const std::function<double(double)>& y) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  for (bool filling : {true, false}) {
    for (const Curve& curve : list) {
      if (filling && !curve.filled) continue;
      const std::vector<ProfileStep> steps = stepsToDraw(p, axis, curve.steps);
      QPainterPath path(QPointF(steps.empty() ? axis.x(0) : axis.x(steps.front().from), y(0)));
      for (const ProfileStep& s : steps) {
        path.lineTo(axis.x(s.from), path.currentPosition().y());
        path.lineTo(axis.x(s.from), y(static_cast<double>(s.workers)));
        path.lineTo(axis.x(s.to), y(static_cast<double>(s.workers)));
      }
      path.lineTo(path.currentPosition().x(), y(0));
      if (filling) {
        QColor fill = curve.pen.color();
        fill.setAlpha(48);
        p.fillPath(path, fill);
        continue;
      }
      QPen pen = curve.pen;
      pen.setCapStyle(Qt::FlatCap);
      pen.setJoinStyle(Qt::MiterJoin);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
    }
  }
  p.restore();
}

double legendCurve(QPainter& p, double x, double y, const Curve& curve) {
  double lineY = y;
  if (curve.filled) {
    QColor fill = curve.pen.color();
    fill.setAlpha(48);
    p.fillRect(QRectF(x, y - 6, 34, 12), fill);
    lineY = y - 6;
  }
  p.setPen(curve.pen);
  p.drawLine(QPointF(x, lineY), QPointF(x + 34, lineY));
  return legendText(p, x + 42, y, curve.name);
}

}  // namespace

QString levellingProofText(const LevellingResult& r) {
  return r.proven ? QStringLiteral("минимум доказан")
                  : QStringLiteral("лучшее найденное, нижняя граница %1").arg(r.bestBound);
}

QString levellingSummary(const LevellingResult& r) {
  return QStringLiteral("Выравнивание: пик %1 → %2 чел., %3; сдвинуто работ: %4 из %5")
      .arg(r.peakBefore)
      .arg(r.peakAfter)
      .arg(levellingProofText(r))
      .arg(r.shiftedCount())
      .arg(r.works.size());
}

std::vector<QStringList> levelledFigureRows(const TNetworkModel& model, const LevellingResult& result) {
  const int variants = lastVariant(model);
  std::vector<QStringList> figures = profileFigureRows(model);
  const std::vector<WorkTiming> last = workTimings(model, variants);
  const ProfileFigures f = profileFigures(last, {}, result.length);
  figures[0] << chartNumber(result.length);
  figures[1] << chartNumber(f.volume);
  figures[2] << QString::number(result.peakAfter);
  figures[3] << chartNumber(f.mean);
  figures[4] << chartNumber(f.mean > 0 ? static_cast<Extended>(result.peakAfter) / f.mean : 0);
  // The bound the search proved; the static one it started from only under its own name,
  // where it is lower (a proven minimum of 218 beside a bound of 216 read as a contradiction).
  const auto boundRow = [&](const QString& name, long long value) {
    QStringList row = {name};
    for (int v = 0; v < variants; ++v) row << QStringLiteral("—");
    figures.push_back(row << QString::number(value));
  };
  boundRow(QStringLiteral("Нижняя граница пика, чел."), result.bestBound);
  if (result.lowerBound < result.bestBound) {
    boundRow(QStringLiteral("Статическая нижняя граница пика, чел."), result.lowerBound);
  }
  return figures;
}

ChartPicture levelledProfilePicture(const TNetworkModel& model, const LevellingResult& result) {
  checkVariant(model, lastVariant(model));
  if (model.EventCount < 1) return messagePicture(QStringLiteral("Нет результатов расчета"));
  const std::vector<Curve> list = curves(model, &result, nullptr);
  long long peak = 0;
  for (const Curve& c : list) peak = std::max(peak, peakOf(c.steps));
  const DayAxis axis = dayAxisFor(model);
  const int variants = lastVariant(model);
  const std::vector<QStringList> figures = levelledFigureRows(model, result);
  QStringList header = {QStringLiteral("Показатель"), variantName(model, 1, true)};
  if (variants == 2) header << QStringLiteral("После оптимизации");
  header << QStringLiteral("После выравнивания");
  std::vector<QStringList> table = {header};
  table.insert(table.end(), figures.begin(), figures.end());
  std::vector<double> widths = {380};
  std::vector<QColor> colours = {kChartText, kBeforeColour.darker(120)};
  if (variants == 2) colours.push_back(kAfterColour.darker(130));
  colours.push_back(kLevelledColour.darker(130));
  for (int c = 1; c < header.size(); ++c) widths.push_back(170);

  const double plotTop = kTitleHeight + 34;
  const double plotHeight = 280;
  const double plotBottom = plotTop + plotHeight;
  const double legendTop = plotBottom + 26;
  const double tableTop = legendTop + 34;
  const double rowHeight = 24;
  const double tableHeight = rowHeight * static_cast<double>(table.size());
  double tableWidth = 0;
  for (double w : widths) tableWidth += w;
  const double width = std::max({axis.right() + kRightMargin, 900.0, 16 + tableWidth + 16});
  const double height = tableTop + tableHeight + 48;
  const WorkersScale scale = workersScale(peak, 8, plotTop, plotBottom);
  const auto y = [=](double workers) { return scale.y(workers); };
  const QString title = variants == 2 ? QStringLiteral("Движение рабочих до и после оптимизации и после выравнивания")
                                      : QStringLiteral("Движение рабочих до и после выравнивания");
  const QString summary = levellingSummary(result);
  std::vector<Extended> lengths = {model.LengthBefore};
  if (variants == 2) lengths.push_back(model.LengthAfter);
  const long long lowerBound = result.bestBound;

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    drawTitle(p, width, title);
    drawDayAxis(p, axis, plotTop, plotBottom, false);
    drawWorkersGrid(p, axis, scale, 11);
    drawWorkersFrame(p, axis, scale);
    drawCurves(p, list, axis, y);
    // The lower bound: no schedule within the floats peaks below it.
    if (lowerBound > 0) {
      const double by = y(static_cast<double>(lowerBound));
      p.setPen(QPen(kLevelledColour.darker(140), 1, Qt::DashDotLine));
      p.drawLine(QPointF(axis.left, by), QPointF(axis.right(), by));
    }
    drawCriticalLengths(p, axis, lengths, plotTop, plotBottom);

    double x = 16;
    for (const Curve& c : list) x = legendCurve(p, x, legendTop + 10, c);
    x = legendLine(p, x, legendTop + 10, QPen(kLevelledColour.darker(140), 1, Qt::DashDotLine),
                   QStringLiteral("нижняя граница пика (%1)").arg(lowerBound));
    legendLine(p, x, legendTop + 10, QPen(kCriticalColour, 1.5, Qt::DashLine), QStringLiteral("Tкр"));
    drawTable(p, 16, tableTop, widths, table, colours, rowHeight);
    p.setPen(kLevelledColour.darker(150));
    p.setFont(chartFont(13, true));
    p.drawText(QRectF(16, tableTop + tableHeight + 10, width - 32, 24), Qt::AlignLeft | Qt::AlignVCenter, summary);
  };
  return picture;
}

ChartPicture idProfilesPicture(const TNetworkModel& model, const LevellingResult* result) {
  checkVariant(model, lastVariant(model));
  if (model.EventCount < 1) return messagePicture(QStringLiteral("Нет результатов расчета"));
  std::vector<int> ids;
  for (int v = 1; v <= lastVariant(model); ++v) {
    for (const WorkTiming& w : workTimings(model, v)) {
      if (w.duration > 0 && w.workers > 0 && std::find(ids.begin(), ids.end(), w.id) == ids.end()) ids.push_back(w.id);
    }
  }
  if (ids.empty()) return messagePicture(QStringLiteral("Ни одна работа не занимает рабочих"));
  std::sort(ids.begin(), ids.end());
  struct Strip {
    int id;
    std::vector<Curve> curves;
    long long peak = 0;
  };
  auto strips = std::make_shared<std::vector<Strip>>();
  for (int id : ids) {
    Strip s{id, curves(model, result, &id)};
    for (const Curve& c : s.curves) s.peak = std::max(s.peak, peakOf(c.steps));
    strips->push_back(std::move(s));
  }
  const DayAxis axis = dayAxisFor(model);
  const double stripHeight = 132;
  const double plotHeight = 84;
  const double top = kTitleHeight + 8;
  const double width = std::max(axis.right() + kRightMargin, 900.0);
  const double legendHeight = 40;
  const double height = top + stripHeight * static_cast<double>(strips->size()) + legendHeight;
  const Extended length = variantLength(model, lastVariant(model));

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    drawTitle(p, width, QStringLiteral("Движение рабочих по идентификаторам (каждый Id — одна профессия)"));
    double stripTop = top;
    for (const Strip& s : *strips) {
      const double plotTop = stripTop + 22;
      const double plotBottom = plotTop + plotHeight;
      QStringList peaks;
      for (const Curve& c : s.curves) peaks << QString::number(peakOf(c.steps));
      p.setPen(kChartText);
      p.setFont(chartFont(13, true));
      p.drawText(QRectF(axis.left, stripTop, 90, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Id %1").arg(s.id));
      p.setFont(chartFont(12));
      p.drawText(QRectF(axis.left + 90, stripTop, 400, 20), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("пик: %1 чел.").arg(peaks.join(QStringLiteral(" → "))));
      const WorkersScale scale = workersScale(s.peak, 3, plotTop, plotBottom);
      const auto y = [=](double workers) { return scale.y(workers); };
      const Extended step = axis.tickStep();
      p.setPen(QPen(kChartGrid, 1));
      for (Extended day = 0; day <= axis.days + 1e-9; day += step) {
        p.drawLine(QPointF(axis.x(day), plotTop), QPointF(axis.x(day), plotBottom));
      }
      drawWorkersGrid(p, axis, scale, 10);
      p.setPen(QPen(kChartText, 1));
      p.drawLine(QPointF(axis.left, plotBottom), QPointF(axis.right(), plotBottom));
      drawCurves(p, s.curves, axis, y);
      p.setPen(QPen(kCriticalColour, 1.2, Qt::DashLine));
      p.drawLine(QPointF(axis.x(length), plotTop), QPointF(axis.x(length), plotBottom));
      stripTop += stripHeight;
    }
    drawDayAxis(p, axis, stripTop - stripHeight + 22, stripTop - stripHeight + 22 + plotHeight, false);
    double x = 16;
    for (const Curve& c : strips->front().curves) x = legendCurve(p, x, height - legendHeight / 2, c);
    legendLine(p, x, height - legendHeight / 2, QPen(kCriticalColour, 1.2, Qt::DashLine),
               QStringLiteral("Tкр — длина критического пути"));
  };
  return picture;
}

ChartPicture levelledBarChartPicture(const TNetworkModel& model, const LevellingResult& result) {
  checkVariant(model, lastVariant(model));
  std::vector<WorkTiming> works = workTimings(model, result.variant);
  if (works.empty()) return messagePicture(QStringLiteral("Нет результатов расчета"));
  if (works.size() != result.works.size()) return messagePicture(QStringLiteral("Выравнивание устарело: выполните его снова"));
  // Each bar at its smoothed start, its tail the room left up to the late start.
  std::vector<double> ghostStart;
  for (std::size_t k = 0; k < works.size(); ++k) {
    WorkTiming& w = works[k];
    const LevelledWork& s = result.works[k];
    w.critical = w.critical || std::fabs(static_cast<double>(w.totalFloat)) < kResidue;
    ghostStart.push_back(static_cast<double>(w.earlyStart));
    w.earlyStart = s.start;
    w.earlyFinish = s.start + w.duration;
    w.freeFloat = 0;
    w.totalFloat = s.shift > 0 || !w.critical ? std::max<Extended>(0, s.lateStart - s.start) : 0;
  }
  const DayAxis axis = dayAxisFor(model);
  const double top = kTitleHeight + kAxisHeight;
  auto rows = std::make_shared<std::vector<BarRow>>(barRows(works, axis, top));
  auto levelled = std::make_shared<std::vector<LevelledWork>>(result.works);
  const double plotBottom = top + kRowHeight * static_cast<double>(rows->size());
  const double legendHeight = 40;
  const double width = std::max(axis.right() + kRightMargin, 900.0);
  const double height = plotBottom + 22 + legendHeight;
  const Extended length = result.length;
  const QString title = QStringLiteral("Линейный график после выравнивания · пик %1 → %2 чел. · %3")
                            .arg(result.peakBefore)
                            .arg(result.peakAfter)
                            .arg(levellingProofText(result));

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
      const LevelledWork& s = (*levelled)[k];
      const QRectF bar = row.bar;
      const double mid = bar.center().y();
      const bool shifted = s.shift > 0;
      const QColor colour = row.work.critical ? kCriticalColour : shifted ? kLevelledColour : kWorkColour;
      p.setPen(row.work.critical ? kCriticalColour : shifted ? kLevelledColour.darker(130) : kChartText);
      p.setFont(chartFont(12, row.work.critical || shifted));
      p.drawText(QRectF(4, row.row.top(), axis.left - 12, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                 workName(row.work.I, row.work.J));
      if (row.totalEnd > bar.right()) {
        p.setPen(QPen(kFloatColour, 1.5, Qt::DashLine));
        p.drawLine(QPointF(bar.right(), mid), QPointF(row.totalEnd, mid));
        p.drawLine(QPointF(row.totalEnd, mid - 4), QPointF(row.totalEnd, mid + 4));
      }
      if (shifted) {
        // Where the work stood at its early start, and how far it moved.
        const double from = axis.x(ghostStart[k]);
        p.setPen(QPen(kGhostColour, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(from, bar.top(), bar.width(), bar.height()));
        QColor shade = kLevelledColour;
        shade.setAlpha(60);
        p.fillRect(QRectF(from, bar.top() + 3, bar.left() - from, bar.height() - 6), shade);
        p.setPen(QPen(kLevelledColour.darker(120), 1.4));
        p.drawLine(QPointF(from, mid), QPointF(bar.left() - 5, mid));
        p.setPen(Qt::NoPen);
        p.setBrush(kLevelledColour.darker(120));
        p.drawPolygon(QPolygonF({QPointF(bar.left() - 1, mid), QPointF(bar.left() - 7, mid - 4), QPointF(bar.left() - 7, mid + 4)}));
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
      if (shifted) {
        p.setPen(kLevelledColour.darker(150));
        p.setFont(chartFont(10));
        const double after = std::max(bar.right(), row.totalEnd) + 4;
        p.drawText(QRectF(after, row.row.top(), 60, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("+%1 дн.").arg(s.shift));
      }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!inView(p, QRectF(0, height - legendHeight, width, legendHeight))) return;
    const double ly = height - legendHeight / 2;
    double x = legendBox(p, 16, ly, Qt::NoPen, kCriticalColour, QStringLiteral("критическая"));
    x = legendBox(p, x, ly, Qt::NoPen, kWorkColour, QStringLiteral("на месте"));
    x = legendBox(p, x, ly, Qt::NoPen, kLevelledColour, QStringLiteral("сдвинута"));
    x = legendBox(p, x, ly, QPen(kGhostColour, 1, Qt::DashLine), Qt::NoBrush, QStringLiteral("раннее начало"));
    x = legendLine(p, x, ly, QPen(kFloatColour, 1.5, Qt::DashLine), QStringLiteral("остаток резерва"));
    legendLine(p, x, ly, QPen(kCriticalColour, 1, Qt::DashLine), QStringLiteral("длина критического пути"));
  };
  picture.stickyHeight = top;
  picture.stickyWidth = axis.left;
  picture.toolTip = [=](QPointF at) -> QString {
    const double index = std::floor((at.y() - top) / kRowHeight);
    if (index >= 0 && index < static_cast<double>(rows->size())) {
      const std::size_t k = static_cast<std::size_t>(index);
      const BarRow& row = (*rows)[k];
      if (!row.row.contains(at)) return {};
      const LevelledWork& s = (*levelled)[k];
      return QStringLiteral("Работа %1, Id %2, рабочих %3\nРаннее начало: %4, начало после выравнивания: %5 (сдвиг %6 дн.)\n"
                            "Позднее начало: %7")
          .arg(workName(s.I, s.J))
          .arg(s.id)
          .arg(s.workers)
          .arg(chartNumber(s.earlyStart), chartNumber(s.start))
          .arg(s.shift)
          .arg(chartNumber(s.lateStart));
    }
    return {};
  };
  return picture;
}

QStringList shiftHeaders(bool dated) {
  QStringList headers = {QStringLiteral("Работа I-J"),      QStringLiteral("Id"),       QStringLiteral("Рабочих n"),
                         QStringLiteral("Раннее начало ES"), QStringLiteral("Начало S"), QStringLiteral("Сдвиг, дн."),
                         QStringLiteral("Позднее начало LS")};
  if (dated) headers << QStringLiteral("Дата начала") << QStringLiteral("Дата окончания");
  return headers;
}

std::vector<QStringList> shiftRows(const LevellingResult& result, const WorkingDays* calendar) {
  std::vector<QStringList> rows;
  for (const LevelledWork& w : result.works) {
    if (w.shift <= 0) continue;
    rows.push_back({workName(w.I, w.J), QString::number(w.id), QString::number(w.workers), chartNumber(w.earlyStart),
                    chartNumber(w.start), QString::number(w.shift), chartNumber(w.lateStart)});
    if (calendar) {
      const double start = static_cast<double>(w.start), duration = static_cast<double>(w.duration);
      rows.back() << screenDate(calendar->beginOf(start)) << screenDate(calendar->finishOf(start, duration));
    }
  }
  return rows;
}

QString shiftsText(const LevellingResult& result, const WorkingDays* calendar) {
  QString text = shiftHeaders(calendar != nullptr).join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (const QStringList& row : shiftRows(result, calendar)) text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  return text;
}

QString shiftsMessage(const LevellingResult* result) {
  if (result == nullptr) {
    return QStringLiteral("Выравнивание не выполнялось: нажмите «Выравнивание» на панели окна");
  }
  if (result->shiftedCount() == 0) {
    return result->proven ? QStringLiteral("Ни одна работа не сдвинута: в ранние сроки пик %1 чел. уже наименьший")
                                .arg(result->peakAfter)
                          : QStringLiteral("Ни одна работа не сдвинута: меньшего пика не найдено (%1)")
                                .arg(levellingProofText(*result));
  }
  return QStringLiteral("Сдвинуто работ: %1 из %2; остальные начинаются в свои ранние сроки")
      .arg(result->shiftedCount())
      .arg(result->works.size());
}

ChartPicture shiftsPicture(const LevellingResult* result, const WorkingDays* calendar) {
  if (result == nullptr || result->shiftedCount() == 0) return messagePicture(shiftsMessage(result));
  const QStringList headers = shiftHeaders(calendar != nullptr);
  std::vector<QStringList> table = {headers};
  for (QStringList& row : shiftRows(*result, calendar)) table.push_back(std::move(row));
  const QFont font = chartFont(12);
  const QFont bold = chartFont(12, true);
  std::vector<double> widths;
  for (int c = 0; c < headers.size(); ++c) {
    double w = QFontMetricsF(bold).horizontalAdvance(headers[c]);
    for (const QStringList& row : table) w = std::max(w, QFontMetricsF(font).horizontalAdvance(row[c]));
    widths.push_back(w + 14);
  }
  double tableWidth = 0;
  for (double w : widths) tableWidth += w;
  const double rowHeight = 22;
  const double left = 12;
  const double top = 44;
  const QString summary = levellingSummary(*result);
  const double width = std::max({tableWidth + 2 * left, 640.0, QFontMetricsF(chartFont(15, true)).horizontalAdvance(summary) + 2 * left});
  const double height = top + rowHeight * static_cast<double>(table.size()) + 14;
  const std::vector<QColor> colours(widths.size(), kChartText);
  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    drawTitle(p, width, summary);
    drawTable(p, left, top, widths, table, colours, rowHeight);
  };
  return picture;
}

}  // namespace velko
