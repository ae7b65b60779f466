#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/works_table.h"

namespace velko {

// A rectangle of works table cells as the clipboard carries it: lines of cell texts.
using CellBlock = std::vector<std::vector<std::string>>;

// Splits clipboard text into lines (CR LF, LF or CR) and cells: at tabs when the text
// holds one (a spreadsheet's or this program's copy), else at semicolons (text saved
// by a spreadsheet that writes the decimal comma). Empty lines at the end are dropped,
// so a block copied with its last line end is the block itself.
CellBlock splitCellBlock(std::string_view text);

// Whether the text is a block of several cells rather than one value for one cell.
bool holdsSeveralCells(std::string_view text);

// The table after pasting `block` from the cell (row, column), row 1.. and column 0..5,
// row by row; the table's row count (the works count) grows when the block runs past
// its last row. A block of five columns from I leaves the names as they were, one of
// six sets them too. Every value is checked as typing checks it (cleanCellText, and
// pastedNameText for a name); a value a cell refuses, a name longer than
// kMaxWorkNameChars, a block that runs past the name column or past kMaxWorks rows is
// refused whole with a CommandError that names the row and the column. Empty cells
// beyond the name column are let through, as spreadsheets often carry them. A name
// cannot bring a tab or a line break through a block: those split it into cells.
WorksTable pasteCellBlock(const WorksTable& table, int row, int column, const CellBlock& block);

// The cells of rows top..bottom and columns left..right as tab-separated lines, each
// ended by a line feed: what a spreadsheet and pasteCellBlock read back.
std::string copyCellBlock(const WorksTable& table, int top, int left, int bottom, int right);

// "1 строки", "12 строк": a number of rows after "из" or "вставка".
std::string rowsOf(int rows);

// Empties the cells of rows top..bottom and columns left..right.
void clearCellBlock(WorksTable& table, int top, int left, int bottom, int right);

}  // namespace velko
