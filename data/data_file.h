#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/works_table.h"
#include "model/network_model.h"

namespace velko {

inline constexpr const char* kDefaultDataFileName = "Default.dat";
inline constexpr const char* kDataFileFilter = "Исходные данные (*.dat)|*.dat";

// What reading a data file hands to the window besides the model and the table.
struct DataFileContents {
  std::int32_t VariantNumber = 0;
  // Set when fewer work rows reached the table than line 2 promised, or when a field
  // was not all a number (it lists "строка L: поле t прочитано как 0"); the open still
  // succeeds and the user is told this text.
  std::string notice;
  // The file line (from 1) each table row was read from, row 1 first: the rows are
  // ordered by their events, not as the lines stand.
  std::vector<int> rowLines;
};

// Reads the data file `fileName` (three count lines, then one line "I,J,t,n,Id" per
// work) into the model and rebuilds the works table from the matrix: one row per
// work with I < J <= EventCount and Id != 0, ordered by I then J, t with the decimal
// comma; every row below the last one written is emptied, and WorkCount becomes the
// number of rows written. Counts outside 0..kMaxEvents events or 0..kMaxWorks works,
// and a file that holds fewer work lines than line 2 says, refuse the file and change
// nothing; work lines with an event number outside 1..kMaxEvents are skipped. The
// section after the work lines, if any, becomes model.Extras (empty without one), and
// its names go into the rows of their works (namesIntoTable).
// Anything but a regular file of at most 16 MiB, and a file whose line 2 or 3 is missing
// or starts with no number, is refused as not a data file. File errors throw with the
// runtime's message ("File not found", ...).
DataFileContents ReadDataFile(TNetworkModel& model, const std::string& fileName, WorksTable& table);

// Writes the data file `fileName` from the three box texts and the first `rows` rows
// of the table ("," in t becomes "."), then the section of `extras` (none when it is
// empty, so that such a file is as before). The names kept are those of `extras`: the
// window passes extrasWithTableNames, so the names written are those of its rows. The previous file stays intact on failure.
void WriteDataFile(const std::string& fileName, const std::string& variantText,
                   const std::string& worksText, const std::string& eventsText,
                   const WorksTable& table, int rows, const DataSetExtras& extras = {});

// The part of `name` after its last backslash (a backslash in the last position does
// not count); the whole name when there is none.
std::string ShortFileName(const std::string& name);

}  // namespace velko
