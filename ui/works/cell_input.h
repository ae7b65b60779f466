#pragma once

#include <QString>
#include <QValidator>

class QAbstractItemView;
class QLineEdit;
class QModelIndex;

namespace velko {

// A works table cell editor's rule for its whole text, whatever brings the text in
// (keys, paste, drop, an input method): only what isCellText allows, "." made ",". The
// text the editor opened with stays acceptable as it is, so a cell the data file
// reader filled with "1E20" can still be left with Tab or Enter; it can be replaced,
// not edited into something a cell refuses.
// A name cell's editor takes any text isNameText allows (at most 255 characters).
class WorksCellValidator : public QValidator {
 public:
  using QValidator::QValidator;
  void setOpeningText(const QString& text) { opening_ = text; }
  void setNameCell(bool name) { name_ = name; }
  State validate(QString& input, int& pos) const override;

 private:
  QString opening_;
  bool name_ = false;
};

// The one entry point for text that is not typed into a cell: pasted, dropped or
// middle-clicked. One value goes through pastedCellText (pastedNameText in the name
// column, where one line is one name even with semicolons in it); the result is inserted at the
// editor's cursor (replacing its selection), or replaces the text of a cell that has
// no editor open. A block of several cells (a spreadsheet's rows) goes into the table
// from that cell, row by row, as one edit of the table (pasteCellBlock). A refusal
// changes nothing and is shown in the window's error box once the event that asked for
// the paste has been handled. Returns whether text went in.
bool insertIntoCell(QLineEdit* editor, const QString& text);
bool replaceCellText(QAbstractItemView* grid, const QModelIndex& index, const QString& text);

}  // namespace velko
