#pragma once

#include <string>
#include <vector>

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include "model/optimisation.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

// The text of log rows that moved nobody.
inline const QColor kMutedText{0x9a, 0x9a, 0x9a};

// A donor whose new worker number equals its old one (d = 0) moves nobody: it is only
// stretched, and the critical work's duration rounded up. The log shows such rows muted.
inline bool movesNobody(const OptimisationMove& move) { return move.freedWorkers == 0; }

// What the log says of a run, counted apart: "доноров: 20, перемещений: 6, перемещено
// рабочих: 9" (every donor processed, those that moved someone, the workers moved).
QString optimisationLogSummary(const std::vector<OptimisationMove>& moves);

// The columns of the log and one row of texts per move (decimal comma).
QStringList optimisationLogHeaders();
std::vector<QStringList> optimisationLogRows(const std::vector<OptimisationMove>& moves);

// The table as tab-separated lines, header first, for the clipboard.
QString optimisationLogText(const std::vector<OptimisationMove>& moves);

// The table as CSV in UTF-8 (comma-separated, decimal point, CR LF lines).
std::string optimisationLogCsv(const std::vector<OptimisationMove>& moves);

// The log as pages for export and printing: at most kLogRowsPerPage moves on each, under
// the header row, with the columns as wide on every page; one page with the message
// when there are no moves.
inline constexpr int kLogRowsPerPage = 40;
std::vector<ChartPicture> optimisationLogPages(const std::vector<OptimisationMove>& moves, bool optimised);

// The widths of the log's columns in `font` (the header in its bold face), padding
// excluded: the longest texts of each column measured, not all of them, as digits share
// one width and thousands of rows must stay quick.
std::vector<double> logColumnWidths(const QStringList& headers, const std::vector<QStringList>& rows,
                                    const QFont& font, const QFont& bold);

// The line shown instead of an empty table.
QString emptyLogMessage(bool optimised);

}  // namespace velko
