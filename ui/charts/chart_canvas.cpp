#include "ui/charts/chart_canvas.h"

#include <algorithm>
#include <cmath>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

namespace velko {

namespace {

constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 4.0;
constexpr double kWheelStep = 1.25;  // per notch of the wheel
// The largest side a widget may have, with room to spare.
constexpr double kMaxWidgetSide = 16'000'000;

}  // namespace

ChartCanvas::ChartCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::OpenHandCursor);
}

QScrollArea* ChartCanvas::scrollArea() const {
  QWidget* viewport = parentWidget();
  return viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
}

void ChartCanvas::setPicture(ChartPicture picture) {
  picture_ = std::move(picture);
  found_.reset();
  zoom_ = std::min(zoom_, maxZoom());
  setFixedSize(sizeHint());
  update();
}

double ChartCanvas::maxZoom() const {
  const double side = std::max(picture_.size.width(), picture_.size.height());
  return side > 0 ? std::clamp(kMaxWidgetSide / side, kMinZoom, kMaxZoom) : kMaxZoom;
}

void ChartCanvas::setZoom(double zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, maxZoom());
  setFixedSize(sizeHint());
  update();
}

void ChartCanvas::zoomAround(double zoom, QPointF at) {
  QScrollArea* area = scrollArea();
  const QPointF inView = area ? at + QPointF(pos()) : at;
  const QPointF point = at / zoom_;
  setZoom(zoom);
  if (!area) return;
  const QPointF now = point * zoom_;
  area->horizontalScrollBar()->setValue(static_cast<int>(std::lround(now.x() - inView.x())));
  area->verticalScrollBar()->setValue(static_cast<int>(std::lround(now.y() - inView.y())));
}

void ChartCanvas::fitInto(const QSize& area) {
  if (picture_.size.isEmpty() || area.isEmpty()) return;
  setZoom(std::min(area.width() / picture_.size.width(), area.height() / picture_.size.height()));
}

bool ChartCanvas::showFound(int I, int J) {
  const std::optional<QRectF> box = picture_.find ? picture_.find(I, J) : std::nullopt;
  if (!box) return false;
  found_ = box;
  if (QScrollArea* area = scrollArea()) {
    const QPointF centre = box->center() * zoom_;
    const QSize view = area->viewport()->size();
    area->horizontalScrollBar()->setValue(static_cast<int>(centre.x() - view.width() / 2.0));
    area->verticalScrollBar()->setValue(static_cast<int>(centre.y() - view.height() / 2.0));
  }
  update();
  return true;
}

QSize ChartCanvas::sizeHint() const { return (picture_.size * zoom_).toSize().expandedTo(QSize(1, 1)); }

QRect ChartCanvas::shownRect() const {
  const QScrollArea* area = scrollArea();
  if (!area) return rect();
  return QRect(-pos(), area->viewport()->size()).intersected(rect());
}

void ChartCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::white);
  if (!picture_.paint) return;
  painter.setRenderHint(QPainter::TextAntialiasing);
  // The clip tells the picture which of its parts the scrolled view shows.
  painter.setClipRect(event->rect());
  painter.save();
  painter.scale(zoom_, zoom_);
  picture_.paint(painter);
  if (found_) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xff, 0xa0, 0x00), 4 / zoom_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(found_->adjusted(-6, -6, 6, 6), 6, 6);
  }
  painter.restore();
  // The sticky bands over what scrolled under them: the left one, the top one, and
  // their corner.
  const QRect shown = shownRect();
  const double top = shown.top() > 0 ? picture_.stickyHeight * zoom_ : 0;
  const double left = shown.left() > 0 ? picture_.stickyWidth * zoom_ : 0;
  const auto paintBand = [&](QRectF source, QPointF at) {
    const QRect over = QRectF(at, source.size() * zoom_).toAlignedRect().intersected(event->rect());
    if (over.isEmpty()) return;
    painter.save();
    painter.setClipRect(over);
    painter.fillRect(over, Qt::white);
    painter.translate(at - source.topLeft() * zoom_);
    painter.scale(zoom_, zoom_);
    picture_.paint(painter);
    painter.restore();
  };
  const QPointF corner = shown.topLeft();
  const double shownUnitsLeft = shown.left() / zoom_;
  const double shownUnitsTop = shown.top() / zoom_;
  if (left > 0) {
    paintBand(QRectF(0, shownUnitsTop, picture_.stickyWidth, shown.height() / zoom_), corner);
  }
  if (top > 0) {
    paintBand(QRectF(shownUnitsLeft, 0, shown.width() / zoom_, picture_.stickyHeight), corner);
  }
  if (left > 0 && top > 0) paintBand(QRectF(0, 0, picture_.stickyWidth, picture_.stickyHeight), corner);
  painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
  if (top > 0) painter.drawLine(QPointF(shown.left(), shown.top() + top), QPointF(shown.right(), shown.top() + top));
  if (left > 0) {
    painter.drawLine(QPointF(shown.left() + left, shown.top()), QPointF(shown.left() + left, shown.bottom()));
  }
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

void ChartCanvas::wheelEvent(QWheelEvent* event) {
  // Shift+wheel scrolls as in any view; the wheel alone zooms.
  if (event->modifiers() & Qt::ShiftModifier || event->angleDelta().y() == 0) {
    event->ignore();
    return;
  }
  const double notches = event->angleDelta().y() / 120.0;
  zoomAround(zoom_ * std::pow(kWheelStep, notches), event->position());
  event->accept();
}

void ChartCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragFrom_ = event->globalPosition().toPoint();
  setCursor(Qt::ClosedHandCursor);
}

void ChartCanvas::mouseMoveEvent(QMouseEvent* event) {
  QScrollArea* area = scrollArea();
  if (!dragFrom_ || !area) return QWidget::mouseMoveEvent(event);
  const QPoint now = event->globalPosition().toPoint();
  const QPoint step = now - *dragFrom_;
  dragFrom_ = now;
  area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() - step.x());
  area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() - step.y());
}

void ChartCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  dragFrom_.reset();
  setCursor(Qt::OpenHandCursor);
}

}  // namespace velko
