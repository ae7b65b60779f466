#include "ui/status_panel.h"

#include <array>

#include <QLinearGradient>
#include <QPainter>

namespace velko {

namespace {

constexpr int kStatusLength = 39;

// Each character code is stored as the sum of two table entries, so the line is not
// found by a plain search of the program file.
struct ScrambledText {
  std::array<char16_t, kStatusLength> first{};
  std::array<char16_t, kStatusLength> second{};
};

consteval ScrambledText scramble(const char16_t (&text)[kStatusLength + 1]) {
  ScrambledText s;
  for (int k = 0; k < kStatusLength; ++k) {
    const auto part = static_cast<char16_t>((k * 37 + 11) % 97);
    s.second[static_cast<std::size_t>(k)] = part;
    s.first[static_cast<std::size_t>(k)] = static_cast<char16_t>(text[k] - part);
  }
  return s;
}

constexpr ScrambledText kStatusLine = scramble(u"Оптимизация людских ресурсов по времени");

const QColor kStatusGrey(0x67, 0x67, 0x67);
const QColor kTeal(0, 128, 128);

}  // namespace

QString statusText() {
  QString line;
  for (int k = 0; k < kStatusLength; ++k) {
    const auto index = static_cast<std::size_t>(k);
    line += QChar(static_cast<char16_t>(kStatusLine.first[index] + kStatusLine.second[index]));
  }
  return line + QStringLiteral("   ТМ-42");
}

void TGradientPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, width(), 0);
  gradient.setColorAt(0, Qt::white);
  gradient.setColorAt(1, kStatusGrey);
  painter.fillRect(rect(), gradient);
}

void TShadowLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QRect box = contentsRect();
  painter.setPen(Qt::white);
  painter.drawText(box.translated(1, 1), static_cast<int>(alignment()), text());
  painter.setPen(kTeal);
  painter.drawText(box, static_cast<int>(alignment()), text());
}

}  // namespace velko
