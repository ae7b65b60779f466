#pragma once

#include <functional>
#include <vector>

#include "report/base_report.h"
#include "report/report_pages.h"

namespace velko {

// The page surface proper: keeps the print position, the writing area, the font and
// the columns, and stores what is drawn as pages of primitives. It measures text with
// the output device's metrics but never touches the device; the Qt layer paints the
// stored pages afterwards. The page margins are 0, so the writing area starts as the
// whole page. With a page sink the surface keeps only the page being drawn: each page
// goes to the sink as it ends, so a report of any length takes the memory of one page.
using TPageSink = std::function<void(TReportPage&& page, int number)>;

class TPageSurface : public TBaseReport {
 public:
  TPageSurface(const TTextMeasure& measure, double pageWidth, double pageHeight, int dotsPerInch);

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
  double GetPageWidth() const override { return pages_.pageWidth; }
  int GetPageNumber() const override { return pageNumber_; }
  std::int32_t GetDeviceY() const override;
  double GetYPos() const override { return baseline_; }
  double GetAreaBottom() const override { return areaBottom_; }
  double TextWidth(std::string_view text, double points) const override;
  void BeginNewPage() override;

  // Pages from now on go to `sink` and are not kept. The sink may throw to stop the layout.
  void SetPageSink(TPageSink sink) { sink_ = std::move(sink); }
  // The number of the page being drawn, for a layout that starts after page 1.
  void SetPageNumber(int number) { pageNumber_ = number; }
  // Hands the last page to the sink.
  void Finish();

  const TFontSpec& font() const { return font_; }
  double x() const { return x_; }
  double areaTop() const { return areaTop_; }

  // Hands the stored pages over; the surface is spent afterwards.
  TReportPages takePages() { return std::move(pages_); }
  const TReportPages& pages() const { return pages_; }

 private:
  struct Column {
    double x;
    TAlign align;
    double width;
    double margin;
    unsigned box;
    int shade;
  };
  struct RulePen {
    std::uint32_t rgb = kBlack;
    TPenStyle style = TPenStyle::Solid;
    int widthDots = 1;
  };

  double lineHeight() const { return lineHeightMm(font_.points); }
  double descent() const { return measure_.descent(font_); }
  void firstLine();
  void touch() { freshPage_ = false; }
  void addText(double x, std::string_view text);
  void addLine(double x1, double y1, double x2, double y2, double width, std::uint32_t rgb,
               TPenStyle style);
  TReportPage& page() { return pages_.pages.back(); }

  const TTextMeasure& measure_;
  TReportPages pages_;
  TPageSink sink_;
  int pageNumber_ = 1;
  TFontSpec font_;
  double x_ = 0;
  double baseline_ = 0;
  double areaTop_ = 0;
  double areaBottom_ = 0;
  std::vector<Column> columns_;
  int column_ = -1;       // index of the last cell opened on this line, -1 before the first
  bool cellOpen_ = false; // a cell waits for its text
  RulePen rulePen_;
  // Nothing placed yet on a new page: the first line follows the first font chosen, so
  // a page's first line does not depend on the font the previous page ended with.
  bool freshPage_ = true;
  bool lineFresh_ = true;  // nothing printed on the current line since it was begun
};

}  // namespace velko
