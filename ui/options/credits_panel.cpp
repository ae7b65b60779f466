#include "ui/options/credits_panel.h"

#include <QPainter>
#include <QShowEvent>
#include <qdrawutil.h>

namespace velko {

CreditsPanel::CreditsPanel(QStringList lines, QPixmap picture, QWidget* parent)
    : QWidget(parent), lines_(std::move(lines)), picture_(std::move(picture)) {
  timer_.setInterval(kStepMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &CreditsPanel::step);
}

int CreditsPanel::lineHeight() const {
  const QFontMetrics metrics = fontMetrics();
  return metrics.height() + qMax(0, metrics.leading()) + 1;
}

QRect CreditsPanel::textArea() const {
  const QRect inside = rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
  const int pictureBottom = inside.top() + kPictureMargin + picture_.height() + kPictureMargin;
  return QRect(QPoint(inside.left(), pictureBottom), inside.bottomRight());
}

void CreditsPanel::restart() {
  offset_ = 0;
  update();
}

void CreditsPanel::step() {
  if (offset_ < lastOffset())
    ++offset_;
  else
    offset_ = 0;
  update(textArea());
}

void CreditsPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  timer_.start();
}

// Scrolling what nobody sees would only keep the program awake.
void CreditsPanel::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_.stop();
}

void CreditsPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.window());
  qDrawShadePanel(&painter, rect(), colours, false, 1);
  qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), colours, true, 1);

  const QRect inside = rect().adjusted(kBevel, kBevel, -kBevel, -kBevel);
  painter.drawPixmap(inside.left() + (inside.width() - picture_.width()) / 2,
                     inside.top() + kPictureMargin, picture_);

  const QRect area = textArea();
  painter.setClipRect(area);
  const int height = lineHeight();
  const int first = qMax(0, offset_ / height);
  for (int n = first; n < lines_.size(); ++n) {
    const int top = lineTop(n);
    if (top >= area.bottom()) break;
    const QRect line(area.left(), top, area.width(), height - 1);
    // Engraved: a light copy one pixel right and down, the text itself on top.
    painter.setPen(colours.color(QPalette::Light));
    painter.drawText(line.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, lines_[n]);
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, lines_[n]);
  }
}

}  // namespace velko
