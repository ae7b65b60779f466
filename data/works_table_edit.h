#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/works_table.h"
#include "model/data_set_extras.h"
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

// A pasted value as a cell holds it: blanks and line ends around it dropped (a cell
// copied from a spreadsheet brings its line end), "." made ","; nothing when a cell
// refuses what is left (it is not what a key could type).
std::optional<std::string> cleanCellText(std::string_view text);

// The refused text and why, for a message: "«12a»: в ячейке допустимы только цифры,
// запятая и минус" (a long text cut short).
std::string refusedCellText(std::string_view text);

// What pasting the clipboard's UTF-8 `text` into one cell inserts: cleanCellText.
// Text that holds several cells (a tab or a line end inside it) or a character a cell
// refuses throws a CommandError that says why; nothing is to be inserted then. Pasted,
// dropped and middle-clicked text all go through here.
std::string pastedCellText(std::string_view text);

// A work's name as the table holds it: any text of at most kMaxWorkNameChars characters
// (code points) without a tab or a line break, which a block of cells could not carry.
bool isNameText(std::string_view text);

// A name pasted or read into the name cell: tabs and line breaks inside become blanks
// (one name from the file may hold them escaped); longer than kMaxWorkNameChars
// characters is refused with a CommandError that says how long it is ("Наименование
// длиннее 255 знаков (300). Ничего не вставлено.").
std::string pastedNameText(std::string_view text);

// Blanks in place of the tabs and line breaks of `text`.
std::string oneLineName(std::string_view text);

// "Удалить строку" on the works 1..workCount: the row `selectedRow` goes, the rows
// below it move up whole and the works count drops by one, so no other work is lost.
// Nothing happens when selectedRow > workCount. Returns the new works count, which
// also becomes the table's row count.
int DeleteWorkRow(WorksTable& table, int selectedRow, int workCount);

// "Вставить строку": the rows from `selectedRow` (or an empty row after the last work,
// when it lies beyond) move down whole, `selectedRow` is left empty for the new work and
// the works count rises by one. Refused at kMaxWorks works before anything changes.
// Returns the new works count, which also becomes the table's row count.
int InsertWorkRow(WorksTable& table, int selectedRow, int workCount);

// Copies the cells (the name too) of rows 1..workCount from one table into the other: the
// separate works window's activation copy and its ApplyToMain.
void CopyWorkRows(const WorksTable& from, WorksTable& to, int workCount);

// The counts "Данные по работам" takes over from the two box texts, read events first.
// Counts above the model's tables are refused with the messages the commands use, and
// then neither count is taken; 0 or less stays allowed.
struct WorkCounts {
  std::int32_t events = 0;
  std::int32_t works = 0;
};
WorkCounts TakenWorkCounts(const std::string& eventsText, const std::string& worksText);

// How many table rows a data file written now should carry. The reader takes line 2 as
// the number of work lines that follow, so line 2 and the lines written must agree:
// the works count last taken over, lowered to the works count box's number when the box
// holds a smaller whole number (after "Создать" the box says 0 while the old rows are
// still in the table).
int workRowsToSave(const std::string& worksText, int workCount);

}  // namespace velko
