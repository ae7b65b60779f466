#pragma once

#include <array>

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace velko {

// The small decorative animation of the counts panel: 8 frames of 32 x 32 pixels,
// one every 166 ms, each drawn when it is first shown.
class TAnimatedImage : public QWidget {
 public:
  explicit TAnimatedImage(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {32, 32}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<QPixmap, 8> frames_;
  int frame_ = 0;
  QTimer timer_;
};

}  // namespace velko
