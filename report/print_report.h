#pragma once

#include <cstdint>
#include <string>

#include "model/network_model.h"
#include "report/base_report.h"

namespace velko {

inline constexpr const char* kReportFace = "Times New Roman";
inline constexpr std::int32_t kSecondPartZoom = 120;

// The layout of the printed report: variant 1, and when Optimised is not 0 variant 2 on
// a page of its own, as ruled tables. Lays out every page in one pass on `page`, which
// stands at the top of page 1, and reads the model only. `printHeight` is the page-break
// limit in output-device dots for this run. Returns the preview zoom the run asks for
// (`previewZoom`, or 120 once the second part is laid out); the preview keeps it within
// 10..200. Counts beyond the model's tables are refused (CommandError) before anything
// is drawn.
std::int32_t ReportSystem1Print(TBaseReport& page, const TNetworkModel& model,
                                std::int32_t printHeight, std::int32_t previewZoom);

// A real of the report: rounded to at most four decimals, no trailing zeros, the
// program's decimal comma, never exponent notation and never "-0" (17, 2,5, 47,0909).
// The model's rounding residues (1.16415321826935E-10 for a reserve of 0) would
// otherwise print as such and shrink the type of their cell.
std::string reportRealText(StoredReal value);

// Ends the current page and starts the next one: the page label, an empty line and,
// for k from 1 to 4, the continuation heading of table k (none for 0). Leaves the
// font at 12 points, so rows that go on after a break are set in 12-point type.
void StartContinuationPage(TBaseReport& page, int k);

}  // namespace velko
