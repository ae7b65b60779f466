#include "ui/charts/optimisation_log.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>

#include "ui/charts/chart_text.h"

namespace velko {

namespace {

QString load(Extended duration, int workers, bool plain) {
  return (plain ? plainNumber(duration) : chartNumber(duration)) + QStringLiteral(" / ") + QString::number(workers);
}

std::vector<QStringList> rows(const std::vector<OptimisationMove>& moves, bool plain) {
  const auto number = [plain](Extended x) { return plain ? plainNumber(x) : chartNumber(x); };
  std::vector<QStringList> out;
  int k = 0;
  for (const OptimisationMove& m : moves) {
    out.push_back({QString::number(++k), workName(m.critical.I, m.critical.J), QString::number(m.id),
                   workName(m.donor.I, m.donor.J), number(m.stretch), number(m.volume),
                   QString::number(m.newWorkers), QString::number(m.freedWorkers),
                   load(m.donorDurationBefore, m.donorWorkersBefore, plain),
                   load(m.donorDurationAfter, m.donorWorkersAfter, plain),
                   load(m.criticalDurationBefore, m.criticalWorkersBefore, plain),
                   load(m.criticalDurationAfter, m.criticalWorkersAfter, plain), number(m.lengthAfter)});
  }
  return out;
}

QString csvField(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))) return text;
  QString quoted = text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

QString optimisationLogSummary(const std::vector<OptimisationMove>& moves) {
  long long movers = 0;
  long long workers = 0;
  for (const OptimisationMove& m : moves) {
    if (movesNobody(m)) continue;
    ++movers;
    workers += m.freedWorkers;
  }
  return QStringLiteral("доноров: %1, перемещений: %2, перемещено рабочих: %3")
      .arg(moves.size())
      .arg(movers)
      .arg(workers);
}

QStringList optimisationLogHeaders() {
  return {QStringLiteral("№"),
          QStringLiteral("Критическая работа"),
          QStringLiteral("Id"),
          QStringLiteral("Донор"),
          QStringLiteral("Растяжение R"),
          QStringLiteral("Объём V"),
          QStringLiteral("Новых рабочих m"),
          QStringLiteral("Освобождено d"),
          QStringLiteral("Донор до: t / n"),
          QStringLiteral("Донор после: t / n"),
          QStringLiteral("Критическая до: t / n"),
          QStringLiteral("Критическая после: t / n"),
          QStringLiteral("Длина пути после")};
}

std::vector<QStringList> optimisationLogRows(const std::vector<OptimisationMove>& moves) { return rows(moves, false); }

QString optimisationLogText(const std::vector<OptimisationMove>& moves) {
  QString text = optimisationLogHeaders().join(QLatin1Char('\t')) + QLatin1Char('\n');
  for (const QStringList& row : rows(moves, false)) text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  return text;
}

std::string optimisationLogCsv(const std::vector<OptimisationMove>& moves) {
  const auto line = [](const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields) quoted << csvField(f);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  };
  QString text = line(optimisationLogHeaders());
  for (const QStringList& row : rows(moves, true)) text += line(row);
  return text.toStdString();
}

QString emptyLogMessage(bool optimised) {
  return optimised ? QStringLiteral("Оптимизация не нашла ни одной работы-донора: рабочие не перемещались")
                   : QStringLiteral("Оптимизация не выполнялась: журнал пуст");
}

ChartPicture optimisationLogPicture(const std::vector<OptimisationMove>& moves, bool optimised) {
  if (moves.empty()) return messagePicture(emptyLogMessage(optimised));
  const QStringList headers = optimisationLogHeaders();
  const std::vector<QStringList> table = optimisationLogRows(moves);
  const QFont font = chartFont(12);
  const QFont bold = chartFont(12, true);
  std::vector<double> widths;
  for (int c = 0; c < headers.size(); ++c) {
    double w = QFontMetricsF(bold).horizontalAdvance(headers[c]);
    for (const QStringList& row : table) w = std::max(w, QFontMetricsF(font).horizontalAdvance(row[c]));
    widths.push_back(w + 14);
  }
  const double rowHeight = 22;
  const double left = 12;
  const double top = 44;
  double tableWidth = 0;
  for (double w : widths) tableWidth += w;
  const double width = std::max(tableWidth + 2 * left, 640.0);
  const double height = top + rowHeight * static_cast<double>(table.size() + 1) + 14;

  ChartPicture picture;
  picture.size = QSizeF(width, height);
  picture.paint = [=](QPainter& p) {
    p.fillRect(QRectF(0, 0, width, height), Qt::white);
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.setFont(chartFont(15, true));
    p.drawText(QRectF(left, 6, width - 2 * left, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Журнал оптимизации: ") + optimisationLogSummary(moves));
    for (std::size_t r = 0; r <= table.size(); ++r) {
      const QStringList& row = r == 0 ? headers : table[r - 1];
      const double y = top + rowHeight * static_cast<double>(r);
      if (r == 0) p.fillRect(QRectF(left, y, tableWidth, rowHeight), QColor(0xea, 0xee, 0xf3));
      double x = left;
      for (int c = 0; c < row.size(); ++c) {
        const double w = widths[static_cast<std::size_t>(c)];
        p.setPen(QColor(0xb8, 0xb8, 0xb8));
        p.drawRect(QRectF(x, y, w, rowHeight));
        // The critical work that took the workers, in the pictures' critical colour;
        // a row that moved nobody muted.
        const bool muted = r > 0 && movesNobody(moves[r - 1]);
        p.setPen(muted ? kMutedText : r > 0 && c == 1 ? kCriticalColour : QColor(0x20, 0x20, 0x20));
        p.setFont(r == 0 ? bold : font);
        p.drawText(QRectF(x + 6, y, w - 12, rowHeight), Qt::AlignCenter, row[c]);
        x += w;
      }
    }
  };
  return picture;
}

}  // namespace velko
