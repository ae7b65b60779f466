#pragma once

#include <string>
#include <vector>

#include "report/page_surface.h"

namespace velko::testing {

// Metrics that need no fonts: every character is 0.2 x the point size wide (in mm) and
// the descent is a fifth of the line height, so positions can be worked out by hand.
class FixedMeasure : public TTextMeasure {
 public:
  double textWidth(const TFontSpec& font, std::string_view text) const override;
  double descent(const TFontSpec& font) const override;
};

// Number of characters of a UTF-8 text.
std::size_t characters(std::string_view text);

// A page surface that writes down every drawing call, in order, and passes it on to a
// real TPageSurface over FixedMeasure on an A4 page, so the layout's page breaks and
// positions are those of a real run. Queries are not written down.
class RecordingReport : public TBaseReport {
 public:
  explicit RecordingReport(int dotsPerInch = 96);

  std::vector<std::string> calls;
  TPageSurface& surface() { return surface_; }
  const TReportPages& pages() const { return surface_.pages(); }

  void UseFont(const std::string& face, double points) override;
  void SetBold(bool on) override;
  void SetUnderline(bool on) override;
  void SetItalic(bool on) override;
  void SetAreaTop(double y) override;
  void SetAreaBottom(double y) override;
  void MoveToX(double x) override;
  void MoveToY(double y) override;
  void MarkAreaTop() override;
  void GoToFirstLine() override;
  void NextLine() override;
  void PrintText(std::string_view text) override;
  void PrintCentred(std::string_view text, double x) override;
  void PrintRightInArea(std::string_view text) override;
  void ClearColumns() override;
  void AddColumn(std::optional<double> x, TAlign align, double width, double margin,
                 unsigned boxSides, int shadePercent) override;
  void SetRulePen(std::uint32_t rgb, TPenStyle style, int widthDots, TPenMode mode) override;
  void NextCell(TSideWidth left, TSideWidth right, TSideWidth top, TSideWidth bottom,
                std::optional<int> shadePercent = std::nullopt) override;
  double GetPageWidth() const override { return surface_.GetPageWidth(); }
  int GetPageNumber() const override { return surface_.GetPageNumber(); }
  std::int32_t GetDeviceY() const override { return surface_.GetDeviceY(); }
  double GetYPos() const override { return surface_.GetYPos(); }
  double GetAreaBottom() const override { return surface_.GetAreaBottom(); }
  double TextWidth(std::string_view text, double points) const override { return surface_.TextWidth(text, points); }
  void BeginNewPage() override;

 private:
  FixedMeasure measure_;
  TPageSurface surface_;
};

// Short text of a number for the call log: at most four decimals, no trailing zeros.
std::string num(double value);

}  // namespace velko::testing
