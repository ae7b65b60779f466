#pragma once

#include <QByteArray>

#include "calendar/calendar_plan.h"

namespace velko {

// "Календарный план" as a PDF: A4 landscape, a title with the variant and the start date,
// the column headings repeated at the top of every page, and "Лист N из M" at the foot.
// Long names are cut to their column with an ellipsis.
QByteArray calendarPlanPdf(const CalendarPlan& plan);

}  // namespace velko
