#include "ui/charts/optimisation_log.h"

#include <algorithm>
#include <memory>

#include <QFontMetricsF>
#include <QPainter>
#include <QGlyphRun>
#include <QRawFont>
#include <QVector>

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

std::vector<double> logColumnWidths(const QStringList& headers, const std::vector<QStringList>& rows,
                                    const QFont& font, const QFont& bold) {
  constexpr std::size_t kMeasured = 4;  // per column, the longest ones
  const QFontMetricsF plain(font);
  std::vector<double> widths;
  for (int c = 0; c < headers.size(); ++c) {
    std::vector<const QString*> longest;
    for (const QStringList& row : rows) {
      const QString* text = &row[c];
      if (longest.size() == kMeasured && text->size() <= longest.back()->size()) continue;
      if (longest.size() == kMeasured) longest.pop_back();
      longest.insert(std::upper_bound(longest.begin(), longest.end(), text,
                                      [](const QString* a, const QString* b) { return a->size() > b->size(); }),
                     text);
    }
    double w = QFontMetricsF(bold).horizontalAdvance(headers[c]);
    for (const QString* text : longest) w = std::max(w, plain.horizontalAdvance(*text));
    widths.push_back(w);
  }
  return widths;
}

std::vector<ChartPicture> optimisationLogPages(const std::vector<OptimisationMove>& moves, bool optimised) {
  if (moves.empty()) return {messagePicture(emptyLogMessage(optimised))};
  const QStringList headers = optimisationLogHeaders();
  auto table = std::make_shared<const std::vector<QStringList>>(optimisationLogRows(moves));
  const QFont font = chartFont(12);
  const QFont bold = chartFont(12, true);
  std::vector<double> widths = logColumnWidths(headers, *table, font, bold);
  for (double& w : widths) w += 14;
  const double rowHeight = 22;
  const double left = 12;
  const double top = 44;
  double tableWidth = 0;
  for (double w : widths) tableWidth += w;
  const double width = std::max(tableWidth + 2 * left, 640.0);
  const std::size_t pageCount = (table->size() + kLogRowsPerPage - 1) / kLogRowsPerPage;
  const QFontMetricsF metrics(font);
  const double baseline = (rowHeight + metrics.ascent() - metrics.descent()) / 2;

  auto muted = std::make_shared<std::vector<bool>>();
  for (const OptimisationMove& m : moves) muted->push_back(movesNobody(m));
  const QString summary = optimisationLogSummary(moves);

  std::vector<ChartPicture> pages;
  for (std::size_t page = 0; page < pageCount; ++page) {
    const std::size_t first = page * kLogRowsPerPage;
    const std::size_t last = std::min(table->size(), first + kLogRowsPerPage);
    const double height = top + rowHeight * static_cast<double>(last - first + 1) + 14;
    QString title = QStringLiteral("Журнал оптимизации: ") + summary;
    if (pageCount > 1) title += QStringLiteral(" · лист %1 из %2").arg(page + 1).arg(pageCount);
    ChartPicture picture;
    picture.size = QSizeF(width, height);
    picture.paint = [=](QPainter& p) {
      p.fillRect(QRectF(0, 0, width, height), Qt::white);
      p.setPen(QColor(0x20, 0x20, 0x20));
      p.setFont(chartFont(15, true));
      p.drawText(QRectF(left, 6, width - 2 * left, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
      const double bottom = top + rowHeight * static_cast<double>(last - first + 1);
      p.fillRect(QRectF(left, top, tableWidth, rowHeight), QColor(0xea, 0xee, 0xf3));
      // The rules once per line, not a frame per cell.
      QVector<QLineF> rules;
      for (std::size_t r = 0; r <= last - first + 1; ++r) {
        const double y = top + rowHeight * static_cast<double>(r);
        rules << QLineF(left, y, left + tableWidth, y);
      }
      double x = left;
      rules << QLineF(x, top, x, bottom);
      for (double w : widths) {
        x += w;
        rules << QLineF(x, top, x, bottom);
      }
      p.setPen(QColor(0xb8, 0xb8, 0xb8));
      p.drawLines(rules);
      p.setFont(bold);
      p.setPen(QColor(0x20, 0x20, 0x20));
      x = left;
      for (int c = 0; c < headers.size(); ++c) {
        const double w = widths[static_cast<std::size_t>(c)];
        p.drawText(QRectF(x + 6, top, w - 12, rowHeight), Qt::AlignCenter, headers[c]);
        x += w;
      }
      // Rows: two glyph runs each, of the face's own glyphs and advances placed cell by
      // cell: the critical work that took the workers, in the pictures' critical colour,
      // and the other cells. The texts are digits, signs and work names, which need no
      // shaping, and laying out each of thousands of cells as text costs many times more.
      const QRawFont raw = QRawFont::fromFont(font);
      const QRectF clip = p.clipBoundingRect();  // empty when the painter does not clip
      for (std::size_t r = first; r < last; ++r) {
        const double y = top + rowHeight * static_cast<double>(r - first + 1);
        if (!clip.isEmpty() && !clip.intersects(QRectF(0, y, width, rowHeight))) continue;
        const QStringList& row = (*table)[r];
        // Runs by colour: the plain cells, the critical work, a row that moved nobody.
        QList<quint32> glyphs[3];
        QList<QPointF> positions[3];
        const bool mutedRow = (*muted)[r];
        double cellLeft = left;
        for (int c = 0; c < row.size(); ++c) {
          const double w = widths[static_cast<std::size_t>(c)];
          const QList<quint32> cell = raw.glyphIndexesForString(row[c]);
          const QList<QPointF> advances = raw.advancesForGlyphIndexes(cell);
          double advance = 0;
          for (const QPointF& a : advances) advance += a.x();
          const int run = mutedRow ? 2 : c == 1 ? 1 : 0;
          double at = cellLeft + (w - advance) / 2;
          for (qsizetype g = 0; g < cell.size(); ++g) {
            glyphs[run] << cell[g];
            positions[run] << QPointF(at, y + baseline);
            at += advances[g].x();
          }
          cellLeft += w;
        }
        for (int k = 0; k < 3; ++k) {
          if (glyphs[k].isEmpty()) continue;
          QGlyphRun run;
          run.setRawFont(raw);
          run.setGlyphIndexes(glyphs[k]);
          run.setPositions(positions[k]);
          p.setPen(k == 2 ? kMutedText : k == 1 ? kCriticalColour : QColor(0x20, 0x20, 0x20));
          p.drawGlyphRun(QPointF(0, 0), run);
        }
      }
    };
    pages.push_back(std::move(picture));
  }
  return pages;
}

}  // namespace velko
