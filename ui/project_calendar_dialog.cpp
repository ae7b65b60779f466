#include "ui/project_calendar_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calendar/working_days.h"
#include "model/command_error.h"
#include "ui/command_guard.h"

namespace velko {

namespace {

QDate toQDate(Date date) {
  const std::chrono::year_month_day ymd(date);
  return QDate(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
               static_cast<int>(static_cast<unsigned>(ymd.day())));
}

Date fromQDate(const QDate& date) {
  return Date(std::chrono::year(date.year()) / date.month() / date.day());
}

QString datesText(const std::vector<Date>& dates) {
  QStringList lines;
  for (Date date : dates) lines << toQDate(date).toString(QStringLiteral("dd.MM.yyyy"));
  return lines.join(QLatin1Char('\n'));
}

// One date a line, as shown (dd.MM.yyyy) or ISO; blank lines are skipped.
std::vector<Date> readDates(const QString& text, const QString& what) {
  std::vector<Date> dates;
  for (const QString& raw : text.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.isEmpty()) continue;
    QDate date = QDate::fromString(line, QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid()) date = QDate::fromString(line, Qt::ISODate);
    if (!date.isValid() || date.year() < kFirstCalendarYear || date.year() > kLastCalendarYear)
      throw CommandError((what + QStringLiteral(": «") + line + QStringLiteral("» не дата вида ДД.ММ.ГГГГ")).toStdString());
    dates.push_back(fromQDate(date));
  }
  std::sort(dates.begin(), dates.end());
  dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
  return dates;
}

}  // namespace

TCalendarDialog::TCalendarDialog(const DataSetExtras& extras, QWidget* parent) : QDialog(parent), extras_(extras) {
  setObjectName(QStringLiteral("TCalendarDialog"));
  setWindowTitle(QStringLiteral("Календарь проекта"));

  CheckBox1 = new QCheckBox(QStringLiteral("Дата начала"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setToolTip(QStringLiteral("Без даты начала сроки показываются в днях"));
  DateEdit1 = new QDateEdit(this);
  DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
  DateEdit1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  DateEdit1->setCalendarPopup(true);
  DateEdit1->setDateRange(QDate(kFirstCalendarYear, 1, 1), QDate(kLastCalendarYear, 12, 31));
  CheckBox1->setChecked(extras.startDate.has_value());
  DateEdit1->setDate(extras.startDate ? toQDate(*extras.startDate) : QDate::currentDate());

  auto* kinds = new QGroupBox(QStringLiteral("Рабочие дни"), this);
  RadioButton1 = new QRadioButton(QStringLiteral("Пятидневка по производственному календарю"), kinds);
  RadioButton2 = new QRadioButton(QStringLiteral("Все дни рабочие"), kinds);
  RadioButton3 = new QRadioButton(QStringLiteral("Свои выходные"), kinds);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
  const WorkingCalendar& calendar = extras.calendar;
  (calendar.kind == WorkingCalendar::Kind::EveryDay ? RadioButton2
   : calendar.kind == WorkingCalendar::Kind::Own    ? RadioButton3
                                                    : RadioButton1)
      ->setChecked(true);

  static const char* const kDays[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
  auto* week = new QHBoxLayout;
  for (int day = 0; day < 7; ++day) {
    WeekBoxes[day] = new QCheckBox(QString::fromUtf8(kDays[day]), kinds);
    WeekBoxes[day]->setObjectName(QStringLiteral("WeekBox%1").arg(day + 1));
    WeekBoxes[day]->setChecked((calendar.weekMask >> day) & 1);
    week->addWidget(WeekBoxes[day]);
  }
  week->addStretch(1);
  OffDates = new QPlainTextEdit(datesText(calendar.daysOff), kinds);
  OffDates->setObjectName(QStringLiteral("OffDates"));
  WorkingDates = new QPlainTextEdit(datesText(calendar.workingDays), kinds);
  WorkingDates->setObjectName(QStringLiteral("WorkingDates"));
  for (QPlainTextEdit* list : {OffDates, WorkingDates}) {
    list->setPlaceholderText(QStringLiteral("по дате в строке: 04.11.2026"));
    list->setFixedHeight(90);
  }
  auto* lists = new QHBoxLayout;
  auto* offColumn = new QVBoxLayout;
  offColumn->addWidget(new QLabel(QStringLiteral("Выходные даты:"), kinds));
  offColumn->addWidget(OffDates);
  auto* workingColumn = new QVBoxLayout;
  workingColumn->addWidget(new QLabel(QStringLiteral("Рабочие даты:"), kinds));
  workingColumn->addWidget(WorkingDates);
  lists->addLayout(offColumn);
  lists->addLayout(workingColumn);

  auto* kindsLayout = new QVBoxLayout(kinds);
  kindsLayout->addWidget(RadioButton1);
  kindsLayout->addWidget(RadioButton2);
  kindsLayout->addWidget(RadioButton3);
  auto* own = new QVBoxLayout;
  own->setContentsMargins(24, 0, 0, 0);
  own->addWidget(new QLabel(QStringLiteral("Рабочие дни недели:"), kinds));
  own->addLayout(week);
  own->addLayout(lists);
  kindsLayout->addLayout(own);

  auto* note = new QLabel(QStringLiteral("Сокращённый предпраздничный день считается полным рабочим днём. День 0 "
                                         "графика — первый рабочий день не раньше даты начала."),
                          this);
  note->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* start = new QHBoxLayout;
  start->addWidget(CheckBox1);
  start->addWidget(DateEdit1);
  start->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(start);
  layout->addWidget(kinds);
  layout->addWidget(note);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &TCalendarDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(CheckBox1, &QCheckBox::toggled, this, &TCalendarDialog::updateEnabled);
  connect(RadioButton3, &QRadioButton::toggled, this, &TCalendarDialog::updateEnabled);
  updateEnabled();
}

void TCalendarDialog::updateEnabled() {
  DateEdit1->setEnabled(CheckBox1->isChecked());
  const bool own = RadioButton3->isChecked();
  for (QCheckBox* box : WeekBoxes) box->setEnabled(own);
  OffDates->setEnabled(own);
  WorkingDates->setEnabled(own);
}

void TCalendarDialog::accept() {
  DataSetExtras edited = extras_;
  const bool accepted = runCommand(this, [&] {
    edited.startDate = CheckBox1->isChecked() ? std::optional<Date>(fromQDate(DateEdit1->date())) : std::nullopt;
    WorkingCalendar calendar;
    if (RadioButton2->isChecked()) calendar.kind = WorkingCalendar::Kind::EveryDay;
    if (RadioButton3->isChecked()) {
      calendar.kind = WorkingCalendar::Kind::Own;
      calendar.weekMask = 0;
      for (int day = 0; day < 7; ++day)
        if (WeekBoxes[day]->isChecked()) calendar.weekMask |= static_cast<std::uint8_t>(1u << day);
      calendar.daysOff = readDates(OffDates->toPlainText(), QStringLiteral("Выходные даты"));
      calendar.workingDays = readDates(WorkingDates->toPlainText(), QStringLiteral("Рабочие даты"));
    }
    edited.calendar = calendar;
    // The core's checks, now rather than at the first picture: no working day, no data.
    if (edited.startDate)
      WorkingDays(*edited.startDate, calendar, ProductionCalendar::withUserYears(userCalendarFolder()));
  });
  if (!accepted) return;
  extras_ = std::move(edited);
  QDialog::accept();
}

}  // namespace velko
