#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "report/base_report.h"

namespace velko {

// The stored pages of one report run: what the page surface drew, in millimetres from
// each page's top-left corner, in drawing order. Painting them needs no layout and no
// model, so preview, printer and PDF show the same pages.
struct TFontSpec {
  std::string face = "Times New Roman";
  double points = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const TFontSpec&) const = default;
};

struct TPageText {
  double x = 0;         // left end of the text
  double baseline = 0;
  TFontSpec font;
  std::string text;     // UTF-8
};

struct TPageRect {  // a filled shade
  double x = 0, y = 0, width = 0, height = 0;
  std::uint32_t rgb = 0;
};

struct TPageLine {  // a rule
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double width = 0;  // millimetres
  std::uint32_t rgb = 0;
  TPenStyle style = TPenStyle::Solid;
};

using TPageItem = std::variant<TPageText, TPageRect, TPageLine>;

struct TReportPage {
  std::vector<TPageItem> items;
};

struct TReportPages {
  double pageWidth = 210;   // millimetres
  double pageHeight = 297;
  int dotsPerInch = 96;     // of the device the pages were laid out for
  int zoomFactor = 100;     // the preview zoom the layout asked for, per cent
  std::vector<TReportPage> pages;
};

// Font metrics of the output device, in millimetres.
class TTextMeasure {
 public:
  virtual ~TTextMeasure() = default;
  virtual double textWidth(const TFontSpec& font, std::string_view text) const = 0;
  virtual double descent(const TFontSpec& font) const = 0;
};

inline constexpr double kMmPerInch = 25.4;

// Line height of a font: size / 60 inch, that is 1.2 x the point size.
inline double lineHeightMm(double points) { return points * kMmPerInch / 60.0; }

}  // namespace velko
