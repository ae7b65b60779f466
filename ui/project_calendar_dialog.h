#pragma once

#include <QDialog>

#include "model/data_set_extras.h"

class QCheckBox;
class QDateEdit;
class QPlainTextEdit;
class QRadioButton;

namespace velko {

// "Календарь проекта": the data set's optional start date and its working calendar. The
// dialog edits a copy; result() is what the user accepted. OK refuses, with the message
// the core gives, a calendar without working days or a year without production data.
class TCalendarDialog : public QDialog {
  Q_OBJECT

 public:
  TCalendarDialog(const DataSetExtras& extras, QWidget* parent);
  const DataSetExtras& result() const { return extras_; }

 private:
  void accept() override;
  void updateEnabled();

  DataSetExtras extras_;
  QCheckBox* CheckBox1;        // "Дата начала"
  QDateEdit* DateEdit1;
  QRadioButton* RadioButton1;  // production calendar
  QRadioButton* RadioButton2;  // every day
  QRadioButton* RadioButton3;  // own days off
  QCheckBox* WeekBoxes[7];     // Monday .. Sunday
  QPlainTextEdit* OffDates;
  QPlainTextEdit* WorkingDates;
};

}  // namespace velko
