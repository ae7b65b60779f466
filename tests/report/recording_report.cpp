#include "recording_report.h"

#include <cstdio>

namespace velko::testing {

std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

double FixedMeasure::textWidth(const TFontSpec& font, std::string_view text) const {
  return 0.2 * font.points * static_cast<double>(characters(text));
}

double FixedMeasure::descent(const TFontSpec& font) const { return lineHeightMm(font.points) / 5; }

std::string num(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  std::string s(buffer);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

namespace {

std::string side(TSideWidth width) { return width ? std::to_string(*width) : "own"; }

const char* alignName(TAlign align) {
  switch (align) {
    case TAlign::Left: return "left";
    case TAlign::Centre: return "centre";
    case TAlign::Right: return "right";
  }
  return "?";
}

}  // namespace

RecordingReport::RecordingReport(int dotsPerInch) : surface_(measure_, 210, 297, dotsPerInch) {}

void RecordingReport::UseFont(const std::string& face, double points) {
  calls.push_back("UseFont " + face + " " + num(points));
  surface_.UseFont(face, points);
}
void RecordingReport::SetBold(bool on) {
  calls.push_back(on ? "SetBold on" : "SetBold off");
  surface_.SetBold(on);
}
void RecordingReport::SetUnderline(bool on) {
  calls.push_back(on ? "SetUnderline on" : "SetUnderline off");
  surface_.SetUnderline(on);
}
void RecordingReport::SetItalic(bool on) {
  calls.push_back(on ? "SetItalic on" : "SetItalic off");
  surface_.SetItalic(on);
}
void RecordingReport::SetAreaTop(double y) {
  calls.push_back("SetAreaTop " + num(y));
  surface_.SetAreaTop(y);
}
void RecordingReport::SetAreaBottom(double y) {
  calls.push_back("SetAreaBottom " + num(y));
  surface_.SetAreaBottom(y);
}
void RecordingReport::MoveToX(double x) {
  calls.push_back("MoveToX " + num(x));
  surface_.MoveToX(x);
}
void RecordingReport::MoveToY(double y) {
  calls.push_back("MoveToY " + num(y));
  surface_.MoveToY(y);
}
void RecordingReport::MarkAreaTop() {
  calls.push_back("MarkAreaTop");
  surface_.MarkAreaTop();
}
void RecordingReport::GoToFirstLine() {
  calls.push_back("GoToFirstLine");
  surface_.GoToFirstLine();
}
void RecordingReport::NextLine() {
  calls.push_back("NextLine");
  surface_.NextLine();
}
void RecordingReport::PrintText(std::string_view text) {
  calls.push_back("PrintText [" + std::string(text) + "]");
  surface_.PrintText(text);
}
void RecordingReport::PrintCentred(std::string_view text, double x) {
  calls.push_back("PrintCentred [" + std::string(text) + "] " + num(x));
  surface_.PrintCentred(text, x);
}
void RecordingReport::PrintRightInArea(std::string_view text) {
  calls.push_back("PrintRightInArea [" + std::string(text) + "]");
  surface_.PrintRightInArea(text);
}
void RecordingReport::ClearColumns() {
  calls.push_back("ClearColumns");
  surface_.ClearColumns();
}
void RecordingReport::AddColumn(std::optional<double> x, TAlign align, double width,
                                double margin, unsigned boxSides, int shadePercent) {
  calls.push_back("AddColumn " + (x ? num(*x) : std::string("next")) + " " + alignName(align) +
                  " " + num(width) + " " + num(margin) + " box " + std::to_string(boxSides) +
                  " shade " + std::to_string(shadePercent));
  surface_.AddColumn(x, align, width, margin, boxSides, shadePercent);
}
void RecordingReport::SetRulePen(std::uint32_t rgb, TPenStyle style, int widthDots,
                                 TPenMode mode) {
  calls.push_back("SetRulePen " + std::to_string(rgb) + " " +
                  std::to_string(static_cast<int>(style)) + " " + std::to_string(widthDots));
  surface_.SetRulePen(rgb, style, widthDots, mode);
}
void RecordingReport::NextCell(TSideWidth left, TSideWidth right, TSideWidth top,
                               TSideWidth bottom, std::optional<int> shadePercent) {
  calls.push_back("NextCell " + side(left) + " " + side(right) + " " + side(top) + " " +
                  side(bottom) + (shadePercent ? " shade " + std::to_string(*shadePercent) : ""));
  surface_.NextCell(left, right, top, bottom, shadePercent);
}
void RecordingReport::BeginNewPage() {
  calls.push_back("BeginNewPage");
  surface_.BeginNewPage();
}

}  // namespace velko::testing
