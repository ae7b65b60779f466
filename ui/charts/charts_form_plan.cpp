// "Календарный план..." of the window "Графики": the works of the variant shown, with
// their dates, saved as CSV or PDF.
#include <QFileDialog>
#include <QFileInfo>
#include <QRadioButton>

#include "calendar/calendar_plan.h"
#include "data/file_io.h"
#include "model/command_error.h"
#include "ui/charts/charts_form.h"
#include "ui/command_guard.h"
#include "ui/report/plan_pdf.h"

namespace velko {

void TCharts_form::Button7Click() {
  runCommand(this, [&] {
    // Refused before the file dialog: without a start date there is nothing to save.
    if (!model().Extras.startDate) throw CommandError(kPlanNeedsStartDate);
    // The starts of the variant shown where they are not the early ones: smoothed or
    // under crew limits; the reallocated copy has its own times.
    std::map<std::pair<int, int>, Extended> starts;
    const LevellingResult* smoothed = RadioButton3->isChecked() ? levellingResult() : nullptr;
    if (smoothed)
      for (const LevelledWork& w : smoothed->works) starts[{w.I, w.J}] = w.start;
    if (crewsShown() && crewAnswer() != nullptr)
      for (const CrewWorkAnswer& w : crewAnswer()->works) starts[{w.I, w.J}] = w.start;
    const CalendarPlan plan = calendarPlan(shownModel(), variant(), ProductionCalendar::withUserYears(userCalendarFolder()),
                                           starts.empty() ? nullptr : &starts);
    const QString pdf = QStringLiteral("Документ PDF (*.pdf)");
    const QString csv = QStringLiteral("Таблица CSV (*.csv)");
    QString filter = pdf;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Календарный план"), QStringLiteral("plan.pdf"),
                                                pdf + QStringLiteral(";;") + csv, &filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += filter == csv ? QStringLiteral(".csv") : QStringLiteral(".pdf");
    if (QFileInfo(path).suffix().toLower() == QLatin1String("csv")) {
      writeFileSafely(path.toStdString(), calendarPlanCsv(plan));
    } else {
      const QByteArray bytes = calendarPlanPdf(plan);
      writeFileSafely(path.toStdString(), std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
  });
}

}  // namespace velko
