#include "ui/charts/crew_pictures.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "crews/crew_answer_text.h"
#include "ui/charts/chart_calendar.h"
#include "ui/charts/chart_drawing.h"
#include "ui/charts/chart_text.h"

namespace velko {

namespace {


QString reasonOf(const CrewAnswer& answer, std::size_t w) {
  return QString::fromStdString(crewDelayReason(answer, w));
}

}  // namespace

QString crewProofText(const CrewAnswer& a) {
  return a.proven ? QStringLiteral("минимум доказан")
                  : QStringLiteral("лучшее найденное, нижняя граница %1").arg(chartNumber(a.bound));
}

QString crewSummaryText(const CrewAnswer& a) {
  return QStringLiteral("Ограничение бригад: длина %1 → %2 дн., %3; задержано работ: %4 из %5")
      .arg(chartNumber(a.length), chartNumber(a.newLength), crewProofText(a))
      .arg(a.delayed)
      .arg(a.works.size());
}

ChartPicture crewBarChartPicture(const TNetworkModel& model, const CrewAnswer& answer) {
  std::vector<WorkTiming> works = workTimings(model, answer.variant);
  if (works.empty()) return messagePicture(QStringLiteral("Нет результатов расчета"));
  if (works.size() != answer.works.size()) return messagePicture(QStringLiteral("Ограничение бригад устарело: выполните его снова"));
  for (std::size_t k = 0; k < works.size(); ++k) {
    const CrewWorkAnswer& s = answer.works[k];
    WorkTiming& w = works[k];
    w.earlyStart = s.start;
    w.earlyFinish = s.finish;
    w.freeFloat = 0;
    w.totalFloat = std::max<Extended>(0, s.lateStart - s.start);
    w.critical = s.delay <= 0 && s.lateStart <= s.start && s.inProfile;
  }
  const DayAxis axis = dayAxisFor(std::max(answer.newLength, chartDays(model)));
  const double top = kTitleHeight + kAxisHeight;
  auto rows = std::make_shared<std::vector<BarRow>>(barRows(works, axis, top));
  auto answers = std::make_shared<std::vector<CrewWorkAnswer>>(answer.works);
  std::vector<QString> reasons;
  for (std::size_t k = 0; k < answer.works.size(); ++k) reasons.push_back(reasonOf(answer, k));
  auto why = std::make_shared<std::vector<QString>>(std::move(reasons));
  const double plotBottom = top + kRowHeight * static_cast<double>(rows->size());
  const double legendHeight = 40;
  const double width = std::max(axis.right() + kRightMargin, 900.0);
  const double height = plotBottom + 22 + legendHeight;
  const Extended length = answer.newLength;
  const Extended oldLength = answer.length;
  const QString title = QStringLiteral("Линейный график с ограничением бригад · длина %1 → %2 дн. · %3")
                            .arg(chartNumber(answer.length), chartNumber(answer.newLength), crewProofText(answer));

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    if (inView(p, QRectF(0, 0, width, kTitleHeight))) drawTitle(p, width, title);
    drawBarGround(p, axis, top, plotBottom, kRowHeight, width, length);
    p.setPen(QPen(kChartText, 1, Qt::DotLine));
    p.drawLine(QPointF(axis.x(oldLength), top), QPointF(axis.x(oldLength), plotBottom));
    p.setRenderHint(QPainter::Antialiasing);
    const auto [first, last] = rowsInView(p, top, kRowHeight, rows->size());
    for (std::size_t k = first; k < last; ++k) {
      const BarRow& row = (*rows)[k];
      const CrewWorkAnswer& s = (*answers)[k];
      const QRectF bar = row.bar;
      const double mid = bar.center().y();
      const bool delayed = s.delay > 0;
      const QColor colour = delayed ? kDelayColour : row.work.critical ? kCriticalColour : kWorkColour;
      p.setPen(delayed ? kDelayColour.darker(130) : kChartText);
      p.setFont(chartFont(12, delayed));
      p.drawText(QRectF(4, row.row.top(), axis.left - 12, kRowHeight), Qt::AlignRight | Qt::AlignVCenter,
                 workName(s.I, s.J));
      if (row.totalEnd > bar.right()) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5, Qt::DashLine));
        p.drawLine(QPointF(bar.right(), mid), QPointF(row.totalEnd, mid));
      }
      if (delayed) {
        // The late start it missed, and how far past it the work starts.
        const double from = axis.x(s.lateStart);
        QColor shade = kDelayColour;
        shade.setAlpha(60);
        p.fillRect(QRectF(from, bar.top() + 3, bar.left() - from, bar.height() - 6), shade);
        p.setPen(QPen(kDelayColour.darker(130), 1.4));
        p.drawLine(QPointF(from, bar.top()), QPointF(from, bar.bottom()));
      }
      p.setPen(colour.darker(130));
      p.setBrush(colour);
      p.drawRect(bar);
      const QString workers = QString::number(s.workers);
      p.setFont(chartFont(10, true));
      if (QFontMetricsF(p.font()).horizontalAdvance(workers) + 4 < bar.width()) {
        p.setPen(Qt::white);
        p.drawText(bar, Qt::AlignCenter, workers);
      }
      if (delayed) {
        p.setPen(kDelayColour.darker(150));
        p.setFont(chartFont(10));
        p.drawText(QRectF(bar.right() + 4, row.row.top(), 90, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("+%1 дн.").arg(chartNumber(s.delay)));
      }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!inView(p, QRectF(0, height - legendHeight, width, legendHeight))) return;
    const double ly = height - legendHeight / 2;
    double x = legendBox(p, 16, ly, Qt::NoPen, kCriticalColour, QStringLiteral("критическая"));
    x = legendBox(p, x, ly, Qt::NoPen, kWorkColour, QStringLiteral("в срок"));
    x = legendBox(p, x, ly, Qt::NoPen, kDelayColour, QStringLiteral("позже позднего начала"));
    x = legendLine(p, x, ly, QPen(kChartText, 1, Qt::DotLine), QStringLiteral("длина без ограничений"));
    legendLine(p, x, ly, QPen(kCriticalColour, 1, Qt::DashLine), QStringLiteral("длина с ограничением бригад"));
  };
  picture.stickyHeight = top;
  picture.stickyWidth = axis.left;
  picture.toolTip = [=](QPointF at) -> QString {
    const double index = std::floor((at.y() - top) / kRowHeight);
    if (index < 0 || index >= static_cast<double>(rows->size())) return {};
    const std::size_t k = static_cast<std::size_t>(index);
    if (!(*rows)[k].row.contains(at)) return {};
    const CrewWorkAnswer& s = (*answers)[k];
    QString text = QStringLiteral("Работа %1, Id %2, рабочих %3\nНачало %4, окончание %5; позднее начало %6")
                       .arg(workName(s.I, s.J))
                       .arg(s.id)
                       .arg(s.workers)
                       .arg(chartNumber(s.start), chartNumber(s.finish), chartNumber(s.lateStart));
    if (s.delay > 0) text += QStringLiteral("\nЗадержка %1 дн.: %2").arg(chartNumber(s.delay), (*why)[k]);
    return text;
  };
  return picture;
}

ChartPicture crewProfilesPicture(const CrewAnswer& answer) {
  if (answer.trades.empty()) return messagePicture(QStringLiteral("Ни одна работа не занимает рабочих"));
  auto trades = std::make_shared<std::vector<CrewTradeAnswer>>();
  for (const auto& [id, t] : answer.trades) trades->push_back(t);
  const DayAxis axis = dayAxisFor(answer.newLength);
  const double stripHeight = 132;
  const double plotHeight = 84;
  const double top = kTitleHeight + 8;
  const double width = std::max(axis.right() + kRightMargin, 900.0);
  const double legendHeight = 40;
  const double height = top + stripHeight * static_cast<double>(trades->size()) + legendHeight;
  const Extended length = answer.newLength;

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    drawTitle(p, width, QStringLiteral("Движение рабочих по бригадам с ограничением (каждый Id — одна профессия)"));
    double stripTop = top;
    for (const CrewTradeAnswer& t : *trades) {
      const double plotTop = stripTop + 22;
      const double plotBottom = plotTop + plotHeight;
      p.setPen(kChartText);
      p.setFont(chartFont(13, true));
      p.drawText(QRectF(axis.left, stripTop, 90, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Id %1").arg(t.id));
      p.setFont(chartFont(12));
      const QString limit = t.limit > 0 ? QString::number(t.limit) : QStringLiteral("нет");
      p.drawText(QRectF(axis.left + 90, stripTop, width - axis.left - 90, 20), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("ограничение: %1; пик %2 → %3 чел., средняя %4, неравномерность %5")
                     .arg(limit)
                     .arg(t.earlyPeak)
                     .arg(t.figures.peak)
                     .arg(chartNumber(t.figures.mean), chartNumber(t.figures.unevenness)));
      const WorkersScale scale = workersScale(std::max(t.figures.peak, std::max(t.limit, t.earlyPeak)), 3, plotTop, plotBottom);
      p.setPen(QPen(kChartGrid, 1));
      for (Extended day = 0; day <= axis.days + 1e-9; day += axis.tickStep()) {
        p.drawLine(QPointF(axis.x(day), plotTop), QPointF(axis.x(day), plotBottom));
      }
      drawWorkersGrid(p, axis, scale, 10);
      p.setPen(QPen(kChartText, 1));
      p.drawLine(QPointF(axis.left, plotBottom), QPointF(axis.right(), plotBottom));
      p.save();
      p.setRenderHint(QPainter::Antialiasing);
      const std::vector<ProfileStep> steps = stepsToDraw(p, axis, withoutResidues(t.profile));
      QPainterPath path(QPointF(axis.x(0), scale.y(0)));
      for (const ProfileStep& s : steps) {
        path.lineTo(axis.x(s.from), path.currentPosition().y());
        path.lineTo(axis.x(s.from), scale.y(static_cast<double>(s.workers)));
        path.lineTo(axis.x(s.to), scale.y(static_cast<double>(s.workers)));
      }
      path.lineTo(path.currentPosition().x(), scale.y(0));
      QColor fill = kDelayColour;
      fill.setAlpha(48);
      p.fillPath(path, fill);
      p.setPen(QPen(kDelayColour, 2.2));
      p.drawPath(path);
      p.restore();
      if (t.limit > 0) {
        p.setPen(QPen(kLimitColour, 1.4, Qt::DashDotLine));
        const double ly = scale.y(static_cast<double>(t.limit));
        p.drawLine(QPointF(axis.left, ly), QPointF(axis.right(), ly));
      }
      p.setPen(QPen(kCriticalColour, 1.2, Qt::DashLine));
      p.drawLine(QPointF(axis.x(length), plotTop), QPointF(axis.x(length), plotBottom));
      stripTop += stripHeight;
    }
    drawDayAxis(p, axis, stripTop - stripHeight + 22, stripTop - stripHeight + 22 + plotHeight, false);
    const double ly = height - legendHeight / 2;
    double x = legendLine(p, 16, ly, QPen(kDelayColour, 2.2), QStringLiteral("рабочих с ограничением бригад"));
    x = legendLine(p, x, ly, QPen(kLimitColour, 1.4, Qt::DashDotLine), QStringLiteral("ограничение бригады"));
    legendLine(p, x, ly, QPen(kCriticalColour, 1.2, Qt::DashLine), QStringLiteral("новая длина"));
  };
  return picture;
}

QStringList crewDelayHeaders(bool dated) {
  QStringList headers{QStringLiteral("Работа I-J"), QStringLiteral("Id"), QStringLiteral("Рабочих n"),
                      QStringLiteral("Позднее начало LS"), QStringLiteral("Начало S"), QStringLiteral("Задержка, дн.")};
  if (dated) headers << QStringLiteral("Дата начала") << QStringLiteral("Дата окончания");
  return headers << QStringLiteral("Причина");
}

std::vector<QStringList> crewDelayRows(const CrewAnswer& answer, const WorkingDays* dates) {
  std::vector<QStringList> rows;
  for (std::size_t k = 0; k < answer.works.size(); ++k) {
    const CrewWorkAnswer& w = answer.works[k];
    if (w.delay <= 0) continue;
    QStringList row{workName(w.I, w.J), QString::number(w.id), QString::number(w.workers), chartNumber(w.lateStart),
                    chartNumber(w.start), chartNumber(w.delay)};
    if (dates) {
      const double start = static_cast<double>(w.start), duration = static_cast<double>(w.duration);
      row << screenDate(dates->beginOf(start)) << screenDate(dates->finishOf(start, duration));
    }
    rows.push_back(row << reasonOf(answer, k));
  }
  return rows;
}

QString crewDelaysText(const CrewAnswer& answer, const WorkingDays* dates) {
  QString text = crewDelayHeaders(dates != nullptr).join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (const QStringList& row : crewDelayRows(answer, dates)) text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  return text;
}

QString crewDelaysMessage(const CrewAnswer& answer) {
  if (answer.delayed == 0) return QStringLiteral("Ни одна работа не начинается позже позднего начала: %1").arg(crewSummaryText(answer));
  return crewSummaryText(answer);
}

}  // namespace velko
