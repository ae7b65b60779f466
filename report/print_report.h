#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/network_model.h"
#include "report/base_report.h"

namespace velko {

inline constexpr const char* kReportFace = "Times New Roman";

// The print heights worth asking for, in output-device dots. On the coarsest output
// device, the screen's 96 dpi, a continuation page's label and table heading end about
// 100 dots (26 mm) down the page: up to there every page holds a single row, and below
// 150 dots one or two. The finest, a 1200 dpi printer, has 14031 dots down an A4 page:
// a higher limit falls below the writing area, where the page breaks anyway, so it can
// only be a typing slip.
inline constexpr std::int32_t kMinPrintHeight = 150;
inline constexpr std::int32_t kMaxPrintHeight = 15000;
// Pages are laid out on demand and painted as they are laid out, so the report takes
// every network the model does: 100,000 works optimised make some 15,000 pages.
inline constexpr std::int32_t kMaxReportWorks = kMaxWorks;
// The preview's zoom range in per cent: what it can show at all.
inline constexpr std::int32_t kMinPreviewZoom = 10;
inline constexpr std::int32_t kMaxPreviewZoom = 200;

// The layout of the printed report: variant 1, and when Optimised is not 0 variant 2 on
// a page of its own, as ruled tables. Lays out every page in one pass on `page`, which
// stands at the top of page 1, and reads the model only. `printHeight` is the page-break
// limit in output-device dots for this run. Returns the preview zoom the run asks for,
// `previewZoom` whether or not a second part is laid out; the preview keeps it within
// 10..200. Counts beyond the model's tables are refused (CommandError) before anything
// is drawn.
std::int32_t ReportSystem1Print(TBaseReport& page, const TNetworkModel& model,
                                std::int32_t printHeight, std::int32_t previewZoom);

// Where a page of the report begins: enough to lay that page, and those after it, out
// again without the pages before. A page begins at the start of a part (section -1), at
// a table's section (row 0) or before a row of that section's table.
struct TReportResume {
  int page = 1;
  int part = 1;      // 2: the data after the optimisation
  int section = -1;  // 0 works, 1 events, 2 critical path, 3 floats
  int row = 0;
  bool operator==(const TReportResume&) const = default;
};

// Called with where each page after the first begins, before that page is begun.
using TPageStarts = std::function<void(const TReportResume&)>;

// The same layout from the page `from` on. For a page after the first, `page` stands
// on page from.page - 1, which the layout leaves empty, and the layout begins page
// from.page as the whole run did.
std::int32_t ReportSystem1Print(TBaseReport& page, const TNetworkModel& model,
                                std::int32_t printHeight, std::int32_t previewZoom,
                                const TReportResume& from, const TPageStarts& pageStarts);

// A real of the report: rounded to at most four decimals, no trailing zeros, the
// program's decimal comma, never exponent notation and never "-0" (17, 2,5, 47,0909).
// The model's rounding residues (1.16415321826935E-10 for a reserve of 0) would
// otherwise print as such and shrink the type of their cell.
std::string reportRealText(StoredReal value);

// Ends the current page and starts the next one: the page label, an empty line and,
// for k from 1 to 4, the continuation heading of table k (none for 0). Leaves the
// font at 12 points, so rows that go on after a break are set in 12-point type. The
// layout then repeats the table's heads below the heading.
void StartContinuationPage(TBaseReport& page, int k);

}  // namespace velko
