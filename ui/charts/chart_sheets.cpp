#include "ui/charts/chart_sheets.h"

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include "model/command_error.h"
#include "ui/charts/chart_drawing.h"

namespace velko {

namespace {

constexpr double kLabelHeight = 18;  // points, under each sheet
// The overview is drawn as an image: a vector drawing of 100,000 works shrunk to one
// sheet would be as large as all the sheets and show no more.
constexpr int kOverviewPixels = 2400;

void drawLabel(QPainter& p, QSizeF area, const QString& text) {
  p.setPen(kChartText);
  p.setFont(chartFont(9));
  p.drawText(QRectF(0, area.height() - kLabelHeight + 4, area.width(), kLabelHeight - 4),
             Qt::AlignLeft | Qt::AlignVCenter, text);
}

void drawOverview(QPainter& p, const ChartPicture& picture, const SheetPlan& plan, QSizeF area,
                  const QString& name) {
  const QSizeF room(area.width(), area.height() - kLabelHeight);
  const double fit = std::min(room.width() / picture.size.width(), room.height() / picture.size.height());
  const QSizeF shown = picture.size * fit;
  const double pixels = std::min(1.0, kOverviewPixels / std::max(picture.size.width(), picture.size.height()));
  QImage image((picture.size * pixels).toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.scale(pixels, pixels);
    picture.paint(painter);
  }
  p.drawImage(QRectF(QPointF(0, 0), shown), image);
  // The sheets on the picture, numbered as their labels are.
  p.setPen(QPen(QColor(0x20, 0x60, 0xc0), 0.6));
  p.setFont(chartFont(std::clamp(static_cast<int>(plan.content.height() * plan.scale * fit / 3), 5, 12)));
  int sheet = 2;
  for (int r = 0; r < plan.rows; ++r) {
    for (int c = 0; c < plan.columns; ++c, ++sheet) {
      const QRectF cell((picture.stickyWidth + c * plan.content.width()) * fit,
                        (picture.stickyHeight + r * plan.content.height()) * fit,
                        plan.content.width() * fit, plan.content.height() * fit);
      p.setBrush(Qt::NoBrush);
      p.drawRect(cell.intersected(QRectF(QPointF(0, 0), shown)));
      if (cell.width() > 14 && cell.height() > 8) p.drawText(cell, Qt::AlignCenter, QString::number(sheet));
    }
  }
  drawLabel(p, area,
            QStringLiteral("%1 · лист 1 из %2 · обзор: %3 рядов × %4 столбцов, масштаб %5 %")
                .arg(name)
                .arg(plan.sheets())
                .arg(plan.rows)
                .arg(plan.columns)
                .arg(qRound(plan.scale / kSheetScale * 100)));
}

}  // namespace

QPageLayout sheetPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(28, 28, 28, 28), QPageLayout::Point);
}

SheetPlan planSheets(const ChartPicture& picture, QSizeF area) {
  SheetPlan plan;
  const double fit = std::min(area.width() / picture.size.width(), (area.height() - kLabelHeight) / picture.size.height());
  if (fit >= kMinFitScale) {
    plan.scale = std::min(fit, 1.0);
    plan.content = picture.size;
    plan.overview = false;
    return plan;
  }
  plan.scale = kSheetScale;
  const double width = std::max(area.width() / plan.scale / 2, area.width() / plan.scale - picture.stickyWidth);
  // At least half a sheet for the rows under the band.
  const double height = std::max(area.height() / plan.scale / 2,
                                 (area.height() - kLabelHeight) / plan.scale - picture.stickyHeight);
  plan.content = QSizeF(width, height);
  plan.columns = std::max(1, static_cast<int>(std::ceil((picture.size.width() - picture.stickyWidth) / width - 1e-9)));
  plan.rows = std::max(1, static_cast<int>(std::ceil((picture.size.height() - picture.stickyHeight) / height - 1e-9)));
  return plan;
}

bool paintSheets(const ChartPicture& picture, const QString& name, QPagedPaintDevice& device,
                 const std::function<bool(int, int)>& onSheet, int from, int to) {
  QPainter p;
  if (!p.begin(&device)) throw CommandError(QStringLiteral("Не удалось напечатать рисунок «%1»").arg(name).toStdString());
  p.setRenderHint(QPainter::TextAntialiasing);
  // Points from here on, whatever the device's resolution.
  const double dots = device.logicalDpiX() / 72.0;
  p.scale(dots, dots);
  const QSizeF area = device.pageLayout().paintRect(QPageLayout::Point).size();
  const SheetPlan plan = planSheets(picture, area);
  const int total = plan.sheets();
  const int last = to > 0 ? std::min(to, total) : total;
  bool first = true;
  // Starts the page of sheet `sheet`; false for one left out.
  const auto begin = [&](int sheet) {
    if (sheet < from || sheet > last) return false;
    if (!first && !device.newPage()) {
      throw CommandError(QStringLiteral("Не удалось напечатать рисунок «%1»").arg(name).toStdString());
    }
    first = false;
    return true;
  };
  int sheet = 1;
  if (!plan.overview) {
    if (begin(sheet)) {
      p.save();
      p.scale(plan.scale, plan.scale);
      picture.paint(p);
      p.restore();
      drawLabel(p, area, QStringLiteral("%1 · масштаб %2 %").arg(name).arg(qRound(plan.scale / kSheetScale * 100)));
    }
    return !onSheet || onSheet(1, 1);
  }
  if (begin(sheet)) drawOverview(p, picture, plan, area, name);
  if (onSheet && !onSheet(sheet, total)) return false;
  const double bandWidth = picture.stickyWidth;
  const double bandHeight = picture.stickyHeight;
  // The part `source` of the picture (units) drawn at `at` on the sheet.
  const auto region = [&](QRectF source, QPointF at) {
    if (source.isEmpty()) return;
    p.save();
    p.setClipRect(QRectF(at, source.size()));
    p.translate(at - source.topLeft());
    picture.paint(p);
    p.restore();
  };
  for (int r = 0; r < plan.rows; ++r) {
    for (int c = 0; c < plan.columns; ++c) {
      ++sheet;
      if (!begin(sheet)) continue;
      const double left = bandWidth + c * plan.content.width();
      const double top = bandHeight + r * plan.content.height();
      p.save();
      p.scale(plan.scale, plan.scale);
      // The rows' names and the axis of this sheet's columns and rows, as on the screen.
      region(QRectF(0, 0, bandWidth, bandHeight), QPointF(0, 0));
      region(QRectF(left, 0, plan.content.width(), bandHeight), QPointF(bandWidth, 0));
      region(QRectF(0, top, bandWidth, plan.content.height()), QPointF(0, bandHeight));
      region(QRectF(left, top, plan.content.width(), plan.content.height()), QPointF(bandWidth, bandHeight));
      p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0.8));
      if (bandHeight > 0) p.drawLine(QPointF(0, bandHeight), QPointF(bandWidth + plan.content.width(), bandHeight));
      if (bandWidth > 0 && c > 0) {
        p.drawLine(QPointF(bandWidth, 0), QPointF(bandWidth, bandHeight + plan.content.height()));
      }
      p.restore();
      drawLabel(p, area,
                QStringLiteral("%1 · лист %2 из %3 · ряд %4 из %5, столбец %6 из %7")
                    .arg(name)
                    .arg(sheet)
                    .arg(total)
                    .arg(r + 1)
                    .arg(plan.rows)
                    .arg(c + 1)
                    .arg(plan.columns));
      if (onSheet && !onSheet(sheet, total)) return false;
    }
  }
  p.end();
  return true;
}

}  // namespace velko
