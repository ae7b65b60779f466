#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velko {

namespace {

constexpr int kSize = 16;

void page(QPainter& p, const QRectF& r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 4, r.top());
  path.lineTo(r.right(), r.top() + 4);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4));
  p.drawLine(QPointF(r.right() - 4, r.top() + 4), QPointF(r.right(), r.top() + 4));
}

void textLines(QPainter& p, const QRectF& r, int count) {
  p.setPen(QPen(QColor(0, 0, 128), 1));
  for (int k = 0; k < count; ++k) {
    const double y = r.top() + 2.5 + 2 * k;
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

void network(QPainter& p, const QColor& pathColour) {
  const QPointF a(3, 8), b(8, 3), c(8, 13), d(13, 8);
  p.setPen(QPen(QColor(64, 64, 64), 1.2));
  p.drawLine(a, c);
  p.drawLine(c, d);
  p.setPen(QPen(pathColour, 1.6));
  p.drawLine(a, b);
  p.drawLine(b, d);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(255, 255, 224));
  for (const QPointF& node : {a, b, c, d}) p.drawEllipse(node, 2.3, 2.3);
}

void printer(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.setPen(QPen(QColor(0, 160, 0), 1));
  p.drawPoint(QPointF(12.5, 8.5));
}

void draw(QPainter& p, ToolIcon which) {
  switch (which) {
    case ToolIcon::New:
      page(p, QRectF(3.5, 1.5, 9, 13));
      break;
    case ToolIcon::Open: {
      p.setPen(QPen(QColor(96, 72, 0), 1));
      p.setBrush(QColor(240, 200, 80));
      p.drawRect(QRectF(1.5, 4.5, 12, 9));
      p.drawRect(QRectF(1.5, 3.5, 5, 1));
      p.setBrush(QColor(255, 230, 130));
      QPolygonF lid;
      lid << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
      p.drawPolygon(lid);
      break;
    }
    case ToolIcon::Save:
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(QColor(40, 70, 170));
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3.5, 1.5, 9, 6));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(4.5, 10.5, 7, 4));
      break;
    case ToolIcon::Calculate:
      network(p, QColor(64, 64, 64));
      break;
    case ToolIcon::Optimise:
      network(p, QColor(220, 0, 0));
      break;
    case ToolIcon::View:
      page(p, QRectF(1.5, 1.5, 10, 13));
      textLines(p, QRectF(1.5, 1.5, 10, 13), 4);
      p.setPen(QPen(Qt::black, 1.5));
      p.setBrush(QColor(200, 230, 255));
      p.drawEllipse(QPointF(10, 10), 3, 3);
      p.drawLine(QPointF(12.2, 12.2), QPointF(15, 15));
      break;
    case ToolIcon::Print:
      printer(p);
      break;
    case ToolIcon::SelectAll:
      textLines(p, QRectF(2, 2, 12, 12), 5);
      p.setPen(QPen(Qt::black, 1, Qt::DotLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      break;
    case ToolIcon::Copy:
      page(p, QRectF(1.5, 1.5, 8, 10));
      page(p, QRectF(6.5, 4.5, 8, 10));
      textLines(p, QRectF(6.5, 5.5, 8, 10), 3);
      break;
    case ToolIcon::Charts:
      // Bars over a day axis, the critical one red.
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(QPointF(1.5, 1.5), QPointF(1.5, 14.5));
      p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
      p.setBrush(QColor(220, 0, 0));
      p.drawRect(QRectF(3.5, 2.5, 6, 3));
      p.setBrush(QColor(80, 120, 200));
      p.drawRect(QRectF(6.5, 7, 8, 3));
      p.setBrush(QColor(220, 0, 0));
      p.drawRect(QRectF(9.5, 11, 4, 2));
      break;
  }
}

}  // namespace

QIcon toolIcon(ToolIcon which) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, which);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace velko
