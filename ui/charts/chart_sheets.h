#pragma once

#include <functional>

#include <QPageLayout>
#include <QSizeF>
#include <QString>

#include "ui/charts/chart_pictures.h"

class QPagedPaintDevice;

namespace velko {

// A picture too large for one sheet is printed and saved as sheets at a readable scale:
// an overview sheet with the grid of the sheets first, then the sheets row by row, each
// with its label and the picture's sticky band (title and day axis) repeated on top.
struct SheetPlan {
  double scale = 1;   // points per picture unit
  int columns = 1;
  int rows = 1;
  QSizeF content;     // picture units each sheet shows below the repeated band
  bool overview = true;  // false for a picture that fits one sheet
  int sheets() const { return columns * rows + (overview ? 1 : 0); }
};

// Points per picture unit on a sheet: 12-pixel labels print at 9 points. A picture that
// fits one sheet at kMinFitScale or more is printed on that one sheet.
inline constexpr double kSheetScale = 0.75;
inline constexpr double kMinFitScale = 0.5;
// A picture whose side passes this many units is not saved as a single PDF page: it is
// past the largest page a PDF may have (200 inches).
inline constexpr double kMaxPdfPageUnits = 14400;

// The sheet every picture and page document is saved on: landscape A4 with margins of
// 28 points.
QPageLayout sheetPageLayout();

// The sheets of `picture` on pages whose printable area is `area` points.
SheetPlan planSheets(const ChartPicture& picture, QSizeF area);

// Paints the overview and the sheets on `device`, whose page layout gives the sheet
// size and margins. `name` labels every sheet. `onSheet(done, total)` is called after
// each sheet; it returns false to stop, and paintSheets then returns false. Sheets
// outside `from`..`to` (1-based, 0 for the last) are left out. Throws CommandError when
// the device cannot be painted on.
bool paintSheets(const ChartPicture& picture, const QString& name, QPagedPaintDevice& device,
                 const std::function<bool(int, int)>& onSheet = {}, int from = 1, int to = 0);

}  // namespace velko
