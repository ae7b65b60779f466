// The page surface's geometry over fixed metrics: line heights, first lines, device
// dots, cells with their rules and shades, and alignment.
#include <gtest/gtest.h>

#include "recording_report.h"
#include "report/page_surface.h"

namespace velko::testing {
namespace {

class PageSurfaceTest : public ::testing::Test {
 protected:
  FixedMeasure measure;
  TPageSurface page{measure, 210, 297, 96};

  template <typename T>
  std::vector<T> itemsOf(int pageNumber = 1) const {
    std::vector<T> found;
    for (const TPageItem& item : page.pages().pages.at(static_cast<std::size_t>(pageNumber - 1)).items) {
      if (const T* p = std::get_if<T>(&item)) found.push_back(*p);
    }
    return found;
  }
};

TEST_F(PageSurfaceTest, LineHeightIsOneFifthOfAnInchPerSixPoints) {
  const std::pair<double, double> sizes[] = {{5, 2.1167}, {8, 3.3867}, {9, 3.81}, {11, 4.6567}, {12, 5.08}};
  for (const auto& [points, height] : sizes) {
    page.UseFont("Times New Roman", points);
    const double before = page.GetYPos();
    page.NextLine();
    EXPECT_NEAR(page.GetYPos() - before, height, 5e-5) << points << " points";
  }
}

TEST_F(PageSurfaceTest, FirstLineHangsFromTheMarkedAreaTop) {
  page.UseFont("Times New Roman", 12);
  page.MoveToY(1.5);
  page.MarkAreaTop();  // bottom of the current line: baseline + descent
  EXPECT_NEAR(page.areaTop(), 1.5 + 5.08 / 5, 1e-9);
  page.UseFont("Times New Roman", 9);
  page.MoveToX(40);
  page.GoToFirstLine();  // area top + one line - descent
  EXPECT_NEAR(page.GetYPos(), page.areaTop() + 3.81 - 3.81 / 5, 1e-9);
  EXPECT_EQ(page.x(), 0);
}

TEST_F(PageSurfaceTest, ALargerFontOnAnEmptyLineKeepsTheLineTop) {
  page.UseFont("Times New Roman", 9);
  page.MoveToY(100);
  page.NextLine();
  const double nine = page.GetYPos();
  page.UseFont("Times New Roman", 12);  // the line's top stays: baseline down by the ascent gained
  EXPECT_NEAR(page.GetYPos() - nine, (5.08 - 5.08 / 5) - (3.81 - 3.81 / 5), 1e-9);
  page.UseFont("Times New Roman", 5);  // a smaller font leaves the line alone
  EXPECT_NEAR(page.GetYPos() - nine, 1.016, 1e-9);

  page.UseFont("Times New Roman", 9);
  page.NextLine();
  page.PrintText("17");
  const double printed = page.GetYPos();
  page.UseFont("Times New Roman", 12);  // text already stands on the line
  EXPECT_EQ(page.GetYPos(), printed);
  page.MoveToY(150);
  page.UseFont("Times New Roman", 5);
  page.UseFont("Times New Roman", 12);  // an explicit baseline is kept
  EXPECT_EQ(page.GetYPos(), 150);
}

TEST_F(PageSurfaceTest, DeviceYCountsDotsOfTheOutputDevice) {
  page.MoveToY(198.4375);  // 750 dots at 96 per inch
  EXPECT_EQ(page.GetDeviceY(), 750);
  page.MoveToY(198.7);
  EXPECT_EQ(page.GetDeviceY(), 751);

  TPageSurface printer(measure, 210, 297, 600);
  printer.MoveToY(25.4);
  EXPECT_EQ(printer.GetDeviceY(), 600);
}

TEST_F(PageSurfaceTest, AreaEdgesPullTheBaselineInside) {
  page.MoveToY(290);
  page.SetAreaBottom(280);
  EXPECT_EQ(page.GetYPos(), 280);
  page.MoveToY(0.05);
  page.SetAreaTop(0.1);
  EXPECT_EQ(page.GetYPos(), 0.1);
  EXPECT_EQ(page.GetAreaBottom(), 280);
}

TEST_F(PageSurfaceTest, UseFontClearsTheStyles) {
  page.UseFont("Times New Roman", 11);
  page.SetBold(true);
  page.SetItalic(true);
  page.SetUnderline(true);
  page.UseFont("Times New Roman", 9);
  EXPECT_EQ(page.font(), (TFontSpec{"Times New Roman", 9}));
}

TEST_F(PageSurfaceTest, TextIsPlacedByItsAlignment) {
  page.UseFont("Times New Roman", 10);  // 2 mm per character
  page.MoveToX(30);
  page.PrintText("abc");
  page.PrintText("de");  // goes on after the first text
  page.PrintCentred("abcd", 105);
  page.PrintRightInArea("ab  ");  // trailing blanks count
  page.ClearColumns();
  page.AddColumn(45, TAlign::Right, 20, 1, BoxNone, 0);
  page.AddColumn(std::nullopt, TAlign::Centre, 30, 0, BoxNone, 0);
  page.AddColumn(std::nullopt, TAlign::Left, 20, 2, BoxNone, 0);
  for (const char* text : {"12", "7", "x"}) {
    page.NextCell(0, 0, 0, 0);
    page.PrintText(text);
  }
  page.NextCell(0, 0, 0, 0);  // no fourth column: the text goes to x, after the last cell
  page.PrintText("z");

  const auto texts = itemsOf<TPageText>();
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_DOUBLE_EQ(texts[0].x, 30);
  EXPECT_DOUBLE_EQ(texts[1].x, 36);
  EXPECT_DOUBLE_EQ(texts[2].x, 101);
  EXPECT_DOUBLE_EQ(texts[3].x, 202);
  EXPECT_DOUBLE_EQ(texts[4].x, 45 + 20 - 1 - 4);  // right, within the margin
  EXPECT_DOUBLE_EQ(texts[5].x, 65 + 15 - 1);      // centred in 65..95
  EXPECT_DOUBLE_EQ(texts[6].x, 95 + 2);           // left, after the margin
  EXPECT_DOUBLE_EQ(texts[7].x, 115);
}

TEST_F(PageSurfaceTest, ATextWiderThanItsCellIsSetSmallerToFit) {
  page.UseFont("Times New Roman", 12);  // 2.4 mm per character
  page.AddColumn(45, TAlign::Right, 30, 0, BoxNone, 0);
  page.AddColumn(std::nullopt, TAlign::Right, 30, 0, BoxNone, 0);
  page.NextCell(0, 0, 0, 0);
  page.PrintText("5,82076609135E-11    ");  // 21 characters: 50.4 mm
  page.NextCell(0, 0, 0, 0);
  page.PrintText("17    ");
  const auto texts = itemsOf<TPageText>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NEAR(texts[0].x, 45, 1e-9);
  EXPECT_NEAR(0.2 * texts[0].font.points * 21, 30, 1e-9);
  EXPECT_EQ(texts[1].font.points, 12);
  EXPECT_EQ(page.font().points, 12);  // the surface's font is unchanged
}

TEST_F(PageSurfaceTest, CellRulesComeFromTheCallOrFromTheColumnBox) {
  page.UseFont("Times New Roman", 12);
  page.MoveToY(100);
  page.SetRulePen(kBlack, TPenStyle::Solid, 1, TPenMode::Copy);
  page.AddColumn(45, TAlign::Left, 20, 0, BoxLeft | BoxTop, 1);
  page.AddColumn(std::nullopt, TAlign::Left, 20, 0, BoxLeft | BoxRight | BoxTop, 0);
  page.NextCell(-2, -1, 0, kColumnSide);  // bottom: the box has none
  page.NextCell(kColumnSide, kColumnSide, kColumnSide, kColumnSide);

  const double top = 100 + 5.08 / 5 - 5.08;
  const double bottom = 100 + 5.08 / 5;
  const auto shades = itemsOf<TPageRect>();
  ASSERT_EQ(shades.size(), 1u);  // shade 0 fills nothing
  EXPECT_EQ(shades[0].rgb, 0xFCFCFCu);  // 1 per cent of black
  EXPECT_DOUBLE_EQ(shades[0].x, 45);
  EXPECT_DOUBLE_EQ(shades[0].width, 20);
  EXPECT_DOUBLE_EQ(shades[0].y, top);
  EXPECT_DOUBLE_EQ(shades[0].height, bottom - top);

  const auto lines = itemsOf<TPageLine>();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_DOUBLE_EQ(lines[0].width, 0.508);  // heavy left of the first cell
  EXPECT_DOUBLE_EQ(lines[0].x1, 45);
  EXPECT_DOUBLE_EQ(lines[1].width, 0.254);  // light right
  EXPECT_DOUBLE_EQ(lines[1].x1, 65);
  for (int k = 2; k < 5; ++k) EXPECT_DOUBLE_EQ(lines[static_cast<std::size_t>(k)].width, 25.4 / 96);
  EXPECT_DOUBLE_EQ(lines[2].x1, 65);  // left of the second column's box
  EXPECT_DOUBLE_EQ(lines[3].x1, 85);  // its right
  EXPECT_DOUBLE_EQ(lines[4].y1, top);
  EXPECT_DOUBLE_EQ(lines[4].y2, top);
}

TEST_F(PageSurfaceTest, ExplicitShadeOverridesTheColumns) {
  page.AddColumn(45, TAlign::Left, 20, 0, BoxNone, 0);
  page.NextCell(0, 0, 0, 0, 50);
  const auto shades = itemsOf<TPageRect>();
  ASSERT_EQ(shades.size(), 1u);
  EXPECT_EQ(shades[0].rgb, 0x808080u);
}

TEST_F(PageSurfaceTest, NewPageRestartsAtItsFirstLineInTheFirstFontChosen) {
  page.UseFont("Times New Roman", 12);
  page.SetAreaBottom(280);
  page.MoveToY(150);
  page.AddColumn(45, TAlign::Left, 20, 0, BoxNone, 0);
  page.BeginNewPage();
  EXPECT_EQ(page.GetPageNumber(), 2);
  EXPECT_EQ(page.GetAreaBottom(), 297);
  EXPECT_EQ(page.areaTop(), 0);
  page.UseFont("Times New Roman", 8);
  EXPECT_NEAR(page.GetYPos(), 3.3867 * 4 / 5, 1e-4);
  // The columns go on across the break.
  page.NextCell(0, 0, 0, 0);
  page.PrintText("5");
  const auto texts = itemsOf<TPageText>(2);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_DOUBLE_EQ(texts[0].x, 45);
}

}  // namespace
}  // namespace velko::testing
