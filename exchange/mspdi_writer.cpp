#include "exchange/mspdi_writer.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>

#include "data/file_io.h"
#include "calendar/production_calendar.h"
#include "calendar/working_days.h"
#include "model/network_model.h"
#include "model/time_parameters.h"

namespace velko {

namespace {

// The working day of the other program's standard calendar: 8:00-12:00 and 13:00-17:00.
constexpr int kMinutesPerDay = 480;

QString q(const std::string& text) { return QString::fromStdString(text); }

QString duration(double days) {
  long long seconds = std::llround(std::max(0.0, days) * kMinutesPerDay * 60);
  const long long hours = seconds / 3600;
  seconds -= hours * 3600;
  return QStringLiteral("PT%1H%2M%3S").arg(hours).arg(seconds / 60).arg(seconds % 60);
}

class Writer {
 public:
  Writer(const DataSetExtras& extras, Date start)
      : extras_(extras), days_(start, extras.calendar, ProductionCalendar::withUserYears(userCalendarFolder())) {}

  // A moment `x` working days from the start: the start of a working day's minute, or
  // with `finish` a whole day's end (17:00 of the day before).
  QString moment(double x, bool finish) {
    x = std::max(0.0, x);
    double whole = std::floor(x);
    double minutes = std::round((x - whole) * kMinutesPerDay);
    if (minutes >= kMinutesPerDay) whole += 1, minutes = 0;
    if (finish && minutes == 0 && whole > 0) whole -= 1, minutes = kMinutesPerDay;
    // The lunch hour: past four hours of work the clock is an hour later.
    const long clock = 8 * 60 + static_cast<long>(minutes) + (minutes > 240 ? 60 : 0);
    return QString::fromStdString(isoDate(days_.dateOfDay(static_cast<long long>(whole)))) +
           QStringLiteral("T%1:%2:00").arg(clock / 60, 2, 10, QChar('0')).arg(clock % 60, 2, 10, QChar('0'));
  }

  QByteArray write(const TNetworkModel& m, const std::string& title) {
    const auto works = m.WorkMatrix.upperWorks(m.EventCount);
    // Tasks are the works with workers or a name; the rest carry time between events.
    std::vector<int> taskOf(works.size(), 0);
    std::vector<std::vector<std::size_t>> into(static_cast<std::size_t>(m.EventCount) + 1);
    int tasks = 0;
    for (std::size_t k = 0; k < works.size(); ++k) {
      const auto& w = works[k];
      if (w.I == w.J) continue;
      into[static_cast<std::size_t>(w.J)].push_back(k);
      if (w.cell->Workers > 0 || extras_.names.count({w.I, w.J})) taskOf[k] = ++tasks;
    }
    // For each event, the tasks that end before it, with the longest dummy time after
    // each: they become the finish-to-start links of the tasks leaving the event. The
    // tasks leaving the first event, which nothing precedes, stand in for it as
    // start-to-start predecessors, so a time carried from the project's start is kept.
    // Keys: task * 2, plus 1 for start-to-start.
    std::vector<std::map<int, double>> reach(static_cast<std::size_t>(m.EventCount) + 1);
    auto reachAt = [&](int e) -> std::map<int, double>& { return reach[static_cast<std::size_t>(e)]; };
    auto longer = [](std::map<int, double>& here, int key, double lag) {
      auto [it, added] = here.emplace(key, lag);
      if (!added) it->second = std::max(it->second, lag);
    };
    for (std::size_t k = 0; k < works.size(); ++k)
      if (taskOf[k] && works[k].I == 1) longer(reachAt(1), taskOf[k] * 2 + 1, 0.0);
    // Carried on through dummy after dummy the lists would grow with the square of the
    // network: past a few tasks an event is written as a milestone of its own, and the
    // dummies after it link to that.
    constexpr std::size_t kLinksThroughEvent = 4;
    std::vector<int> milestoneOf(static_cast<std::size_t>(m.EventCount) + 1, 0);
    std::vector<int> milestoneEvents;
    int nextUid = tasks;
    for (int e = 2; e <= m.EventCount; ++e) {
      for (std::size_t k : into[static_cast<std::size_t>(e)]) {
        const auto& w = works[k];
        const double t = w.cell->Duration;
        if (taskOf[k]) {
          longer(reachAt(e), taskOf[k] * 2, 0.0);
        } else if (reachAt(w.I).size() > kLinksThroughEvent) {
          int& milestone = milestoneOf[static_cast<std::size_t>(w.I)];
          if (!milestone) {
            milestone = ++nextUid;
            milestoneEvents.push_back(w.I);
          }
          longer(reachAt(e), milestone * 2, t);
        } else {
          for (const auto& [key, lag] : reachAt(w.I)) longer(reachAt(e), key, lag + t);
        }
      }
    }

    std::map<int, bool> trades;  // Id -> used by a task
    for (std::size_t k = 0; k < works.size(); ++k)
      if (taskOf[k] && works[k].cell->Workers > 0) trades[works[k].cell->Id] = true;
    for (const auto& [id, name] : extras_.tradeNames) trades.emplace(id, false);
    for (const auto& [id, limit] : extras_.crewLimits) trades.emplace(id, false);

    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    writer_ = &w;
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("Project"));
    w.writeDefaultNamespace(QStringLiteral("http://schemas.microsoft.com/project"));
    put("SaveVersion", 14);
    put("Name", q(title));
    put("Title", q(title));
    put("ScheduleFromStart", 1);
    put("StartDate", moment(0, false));
    put("FinishDate", moment(static_cast<double>(m.CritPathLength), true));
    lastDate_ = days_.dateOfDay(static_cast<long long>(std::ceil(std::max(0.0, static_cast<double>(m.CritPathLength)))));
    put("CalendarUID", 1);
    put("DefaultStartTime", QStringLiteral("08:00:00"));
    put("DefaultFinishTime", QStringLiteral("17:00:00"));
    put("MinutesPerDay", kMinutesPerDay);
    put("MinutesPerWeek", kMinutesPerDay * 5);
    put("DaysPerMonth", 20);
    put("DurationFormat", 7);
    writeCalendar();

    w.writeStartElement(QStringLiteral("Tasks"));
    for (std::size_t k = 0; k < works.size(); ++k) {
      if (!taskOf[k]) continue;
      const auto& wk = works[k];
      const TWorkCell& cell = *wk.cell;
      const double t = cell.Duration;
      const double early = m.Events[wk.I].Early;
      const double late = m.Events[wk.J].Late;
      const auto name = extras_.names.find({wk.I, wk.J});
      w.writeStartElement(QStringLiteral("Task"));
      put("UID", taskOf[k]);
      put("ID", taskOf[k]);
      put("Name", name != extras_.names.end() ? q(name->second)
                                                : QStringLiteral("Работа %1-%2").arg(wk.I).arg(wk.J));
      put("Type", 0);
      put("IsNull", 0);
      put("OutlineNumber", taskOf[k]);
      put("OutlineLevel", 1);
      put("Start", moment(early, false));
      put("Finish", moment(early + t, true));
      put("Duration", duration(t));
      put("DurationFormat", 7);
      put("Milestone", 0);
      put("Summary", 0);
      put("Critical", static_cast<double>(cell.TotalFloat) == 0 ? 1 : 0);
      put("EarlyStart", moment(early, false));
      put("EarlyFinish", moment(early + t, true));
      put("LateStart", moment(late - t, false));
      put("LateFinish", moment(late, true));
      put("TotalSlack", std::llround(static_cast<double>(cell.TotalFloat) * kMinutesPerDay * 10));
      put("FreeSlack", std::llround(static_cast<double>(cell.FreeFloat) * kMinutesPerDay * 10));
      put("ConstraintType", 4);  // start no earlier than: the date this program computed
      put("ConstraintDate", moment(early, false));
      put("CalendarUID", -1);
      links(reach, wk.I);
      w.writeEndElement();
    }
    for (int e : milestoneEvents) {
      const double early = m.Events[e].Early;
      w.writeStartElement(QStringLiteral("Task"));
      put("UID", milestoneOf[static_cast<std::size_t>(e)]);
      put("ID", milestoneOf[static_cast<std::size_t>(e)]);
      put("Name", QStringLiteral("Событие %1").arg(e));
      put("Type", 0);
      put("IsNull", 0);
      put("OutlineLevel", 1);
      put("Start", moment(early, false));
      put("Finish", moment(early, false));
      put("Duration", duration(0));
      put("DurationFormat", 7);
      put("Milestone", 1);
      put("Summary", 0);
      put("Critical", static_cast<double>(m.Events[e].Reserve) == 0 ? 1 : 0);
      put("EarlyStart", moment(early, false));
      put("EarlyFinish", moment(early, false));
      put("LateStart", moment(m.Events[e].Late, false));
      put("LateFinish", moment(m.Events[e].Late, false));
      put("TotalSlack", std::llround(static_cast<double>(m.Events[e].Reserve) * kMinutesPerDay * 10));
      links(reach, e);
      w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("Resources"));
    for (const auto& [id, used] : trades) {
      w.writeStartElement(QStringLiteral("Resource"));
      put("UID", id);
      put("ID", id);
      const auto name = extras_.tradeNames.find(id);
      put("Name", name != extras_.tradeNames.end() ? q(name->second) : QStringLiteral("Профессия %1").arg(id));
      put("Type", 1);
      if (const auto limit = extras_.crewLimits.find(id); limit != extras_.crewLimits.end())
        put("MaxUnits", QString::number(limit->second) + QStringLiteral(".00"));
      w.writeEndElement();
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("Assignments"));
    int uid = 0;
    for (std::size_t k = 0; k < works.size(); ++k) {
      if (!taskOf[k] || works[k].cell->Workers <= 0) continue;
      const TWorkCell& cell = *works[k].cell;
      w.writeStartElement(QStringLiteral("Assignment"));
      put("UID", ++uid);
      put("TaskUID", taskOf[k]);
      put("ResourceUID", cell.Id);
      put("Units", QString::number(cell.Workers));
      put("Work", duration(static_cast<double>(cell.Duration) * cell.Workers));
      w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return bytes;
  }

 private:
  void put(const char* name, const QString& value) { writer_->writeTextElement(QString::fromLatin1(name), value); }
  void put(const char* name, long long value) { put(name, QString::number(value)); }
  void put(const char* name, int value) { put(name, QString::number(value)); }

  void links(const std::vector<std::map<int, double>>& reach, int event) {
    if (event == 1) return;  // what reaches the first event stands for it, see above
    for (const auto& [key, lag] : reach[static_cast<std::size_t>(event)]) {
      writer_->writeStartElement(QStringLiteral("PredecessorLink"));
      put("PredecessorUID", key / 2);
      put("Type", key % 2 ? 3 : 1);
      put("CrossProject", 0);
      put("LinkLag", std::llround(lag * kMinutesPerDay * 10));
      put("LagFormat", 7);
      writer_->writeEndElement();
    }
  }

  void workingTimes() {
    writer_->writeStartElement(QStringLiteral("WorkingTimes"));
    for (const auto& [from, to] : {std::pair("08:00:00", "12:00:00"), std::pair("13:00:00", "17:00:00")}) {
      writer_->writeStartElement(QStringLiteral("WorkingTime"));
      put("FromTime", QString::fromLatin1(from));
      put("ToTime", QString::fromLatin1(to));
      writer_->writeEndElement();
    }
    writer_->writeEndElement();
  }

  void exceptionDay(Date day, bool working) {
    const QString date = QString::fromStdString(isoDate(day));
    writer_->writeStartElement(QStringLiteral("Exception"));
    put("EnteredByOccurrences", 0);
    writer_->writeStartElement(QStringLiteral("TimePeriod"));
    put("FromDate", date + QStringLiteral("T00:00:00"));
    put("ToDate", date + QStringLiteral("T23:59:00"));
    writer_->writeEndElement();
    put("Occurrences", 1);
    put("Name", working ? QStringLiteral("Рабочий день") : QStringLiteral("Выходной"));
    put("Type", 1);
    put("DayWorking", working ? 1 : 0);
    if (working) workingTimes();
    writer_->writeEndElement();
  }

  void writeCalendar() {
    const WorkingCalendar& cal = extras_.calendar;
    std::uint8_t mask = cal.kind == WorkingCalendar::Kind::EveryDay ? 0x7F
                        : cal.kind == WorkingCalendar::Kind::Own    ? cal.weekMask
                                                                   : 0x1F;
    writer_->writeStartElement(QStringLiteral("Calendars"));
    writer_->writeStartElement(QStringLiteral("Calendar"));
    put("UID", 1);
    put("Name", QStringLiteral("Стандартный"));
    put("IsBaseCalendar", 1);
    put("BaseCalendarUID", -1);
    writer_->writeStartElement(QStringLiteral("WeekDays"));
    for (int dayType = 1; dayType <= 7; ++dayType) {  // 1 Sunday .. 7 Saturday
      const bool working = (mask >> ((dayType + 5) % 7)) & 1;
      writer_->writeStartElement(QStringLiteral("WeekDay"));
      put("DayType", dayType);
      put("DayWorking", working ? 1 : 0);
      if (working) workingTimes();
      writer_->writeEndElement();
    }
    writer_->writeEndElement();
    if (cal.kind == WorkingCalendar::Kind::Own && (!cal.daysOff.empty() || !cal.workingDays.empty())) {
      writer_->writeStartElement(QStringLiteral("Exceptions"));
      for (Date day : cal.daysOff) exceptionDay(day, false);
      for (Date day : cal.workingDays) exceptionDay(day, true);
      writer_->writeEndElement();
    } else if (cal.kind == WorkingCalendar::Kind::Production) {
      // The holidays and transferred days of the years the schedule spans, so that the
      // other tool counts the same working days.
      const std::chrono::year_month_day first(days_.startDate()), last(lastDate_);
      const Date from{first.year() / std::chrono::January / 1}, to{last.year() / std::chrono::December / 31};
      bool opened = false;
      for (Date day = from; day <= to; day += std::chrono::days(1)) {
        const bool weekday = std::chrono::weekday(day).iso_encoding() <= 5;
        const bool working = days_.isWorking(day);
        if (working == weekday) continue;
        if (!opened) writer_->writeStartElement(QStringLiteral("Exceptions")), opened = true;
        exceptionDay(day, working);
      }
      if (opened) writer_->writeEndElement();
    }
    writer_->writeEndElement();
    writer_->writeEndElement();
  }

  const DataSetExtras& extras_;
  WorkingDays days_;
  Date lastDate_;
  QXmlStreamWriter* writer_ = nullptr;
};

}  // namespace

std::string projectXmlText(const WorksInput& input, const DataSetExtras& extras, const std::string& title) {
  TNetworkModel model;
  LoadModel(model, input);
  ClearComputed(model);
  ComputeTimeParameters(model);
  return projectXmlText(model, extras, title);
}

std::string projectXmlText(const TNetworkModel& computed, const DataSetExtras& extras, const std::string& title) {
  const Date start = extras.startDate ? *extras.startDate
                                      : std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const QByteArray bytes = Writer(extras, start).write(computed, title);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void writeProjectXml(const std::string& path, const WorksInput& input, const DataSetExtras& extras) {
  writeFileSafely(path, projectXmlText(input, extras, std::filesystem::path(path).stem().string()));
}

}  // namespace velko
