#pragma once

#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "calendar/working_days.h"

#include "crews/crew_answer.h"
#include "model/network_model.h"
#include "ui/charts/chart_pictures.h"

namespace velko {

// The pictures and tables of the crew limits ("Ограничить бригады") in the window
// "Графики" and the batch tool's export.

inline const QColor kDelayColour{0x8e, 0x44, 0xad};
inline const QColor kLimitColour{0xc0, 0x39, 0x2b};

// "минимум доказан" or "лучшее найденное, нижняя граница B".
QString crewProofText(const CrewAnswer& answer);

// "Ограничение бригад: длина 40 → 52 дн., минимум доказан; задержано работ: 7 из 30".
QString crewSummaryText(const CrewAnswer& answer);

// The bar chart of the schedule under the limits: the works past their late start in
// their own colour, the late start marked, the reason in the tool tip.
ChartPicture crewBarChartPicture(const TNetworkModel& model, const CrewAnswer& answer);

// The profile of each trade under the limits in a strip of its own, with the limit as a
// line and the figures (peak, mean, unevenness).
ChartPicture crewProfilesPicture(const CrewAnswer& answer);

// "Задержки работ": one row per work started past its late start, with the reason.
QStringList crewDelayHeaders(bool dated = false);
std::vector<QStringList> crewDelayRows(const CrewAnswer& answer, const WorkingDays* dates = nullptr);
QString crewDelaysText(const CrewAnswer& answer, const WorkingDays* dates = nullptr);  // tab-separated, header first
QString crewDelaysMessage(const CrewAnswer& answer);

}  // namespace velko
