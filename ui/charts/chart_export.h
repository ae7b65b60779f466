#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "data/file_io.h"
#include "levelling/levelling.h"
#include "model/network_model.h"
#include "model/optimisation.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

struct CrewAnswer;

// The picture drawn on a white image `scale` times its natural size.
QImage renderPicture(const ChartPicture& picture, double scale = 1.0);

// Called after each sheet of a picture saved as sheets with (done, total); false stops.
using SheetProgress = std::function<bool(int, int)>;

// Saves the picture as PNG (twice its natural size, see pngScale), SVG or PDF, chosen
// by the suffix of `path`, through a temporary file renamed over the target. A picture
// too large for one PDF page (needsSheets) is saved as A4 sheets with an overview.
// Refuses any other suffix, a stop asked by `onSheet` and any failure to write with a
// CommandError naming the file; nothing is written then.
void savePicture(const ChartPicture& picture, const QString& path, const SheetProgress& onSheet = {});
bool needsSheets(const ChartPicture& picture);

// The scale of a picture saved as PNG: 2, or less for the largest networks, so that the
// image stays within kMaxPngPixels; its time and size grow with the pixels.
inline constexpr double kMaxPngPixels = 24e6;
double pngScale(const QSizeF& pictureSize);

// Saves pages as one PDF document of landscape A4 sheets, each page shrunk to fit its
// sheet, through a temporary file renamed over the target.
void savePages(const std::vector<ChartPicture>& pages, const QString& path);

// Saves the optimisation log whole as CSV (UTF-8) through a temporary file.
void saveLogCsv(const std::vector<OptimisationMove>& moves, const QString& path);

// The batch tool writes a picture as sheets only up to this many: past them (the bar
// chart and network of 100,000 works, 5,000 to 14,000 sheets) the PDF alone takes
// minutes. The window saves any size.
inline constexpr int kMaxBatchSheets = 2000;

// The batch tool's pictures into `dir` (made when missing): network.png and
// bar_chart.png of the last variant (after optimisation when `optimised`),
// workers.png with both variants, the optimisation log as optimisation_log.pdf (pages
// of kLogRowsPerPage moves, to read and print) and whole as optimisation_log.csv
// (UTF-8). Given a smoothing of the last variant, workers.png carries its curve too,
// and bar_chart_smoothed.png, workers_by_id.png and shifts.png are added; given a
// schedule under crew limits, bar_chart_crews.png and workers_by_crew.png; given a
// reallocated copy of the model, network_reallocated.png, bar_chart_reallocated.png
// and workers_reallocated.png. A picture
// whose PNG is smaller than its natural size is also saved as A4 sheets beside it
// (network.pdf, bar_chart.pdf, ...) when they are at most kMaxBatchSheets. Needs a
// running QGuiApplication (fonts); refuses without one. The files join `files`, which
// replaces them all together with the caller's other outputs; the second form commits
// them at once. Returns a line for each picture shrunk in its PNG, to tell the user
// whether it was saved as sheets.
std::string writeChartFiles(SafeFileSet& files, const std::string& dir, const TNetworkModel& model,
                            const std::vector<OptimisationMove>& moves, bool optimised,
                            const LevellingResult* smoothing = nullptr, const CrewAnswer* crews = nullptr,
                            const TNetworkModel* reallocated = nullptr);
std::string writeChartFiles(const std::string& dir, const TNetworkModel& model,
                            const std::vector<OptimisationMove>& moves, bool optimised,
                            const LevellingResult* smoothing = nullptr, const CrewAnswer* crews = nullptr);

}  // namespace velko
