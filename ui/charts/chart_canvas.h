#pragma once

#include <optional>

#include <QPoint>
#include <QWidget>

#include "ui/charts/chart_pictures.h"

class QScrollArea;

namespace velko {

// Shows a picture at a zoom factor inside a scroll area, with its tooltips. The wheel
// zooms around the pointer (Shift+wheel scrolls), dragging pans, and the picture's
// sticky band stays at the top of the view while it scrolls. Only the part in view is
// painted, so a picture of any size scrolls at the same speed.
class ChartCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit ChartCanvas(QWidget* parent = nullptr);

  void setPicture(ChartPicture picture);
  const ChartPicture& picture() const { return picture_; }

  double zoom() const { return zoom_; }
  void setZoom(double zoom);          // kept within 10 % .. 400 %, and within what a widget can be
  void fitInto(const QSize& area);    // the largest zoom showing the whole picture
  // Zooms keeping the picture point under `at` (in this widget's pixels) where it is.
  void zoomAround(double zoom, QPointF at);

  // Scrolls the found item into the middle of the view and marks it; false when the
  // picture has no such event or work.
  bool showFound(int I, int J);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QScrollArea* scrollArea() const;
  double maxZoom() const;
  QRect shownRect() const;  // the part of this widget in view

  ChartPicture picture_;
  double zoom_ = 1.0;
  std::optional<QPoint> dragFrom_;  // global position of the last drag step
  std::optional<QRectF> found_;     // in picture units
};

}  // namespace velko
