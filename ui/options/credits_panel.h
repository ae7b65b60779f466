#pragma once

#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace velko {

// A bevelled panel with a small picture at the top and, below it, lines of text that
// scroll upwards one pixel per step and start again from the first line after the last
// has reached the top of the text area.
class CreditsPanel : public QWidget {
 public:
  static constexpr int kStepMilliseconds = 40;

  CreditsPanel(QStringList lines, QPixmap picture, QWidget* parent = nullptr);

  const QStringList& lines() const { return lines_; }
  int offset() const { return offset_; }
  // The font's height and external leading, and one pixel for the engraved copy.
  int lineHeight() const;
  // The offset at which the last line stands at the top of the text area.
  int lastOffset() const { return (lines_.size() - 1) * lineHeight(); }
  QRect textArea() const;
  // Where line n (from 0) is drawn at the present offset.
  int lineTop(int n) const { return textArea().top() - offset_ + n * lineHeight(); }
  bool isScrolling() const { return timer_.isActive(); }
  int stepInterval() const { return timer_.interval(); }

  void restart();  // back to the first line
  void step();     // one timer step

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  static constexpr int kBevel = 2;
  static constexpr int kPictureMargin = 3;

  QStringList lines_;
  QPixmap picture_;
  QTimer timer_;
  int offset_ = 0;
};

}  // namespace velko
