#pragma once

#include <string>
#include <string_view>

#include "data/works_table.h"
#include "model/network_model.h"

namespace velko {

// The keys a works table cell accepts: the digits, ",", "-", Backspace, Tab and Enter.
// The rule is the same for all five columns; the texts are checked only when a command
// converts them.
bool IsAllowedKey(char32_t key);

// What a cell receives for a typed key: "." becomes the program's decimal comma
// (whatever the machine's locale), and a key IsAllowedKey refuses becomes 0 (dropped).
char32_t tableKey(char32_t key);

// Whether a cell may hold `text`: only characters a typed key can put there (digits,
// "," and "-"). Every way into a cell (keys, paste, drop, input method, the table's
// setData) keeps to it, so a saved data file always reads back as the same table.
bool isCellText(std::string_view text);

// What pasting the clipboard's UTF-8 `text` into a cell inserts: blanks and line ends
// around it dropped (a cell copied from a spreadsheet brings its line end), "." made
// ",". Text that holds several cells (a tab or a line end inside it) or a character a
// cell refuses throws a CommandError that says why; nothing is to be inserted then.
// Pasted, dropped and middle-clicked text all go through here.
std::string pastedCellText(std::string_view text);

// "Удалить строку" on the rows 1..workCount: the rows below `selectedRow` move up by
// one and the last row ends up empty; a row whose I cell is empty is cleared whole
// while it moves up. Nothing happens when selectedRow > workCount. Row counts and
// WorkCount stay as they are.
void DeleteWorkRow(WorksTable& table, int selectedRow, int workCount);

// "Вставить строку": rows selectedRow..workCount-1 move down by one (the last row's
// content is lost) and `selectedRow` is left empty for the new work.
void InsertWorkRow(WorksTable& table, int selectedRow, int workCount);

// Copies the five cells of rows 1..workCount from one table into the other: the
// separate works window's activation copy and its ApplyToMain.
void CopyWorkRows(const WorksTable& from, WorksTable& to, int workCount);

// "Данные по работам" takes the counts over from the two box texts: EventCount first,
// then WorkCount. Counts above the model's tables are refused with the messages the
// commands use, before the offending count is stored; 0 or less stays allowed.
void TakeWorkCounts(TNetworkModel& model, const std::string& eventsText, const std::string& worksText);

// How many table rows a data file written now should carry. The reader takes line 2 as
// the number of work lines that follow, so line 2 and the lines written must agree:
// the works count last taken over, lowered to the works count box's number when the box
// holds a smaller whole number (after "Создать" the box says 0 while the old rows are
// still in the table).
int workRowsToSave(const std::string& worksText, int workCount);

}  // namespace velko
