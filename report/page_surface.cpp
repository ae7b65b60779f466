#include "report/page_surface.h"

#include <algorithm>
#include <cmath>

namespace velko {

namespace {

// Each colour channel of black moved (100 - shade) per cent toward white.
std::uint32_t shadeColour(int shade) {
  const int percent = std::clamp(shade, 0, 100);
  const auto channel = static_cast<std::uint32_t>(std::lround(255.0 * (100 - percent) / 100.0));
  return (channel << 16) | (channel << 8) | channel;
}

}  // namespace

TPageSurface::TPageSurface(const TTextMeasure& measure, double pageWidth, double pageHeight,
                           int dotsPerInch)
    : measure_(measure) {
  pages_.pageWidth = pageWidth;
  pages_.pageHeight = pageHeight;
  pages_.dotsPerInch = dotsPerInch;
  pages_.pages.emplace_back();
  areaBottom_ = pageHeight;
  firstLine();
}

void TPageSurface::UseFont(const std::string& face, double points) {
  const double oldAbove = lineHeight() - descent();
  font_ = TFontSpec{face, points};
  if (freshPage_) {
    firstLine();
    return;
  }
  // A line takes the height of the largest font set on it before anything is printed:
  // its top stays where the previous line ended, so a 12-point title after a 9-point
  // line does not run into that line.
  const double above = lineHeight() - descent();
  if (lineFresh_ && above > oldAbove) baseline_ += above - oldAbove;
}

void TPageSurface::SetBold(bool on) { font_.bold = on; }
void TPageSurface::SetUnderline(bool on) { font_.underline = on; }
void TPageSurface::SetItalic(bool on) { font_.italic = on; }

void TPageSurface::SetAreaTop(double y) {
  areaTop_ = y;
  baseline_ = std::max(baseline_, y);
}

void TPageSurface::SetAreaBottom(double y) {
  areaBottom_ = y;
  baseline_ = std::min(baseline_, y);
}

void TPageSurface::MoveToX(double x) {
  touch();
  x_ = x;
}

void TPageSurface::MoveToY(double y) {
  touch();
  lineFresh_ = false;
  baseline_ = y;
}

void TPageSurface::MarkAreaTop() {
  touch();
  areaTop_ = baseline_ + descent();
}

void TPageSurface::firstLine() {
  x_ = 0;
  baseline_ = areaTop_ + lineHeight() - descent();
  column_ = -1;
  cellOpen_ = false;
  lineFresh_ = true;
}

void TPageSurface::GoToFirstLine() {
  touch();
  firstLine();
}

void TPageSurface::NextLine() {
  touch();
  baseline_ += lineHeight();
  x_ = 0;
  column_ = -1;
  cellOpen_ = false;
  lineFresh_ = true;
}

void TPageSurface::addText(double x, std::string_view text) {
  lineFresh_ = false;
  if (!text.empty()) page().items.emplace_back(TPageText{x, baseline_, font_, std::string(text)});
}

void TPageSurface::PrintText(std::string_view text) {
  touch();
  const double width = measure_.textWidth(font_, text);
  if (!cellOpen_) {
    addText(x_, text);
    x_ += width;
    return;
  }
  const Column& c = columns_[static_cast<std::size_t>(column_)];
  const double left = c.x + c.margin;
  const double right = c.x + c.width - c.margin;
  // A text wider than its cell (a long real in 12-point continuation rows) is set
  // smaller to fit, so it never runs over the neighbouring cells and stays legible.
  const TFontSpec chosen = font_;
  double used = width;
  if (width > right - left + 1e-9 && right > left) {
    font_.points = chosen.points * (right - left) / width;
    used = measure_.textWidth(font_, text);
  }
  double at = left;
  if (c.align == TAlign::Right) at = right - used;
  if (c.align == TAlign::Centre) at = (left + right - used) / 2;
  addText(at, text);
  font_ = chosen;
  cellOpen_ = false;
  x_ = c.x + c.width;
}

void TPageSurface::PrintCentred(std::string_view text, double x) {
  touch();
  addText(x - measure_.textWidth(font_, text) / 2, text);
}

void TPageSurface::PrintRightInArea(std::string_view text) {
  touch();
  addText(pages_.pageWidth - measure_.textWidth(font_, text), text);
}

void TPageSurface::ClearColumns() {
  columns_.clear();
  column_ = -1;
  cellOpen_ = false;
}

void TPageSurface::AddColumn(std::optional<double> x, TAlign align, double width, double margin,
                             unsigned boxSides, int shadePercent) {
  double at = 0;
  if (x) at = *x;
  else if (!columns_.empty()) at = columns_.back().x + columns_.back().width;
  columns_.push_back(Column{at, align, width, margin, boxSides, shadePercent});
}

void TPageSurface::SetRulePen(std::uint32_t rgb, TPenStyle style, int widthDots, TPenMode) {
  rulePen_ = RulePen{rgb, style, std::max(widthDots, 1)};
}

void TPageSurface::addLine(double x1, double y1, double x2, double y2, double width,
                           std::uint32_t rgb, TPenStyle style) {
  page().items.emplace_back(TPageLine{x1, y1, x2, y2, width, rgb, style});
}

void TPageSurface::NextCell(TSideWidth left, TSideWidth right, TSideWidth top, TSideWidth bottom,
                            std::optional<int> shadePercent) {
  touch();
  if (column_ + 1 >= static_cast<int>(columns_.size())) {
    cellOpen_ = false;
    return;
  }
  ++column_;
  cellOpen_ = true;
  lineFresh_ = false;
  const Column& c = columns_[static_cast<std::size_t>(column_)];
  const double top_y = baseline_ + descent() - lineHeight();
  const double bottom_y = baseline_ + descent();
  const double right_x = c.x + c.width;
  x_ = c.x;

  const int shade = shadePercent.value_or(c.shade);
  if (shade != 0) {
    page().items.emplace_back(TPageRect{c.x, top_y, c.width, bottom_y - top_y, shadeColour(shade)});
  }

  const double dotMm = kMmPerInch / pages_.dotsPerInch;
  auto draw = [&](TSideWidth side, TBoxSide boxSide, double x1, double y1, double x2, double y2) {
    if (!side) {
      if (c.box & boxSide) {
        addLine(x1, y1, x2, y2, rulePen_.widthDots * dotMm, rulePen_.rgb, rulePen_.style);
      }
      return;
    }
    if (*side == 0) return;
    const double width = *side < 0 ? -*side * kMmPerInch / 100.0 : *side * dotMm;
    addLine(x1, y1, x2, y2, width, rulePen_.rgb, rulePen_.style);
  };
  draw(left, BoxLeft, c.x, top_y, c.x, bottom_y);
  draw(right, BoxRight, right_x, top_y, right_x, bottom_y);
  draw(top, BoxTop, c.x, top_y, right_x, top_y);
  draw(bottom, BoxBottom, c.x, bottom_y, right_x, bottom_y);
}

std::int32_t TPageSurface::GetDeviceY() const {
  return static_cast<std::int32_t>(std::lround(baseline_ * pages_.dotsPerInch / kMmPerInch));
}

double TPageSurface::TextWidth(std::string_view text, double points) const {
  TFontSpec font = font_;
  font.points = points;
  return measure_.textWidth(font, text);
}

void TPageSurface::Finish() {
  if (sink_) sink_(std::move(pages_.pages.back()), pageNumber_);
  pages_.pages.back().items.clear();
}

void TPageSurface::BeginNewPage() {
  if (sink_) {
    TReportPage ended = std::move(pages_.pages.back());
    pages_.pages.back().items.clear();
    sink_(std::move(ended), pageNumber_);
  } else {
    pages_.pages.emplace_back();
  }
  ++pageNumber_;
  areaTop_ = 0;
  areaBottom_ = pages_.pageHeight;
  // The columns stay: a table goes on across the break in the same columns.
  freshPage_ = true;
  firstLine();
}

}  // namespace velko
