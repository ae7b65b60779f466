#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "model/optimisation.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

// Keeps every move the optimisation reports, in order.
class OptimisationLogRecorder : public OptimisationObserver {
 public:
  void donorProcessed(const OptimisationMove& move) override { moves.push_back(move); }
  std::vector<OptimisationMove> moves;
};

// The columns of the log and one row of texts per move (decimal comma).
QStringList optimisationLogHeaders();
std::vector<QStringList> optimisationLogRows(const std::vector<OptimisationMove>& moves);

// The table as tab-separated lines, header first, for the clipboard.
QString optimisationLogText(const std::vector<OptimisationMove>& moves);

// The table as CSV in UTF-8 (comma-separated, decimal point, CR LF lines).
std::string optimisationLogCsv(const std::vector<OptimisationMove>& moves);

// The log as a picture, for export.
ChartPicture optimisationLogPicture(const std::vector<OptimisationMove>& moves, bool optimised);

// The line shown instead of an empty table.
QString emptyLogMessage(bool optimised);

}  // namespace velko
