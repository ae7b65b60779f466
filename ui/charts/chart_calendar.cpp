#include "ui/charts/chart_calendar.h"

#include "model/command_error.h"

namespace velko {

std::optional<WorkingDays> chartCalendar(const TNetworkModel& model, QString* problem) {
  try {
    return dataSetCalendar(model.Extras);
  } catch (const CommandError& error) {
    if (problem) *problem = QString::fromStdString(error.what());
    return std::nullopt;
  }
}

QString screenDate(Date date) {
  const std::chrono::year_month_day ymd(date);
  return QStringLiteral("%1.%2.%3")
      .arg(static_cast<unsigned>(ymd.day()), 2, 10, QLatin1Char('0'))
      .arg(static_cast<unsigned>(ymd.month()), 2, 10, QLatin1Char('0'))
      .arg(static_cast<int>(ymd.year()), 4, 10, QLatin1Char('0'));
}

}  // namespace velko
