#pragma once

// The drawing the chart pictures have in common: the title, the day axis, the workers
// scale of a profile, legends, the critical path markers and the figures table.
#include <utility>
#include <vector>

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include "model/schedule_figures.h"
#include "ui/charts/chart_pictures.h"

class QPainter;

namespace velko {

inline constexpr double kTitleHeight = 34;
inline const QColor kChartText{0x20, 0x20, 0x20};
inline const QColor kChartGrid{0xdd, 0xdd, 0xdd};
// The bar charts and profiles of every variant share their measures, so that they line
// up when printed side by side.
inline constexpr double kRightMargin = 36;
inline constexpr double kRowHeight = 22;
inline constexpr double kAxisHeight = 24;  // day numbers above the bar chart
inline constexpr double kResidue = 1e-6;   // days; far below the two decimals shown
inline const QColor kFloatColour{0x80, 0x80, 0x80};

inline Extended variantLength(const TNetworkModel& model, int variant) {
  return variant == 2 ? model.LengthAfter : model.LengthBefore;
}

void drawTitle(QPainter& p, double width, const QString& text);

// `text` centred on `centre`, the face shrunk until it fits 2 x `halfWidth`.
void drawFitted(QPainter& p, QPointF centre, const QString& text, double halfWidth, int pixels, bool bold = false);
// The arrowhead from `base` to `tip` as a closed triangle (empty when they meet), and
// drawn filled.
QPolygonF arrowHead(QPointF base, QPointF tip);
void drawArrowHead(QPainter& p, QPointF base, QPointF tip, const QColor& colour);
// An event as a circle of kEventDiameter in four sectors: number above, early time left,
// late time right, reserve below.
void drawEvent(QPainter& p, QPointF c, const QString& number, const QString& early, const QString& late,
               const QString& reserve);
// Grid lines at the labelled days between `top` and `bottom`, their numbers above or
// below, and the unit "дни" at the right end.
void drawDayAxis(QPainter& p, const DayAxis& axis, double top, double bottom, bool labelsAbove);

// Legend entries: a text, a line sample or a box sample followed by its text. Each
// returns the x where the next entry starts.
double legendText(QPainter& p, double x, double y, const QString& text);
double legendLine(QPainter& p, double x, double y, const QPen& pen, const QString& text);
double legendBox(QPainter& p, double x, double y, const QPen& pen, const QBrush& brush, const QString& text);

// The workers axis of a profile plot: lines every `step` workers (1, 2, 5, 10, 20, ...,
// at most `lines` of them below the peak) up to `max`, above the peak.
struct WorkersScale {
  double top = 0;
  double bottom = 0;
  long long step = 1;
  double max = 1;
  double y(double workers) const { return bottom - workers / max * (bottom - top); }
};
WorkersScale workersScale(long long peak, long long lines, double top, double bottom);
// The scale's grid lines across the plot and its numbers left of the axis.
void drawWorkersGrid(QPainter& p, const DayAxis& axis, const WorkersScale& scale, int pixels);
// "рабочих, чел." up the left side, the axis lines of the plot.
void drawWorkersFrame(QPainter& p, const DayAxis& axis, const WorkersScale& scale);

// A profile without the steps that only a rounding residue of the storage format
// separates from their neighbours: they would draw as spikes and could carry a peak
// no day has.
std::vector<ProfileStep> withoutResidues(const std::vector<ProfileStep>& steps);

// The critical path length of each variant (one or two) as a dashed line with its
// caption; two different lengths have their captions on two lines, right-aligned.
void drawCriticalLengths(QPainter& p, const DayAxis& axis, const std::vector<Extended>& lengths, double top,
                         double bottom);

// The ground of a bar chart between `top` and `bottom`: every other row of `rowHeight`
// shaded, the day axis with its numbers above, the critical path length dashed.
void drawBarGround(QPainter& p, const DayAxis& axis, double top, double bottom, double rowHeight, double width,
                   Extended length);

// Whether the painter's clip shows any of `box` (true when it does not clip): what it
// does not show is not drawn, as a PDF would carry it all the same.
bool inView(const QPainter& p, const QRectF& box);

// The rows of `rowHeight` from `top` that the painter's clip shows, as [first, last)
// (all when it is not clipped): a window scrolled over 100,000 rows draws a screenful.
std::pair<std::size_t, std::size_t> rowsInView(const QPainter& p, double top, double rowHeight, std::size_t count);

// The steps of a profile (in day order) as the painter shows them: those the clip
// shows, with one more at each end so that the curve enters and leaves the view as it
// would drawn whole, and where many fall within half a device pixel, their lowest and
// highest only: the curve looks the same and costs the pixels, not the steps.
std::vector<ProfileStep> stepsToDraw(const QPainter& p, const DayAxis& axis, const std::vector<ProfileStep>& steps);

// A table of texts with a shaded header row; returns its height.
double drawTable(QPainter& p, double left, double top, const std::vector<double>& widths,
                 const std::vector<QStringList>& rows, const std::vector<QColor>& columnColours, double rowHeight);

}  // namespace velko
