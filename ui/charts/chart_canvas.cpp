#include "ui/charts/chart_canvas.h"

#include <algorithm>

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace velko {

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void ChartCanvas::setPicture(ChartPicture picture) {
  picture_ = std::move(picture);
  setFixedSize(sizeHint());
  update();
}

void ChartCanvas::setZoom(double zoom) {
  zoom_ = std::clamp(zoom, 0.1, 4.0);
  setFixedSize(sizeHint());
  update();
}

void ChartCanvas::fitInto(const QSize& area) {
  if (picture_.size.isEmpty() || area.isEmpty()) return;
  setZoom(std::min(area.width() / picture_.size.width(), area.height() / picture_.size.height()));
}

QSize ChartCanvas::sizeHint() const { return (picture_.size * zoom_).toSize().expandedTo(QSize(1, 1)); }

void ChartCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!picture_.paint) return;
  painter.setRenderHint(QPainter::TextAntialiasing);
  // The clip tells the picture which of its parts the scrolled view shows.
  painter.setClipRect(event->rect());
  painter.scale(zoom_, zoom_);
  picture_.paint(painter);
}

bool ChartCanvas::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = picture_.toolTip ? picture_.toolTip(QPointF(help->pos()) / zoom_) : QString();
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace velko
