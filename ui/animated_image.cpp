#include "ui/animated_image.h"

#include <cmath>
#include <numbers>

#include <QPainter>

namespace velko {

namespace {

// A clock face whose hand goes round once in the eight frames: time is what the
// program spends its workers on.
QPixmap drawFrame(int frame) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 2));
  p.setBrush(QColor(255, 255, 220));
  p.drawEllipse(QPointF(16, 16), 13, 13);
  p.setPen(QPen(QColor(0, 0, 128), 1));
  for (int k = 0; k < 8; ++k) {
    const double a = k * std::numbers::pi / 4;
    p.drawLine(QPointF(16 + 10 * std::sin(a), 16 - 10 * std::cos(a)),
               QPointF(16 + 12 * std::sin(a), 16 - 12 * std::cos(a)));
  }
  const double angle = frame * std::numbers::pi / 4;
  p.setPen(QPen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 16), QPointF(16 + 9 * std::sin(angle), 16 - 9 * std::cos(angle)));
  p.setBrush(QColor(200, 0, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(16, 16), 2, 2);
  return pixmap;
}

}  // namespace

TAnimatedImage::TAnimatedImage(QWidget* parent) : QWidget(parent) {
  setFixedSize(32, 32);
  timer_.setInterval(166);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
    update();
  });
  timer_.start();
}

void TAnimatedImage::paintEvent(QPaintEvent*) {
  // Drawn here rather than at creation: the start then draws the first frame only.
  QPixmap& frame = frames_[static_cast<std::size_t>(frame_)];
  if (frame.isNull()) frame = drawFrame(frame_);
  QPainter painter(this);
  painter.drawPixmap(0, 0, frame);
}

}  // namespace velko
