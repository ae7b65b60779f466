#pragma once

#include <string>
#include <vector>

#include <QFont>
#include <QString>
#include <QStringList>

#include "model/optimisation.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

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
