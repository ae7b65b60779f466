#include "exchange/mspdi_reader.h"

#include <QString>
#include <QXmlStreamReader>

#include <cmath>

#include "data/file_io.h"
#include "model/command_error.h"

namespace velko {

namespace {

class Reader {
 public:
  Reader(const std::string& bytes, const std::string& fileName)
      : xml_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))), fileName_(fileName) {}

  ProjectFile read() {
    ProjectFile project;
    if (!nextStart()) fail("это не файл MS Project XML" + (xml_.hasError() ? " (" + xml_.errorString().toStdString() + ")" : ""));
    if (xml_.name() != u"Project") fail("это не файл MS Project XML (корневой элемент не Project)");
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"StartDate") project.start = date(text());
      else if (name == u"MinutesPerDay") project.minutesPerDay = number(text());
      else if (name == u"CalendarUID") project.calendarUid = integer(text());
      else if (name == u"Calendars") readList(u"Calendar", [&] { project.calendars.push_back(calendar()); });
      else if (name == u"Tasks") readList(u"Task", [&] { project.tasks.push_back(task()); });
      else if (name == u"Resources") readList(u"Resource", [&] { project.resources.push_back(resource()); });
      else if (name == u"Assignments") readList(u"Assignment", [&] { project.assignments.push_back(assignment()); });
      else xml_.skipCurrentElement();
    }
    while (!xml_.atEnd()) xml_.readNext();  // the rest must be well-formed too
    if (xml_.hasError()) fail(xml_.errorString().toStdString());
    if (!(project.minutesPerDay > 0 && project.minutesPerDay <= 1440)) fail("MinutesPerDay вне 1..1440");
    return project;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw CommandError("Файл " + fileName_ + ", строка " + std::to_string(xml_.lineNumber()) + ", столбец " +
                       std::to_string(xml_.columnNumber()) + ": " + what);
  }

  // A document type is never resolved; one that declares entities could expand a few
  // bytes into gigabytes, so it is refused before any of them is used.
  void checkToken() {
    if (xml_.tokenType() == QXmlStreamReader::DTD) {
      if (!xml_.entityDeclarations().isEmpty() || xml_.text().contains(u"<!ENTITY"))
        fail("объявления сущностей (DOCTYPE с ENTITY) не допускаются");
    } else if (xml_.tokenType() == QXmlStreamReader::EntityReference) {
      fail("ссылка на неизвестную сущность &" + xml_.name().toString().toStdString() + ";");
    }
  }

  bool nextStart() {
    while (!xml_.atEnd()) {
      xml_.readNext();
      checkToken();
      if (xml_.isStartElement()) return true;
    }
    return false;
  }

  // The next child element of the current one; false at the current one's end.
  bool nextChild() {
    while (!xml_.atEnd()) {
      xml_.readNext();
      checkToken();
      if (xml_.isStartElement()) return true;
      if (xml_.isEndElement()) return false;
    }
    if (xml_.hasError()) fail(xml_.errorString().toStdString());
    return false;
  }

  QString text() {
    QString value = xml_.readElementText(QXmlStreamReader::SkipChildElements);
    if (xml_.hasError()) fail(xml_.errorString().toStdString());
    return value.trimmed();
  }

  template <typename Each>
  void readList(QStringView item, Each each) {
    while (nextChild()) {
      if (xml_.name() == item) each();
      else xml_.skipCurrentElement();
    }
  }

  double number(const QString& value) {
    bool ok = false;
    const double x = value.toDouble(&ok);  // always the C locale's point
    if (!ok || !std::isfinite(x)) fail("не число: " + value.left(40).toStdString());
    return x;
  }

  int integer(const QString& value) {
    bool ok = false;
    const int x = value.toInt(&ok);
    if (!ok) fail("не целое число: " + value.left(40).toStdString());
    return x;
  }

  bool flag(const QString& value) { return value == u"1" || value == u"true"; }

  Date date(const QString& value) {
    if (const auto day = parseIsoDate(value.left(10).toStdString())) return *day;
    fail("не дата: " + value.left(40).toStdString());
  }

  // "PT8H0M0S"; a day part, seldom written, counts 24 hours.
  double minutes(const QString& value) {
    const std::string s = value.toStdString();
    std::size_t k = 0;
    const bool negative = k < s.size() && s[k] == '-';
    if (negative) ++k;
    if (k >= s.size() || s[k] != 'P') fail("не длительность: " + s.substr(0, 40));
    ++k;
    double total = 0;
    bool inTime = false;
    while (k < s.size()) {
      if (s[k] == 'T') {
        inTime = true;
        ++k;
        continue;
      }
      const std::size_t begin = k;
      while (k < s.size() && (std::isdigit(static_cast<unsigned char>(s[k])) || s[k] == '.')) ++k;
      if (k == begin || k >= s.size()) fail("не длительность: " + s.substr(0, 40));
      const double x = number(QString::fromStdString(s.substr(begin, k - begin)));
      const char unit = s[k++];
      if (unit == 'D' && !inTime) total += x * 1440;
      else if (unit == 'H' && inTime) total += x * 60;
      else if (unit == 'M' && inTime) total += x;
      else if (unit == 'S' && inTime) total += x / 60;
      else fail("не длительность: " + s.substr(0, 40));
    }
    return negative ? -total : total;
  }

  ProjectLink link() {
    ProjectLink link;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"PredecessorUID") link.predecessorUid = integer(text());
      else if (name == u"Type") link.type = integer(text());
      else if (name == u"LinkLag") link.lagTenths = number(text());
      else if (name == u"LagFormat") link.lagFormat = integer(text());
      else if (name == u"CrossProject") link.crossProject = flag(text());
      else xml_.skipCurrentElement();
    }
    return link;
  }

  ProjectTask task() {
    ProjectTask task;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"UID") task.uid = integer(text());
      else if (name == u"Name") task.name = text().toStdString();
      else if (name == u"Duration") task.minutes = minutes(text());
      else if (name == u"DurationFormat") task.durationFormat = integer(text());
      else if (name == u"Summary") task.summary = flag(text());
      else if (name == u"Milestone") task.milestone = flag(text());
      else if (name == u"IsNull") task.isNull = flag(text());
      else if (name == u"OutlineLevel") task.outlineLevel = integer(text());
      else if (name == u"ConstraintType") task.constraintType = integer(text());
      else if (name == u"PredecessorLink") task.predecessors.push_back(link());
      else xml_.skipCurrentElement();
    }
    return task;
  }

  ProjectResource resource() {
    ProjectResource resource;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"UID") resource.uid = integer(text());
      else if (name == u"Name") resource.name = text().toStdString();
      else if (name == u"Type") resource.type = integer(text());
      else if (name == u"MaxUnits") resource.maxUnits = number(text());
      else xml_.skipCurrentElement();
    }
    return resource;
  }

  ProjectAssignment assignment() {
    ProjectAssignment assignment;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"TaskUID") assignment.taskUid = integer(text());
      else if (name == u"ResourceUID") assignment.resourceUid = integer(text());
      else if (name == u"Units") assignment.units = number(text());
      else xml_.skipCurrentElement();
    }
    return assignment;
  }

  ProjectException exception(bool oldForm) {
    ProjectException exception;
    bool periodRead = false;
    int type = 1;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"TimePeriod") {
        while (nextChild()) {
          if (xml_.name() == u"FromDate") exception.from = date(text());
          else if (xml_.name() == u"ToDate") exception.to = date(text());
          else xml_.skipCurrentElement();
        }
        periodRead = true;
      } else if (name == u"DayWorking") {
        exception.working = flag(text());
      } else if (name == u"Name") {
        exception.name = text().toStdString();
      } else if (name == u"Type" && !oldForm) {
        type = integer(text());
      } else if (name == u"Period") {
        if (text() != u"1") exception.recurring = true;
      } else if (name == u"DaysOfWeek" || name == u"MonthItem" || name == u"MonthDay") {
        xml_.skipCurrentElement();
        exception.recurring = true;
      } else {
        xml_.skipCurrentElement();
      }
    }
    if (!periodRead) exception.recurring = true;
    if (type != 1) exception.recurring = true;  // 1: every day from..to
    return exception;
  }

  ProjectCalendar calendar() {
    ProjectCalendar calendar;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"UID") calendar.uid = integer(text());
      else if (name == u"Name") calendar.name = text().toStdString();
      else if (name == u"IsBaseCalendar") calendar.isBase = flag(text());
      else if (name == u"BaseCalendarUID") calendar.baseUid = integer(text());
      else if (name == u"WeekDays") readList(u"WeekDay", [&] { weekDay(calendar); });
      else if (name == u"Exceptions") readList(u"Exception", [&] { calendar.exceptions.push_back(exception(false)); });
      else xml_.skipCurrentElement();
    }
    return calendar;
  }

  // DayType 1 Sunday .. 7 Saturday; 0 is the older form of an exception.
  void weekDay(ProjectCalendar& calendar) {
    int dayType = -1;
    int working = -1;
    ProjectException period;
    bool hasPeriod = false;
    while (nextChild()) {
      const auto name = xml_.name();
      if (name == u"DayType") dayType = integer(text());
      else if (name == u"DayWorking") working = flag(text()) ? 1 : 0;
      else if (name == u"TimePeriod") {
        while (nextChild()) {
          if (xml_.name() == u"FromDate") period.from = date(text());
          else if (xml_.name() == u"ToDate") period.to = date(text());
          else xml_.skipCurrentElement();
        }
        hasPeriod = true;
      } else xml_.skipCurrentElement();
    }
    if (dayType >= 1 && dayType <= 7) {
      calendar.dayWorking[(dayType + 5) % 7] = working < 0 ? 1 : working;
    } else if (dayType == 0 && hasPeriod) {
      period.working = working == 1;
      calendar.exceptions.push_back(period);
    }
  }

  QXmlStreamReader xml_;
  std::string fileName_;
};

}  // namespace

ProjectFile parseProjectXml(const std::string& bytes, const std::string& fileName) {
  return Reader(bytes, fileName).read();
}

ProjectFile readProjectXmlFile(const std::string& fileName) {
  const std::optional<std::string> bytes = readRegularFile(fileName, kMaxProjectXmlBytes);
  if (!bytes) throw CommandError("Файл " + fileName + ": больше 64 МиБ, такие файлы MS Project XML не открываются");
  return parseProjectXml(*bytes, fileName);
}

}  // namespace velko
