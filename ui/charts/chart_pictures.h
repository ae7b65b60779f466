#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "calendar/working_days.h"
#include "model/network_model.h"
#include "model/schedule_figures.h"

class QPainter;

namespace velko {

// A picture of one tab: its natural size in picture units, how to paint it at that
// size, and the tooltip at a point of it (empty for none). Window, export and the
// batch tool all draw through it, so what is saved is what is shown.
struct ChartPicture {
  QSizeF size;
  std::function<void(QPainter&)> paint;
  std::function<QString(QPointF)> toolTip;
  // The band [0, stickyHeight) at the top (title and day axis) stays in view while a
  // long picture scrolls, and is repeated on every sheet it is printed on.
  double stickyHeight = 0;
  // Likewise the band [0, stickyWidth) at the left (the rows' names) while it scrolls
  // sideways.
  double stickyWidth = 0;
  // Where event I (J == 0) or work I-J is drawn, for "find"; none when it is not.
  std::function<std::optional<QRectF>(int I, int J)> find;
};

// Colours shared by the pictures and their legends.
inline const QColor kCriticalColour{0xd0, 0x10, 0x10};
inline const QColor kWorkColour{0x3a, 0x6e, 0xa5};
inline const QColor kBeforeColour{0x1f, 0x5f, 0xbf};
inline const QColor kAfterColour{0xe0, 0x7a, 0x00};

// The face every picture draws with (metric-compatible with Graphviz's Helvetica).
QFont chartFont(int pixelSize, bool bold = false);

// The recorded variants' common day span: the longest of their critical path lengths
// and early finishes, so that the bar chart and the workers profile of either variant
// share one day axis.
Extended chartDays(const TNetworkModel& model);

// The horizontal day axis of the bar chart and the profile.
struct DayAxis {
  double left = 0;        // x of day 0
  double dayWidth = 0;    // units per day
  Extended days = 0;      // last day shown
  double x(Extended day) const { return left + dayWidth * static_cast<double>(day); }
  double right() const { return x(days); }
  Extended tickStep() const;  // 1, 2, 5, 10, ... days between labelled ticks
  // With a start date the axis is labelled in dates (days, weeks or months by zoom) and
  // shaded where days off fall between two working days; without one, in day numbers.
  std::shared_ptr<const WorkingDays> calendar;
};
DayAxis dayAxisFor(Extended days);
DayAxis dayAxisFor(const TNetworkModel& model);  // its days, and its calendar when it has a start date

// Rows of the bar chart: the bar of each work and the extent of its float tails on the
// axis (tails cut at the axis' end, as an event without successors has a late time far
// beyond it).
struct BarRow {
  WorkTiming work;
  QRectF row;       // the whole row band, for tooltips
  QRectF bar;       // early start .. early finish
  double freeEnd = 0;   // x where the free float tail ends
  double totalEnd = 0;  // x where the dashed rest of the total float ends
};
// Rows start at `top`; the picture's rows come from barChartRows.
std::vector<BarRow> barRows(const std::vector<WorkTiming>& works, const DayAxis& axis, double top);
std::vector<BarRow> barChartRows(const TNetworkModel& model, int variant);
QString barToolTip(const WorkTiming& work);

// The figures under the profile: one row per figure, the label then one value per
// variant shown (before, and after when the model is optimised).
std::vector<QStringList> profileFigureRows(const TNetworkModel& model);

// The works of a variant as the pictures see them: a total float that is only a
// rounding residue of the storage format counts as zero, so that a chain of events with
// reserve 0 is drawn critical even after the optimisation left fractional durations.
std::vector<WorkTiming> variantWorks(const TNetworkModel& model, int variant);

// The pictures of the tabs. `variant` is 1 or 2 (2 only for an optimised model);
// anything else is refused with a CommandError before a table is read. The network is
// laid out in layers up to kMaxNetworkPictureEvents events, to a time scale beyond them
// or when `timeScaled`.
ChartPicture networkPicture(const TNetworkModel& model, int variant, bool timeScaled = false);
ChartPicture barChartPicture(const TNetworkModel& model, int variant);
ChartPicture profilePicture(const TNetworkModel& model);
// Where the network picture draws the layout's origin.
QPointF networkOrigin();
// A picture carrying only a message, for a model with nothing to draw or a failure.
ChartPicture messagePicture(const QString& message);

// What the pictures call a variant: "до оптимизации", "после оптимизации", or
// "после перераспределения" for a reallocated copy; `capital` for a table's header.
QString variantName(const TNetworkModel& model, int variant, bool capital = false);

// Refuses a variant the model does not hold.
void checkVariant(const TNetworkModel& model, int variant);

// Past this many events the layered layout of the network takes too long (300 events:
// 0.15 s, 420: 0.4 s, 600: about 5 s) and its picture is no longer read: the network is
// then drawn to a time scale.
inline constexpr int kMaxNetworkPictureEvents = 300;

}  // namespace velko
