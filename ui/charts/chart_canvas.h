#pragma once

#include <QWidget>

#include "ui/charts/chart_pictures.h"

namespace velko {

// Shows a picture at a zoom factor inside a scroll area, with its tooltips.
class ChartCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit ChartCanvas(QWidget* parent = nullptr);

  void setPicture(ChartPicture picture);
  const ChartPicture& picture() const { return picture_; }

  double zoom() const { return zoom_; }
  void setZoom(double zoom);          // kept within 10 % .. 400 %
  void fitInto(const QSize& area);    // the largest zoom showing the whole picture

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  ChartPicture picture_;
  double zoom_ = 1.0;
};

}  // namespace velko
