#include "ui/report/plan_pdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "model/command_error.h"

namespace velko {

namespace {

// Shares of the line's width, in the order of calendarPlanHeadings().
constexpr double kColumnShares[] = {0.30, 0.045, 0.045, 0.08, 0.065, 0.14, 0.09, 0.09, 0.145};

QString variantTitle(const CalendarPlan& plan) {
  QString title = plan.reallocated   ? QStringLiteral("после перераспределения")
                  : plan.variant == 2 ? QStringLiteral("после оптимизации")
                                      : QStringLiteral("до оптимизации");
  if (plan.smoothed) title += QStringLiteral(", после выравнивания");
  const std::string iso = isoDate(plan.startDate);
  return QStringLiteral("Календарный план (%1). Дата начала %2.%3.%4")
      .arg(title, QString::fromStdString(iso.substr(8, 2)), QString::fromStdString(iso.substr(5, 2)),
           QString::fromStdString(iso.substr(0, 4)));
}

}  // namespace

QByteArray calendarPlanPdf(const CalendarPlan& plan) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 12, 15, 12),
                                     QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Velko"));
    writer.setTitle(QStringLiteral("Календарный план"));
    QPainter painter;
    if (!painter.begin(&writer)) throw CommandError("Не удалось построить документ PDF");
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.5);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(font, &writer);
    const QRectF page = QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const double line = metrics.height() * 1.35;
    const double pad = metrics.averageCharWidth() * 0.6;
    const int rowsPerPage = std::max(1, static_cast<int>((page.height() - 4 * line) / line));
    const int rowCount = static_cast<int>(plan.rows.size());
    const int pages = std::max(1, (rowCount + rowsPerPage - 1) / rowsPerPage);
    const auto& headings = calendarPlanHeadings();

    auto drawRow = [&](double y, const std::vector<std::string>& cells, bool heading) {
      double x = page.left();
      painter.setFont(heading ? bold : font);
      for (std::size_t k = 0; k < cells.size(); ++k) {
        const double width = page.width() * kColumnShares[k];
        const QRectF cell(x, y, width, line);
        painter.drawRect(cell);
        const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
        const QString text = QFontMetricsF(painter.font(), &writer)
                                 .elidedText(QString::fromStdString(cells[k]), Qt::ElideRight, inner.width());
        const Qt::Alignment align = k == 0 || heading ? Qt::AlignLeft : Qt::AlignRight;
        painter.drawText(inner, align | Qt::AlignVCenter, text);
        x += width;
      }
    };

    for (int number = 1; number <= pages; ++number) {
      if (number > 1) writer.newPage();
      painter.setPen(QPen(Qt::black, 0));
      painter.setFont(bold);
      painter.drawText(QRectF(page.left(), page.top(), page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                       variantTitle(plan));
      double y = page.top() + line * 1.5;
      drawRow(y, headings, true);
      y += line;
      const int first = (number - 1) * rowsPerPage;
      for (int r = first; r < std::min(rowCount, first + rowsPerPage); ++r, y += line)
        drawRow(y, calendarPlanCells(plan.rows[static_cast<std::size_t>(r)]), false);
      painter.setFont(font);
      painter.drawText(QRectF(page.left(), page.bottom() - line, page.width(), line), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Лист %1 из %2").arg(number).arg(pages));
    }
    painter.end();
  }
  return bytes;
}

}  // namespace velko
