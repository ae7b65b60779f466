#pragma once

#include <functional>
#include <string>

#include "data/data_file.h"
#include "tools/batch_options.h"

namespace velko {

class OptimisationObserver;
class SafeFileSet;

// What the full tool adds to a run: further files joining the set that replaces the
// earlier files together, and text printed after the results.
using BatchOutputs = std::function<std::string(SafeFileSet& files)>;
// How the full tool reads an input file that is not a data file (Project XML): into
// the model and the table, with what to tell the user in the notice.
using BatchReader = std::function<DataFileContents(TNetworkModel& model, WorksTable& table)>;

// What a freshly started copy of the program does when it opens the data file
// ("Открыть ...", which takes the counts over) and presses "Расчет" or, with --optimise,
// "Оптимизация": the model is theModel(). velko.rez goes into the current folder and its
// text, in UTF-8, to standard output. Every requested output is made before any earlier
// file is replaced, and standard output is written before that too, so a failure of any
// of them changes no file. A failure prints the error box's message on stderr.
// Returns the exit code: 0, or 1 after a failure.
int runBatch(const BatchOptions& options, OptimisationObserver* observer, const BatchOutputs& moreOutputs = {},
             const BatchReader& reader = {});

// The system's reasons for a failed write come in the user's language, as UTF-8
// whatever the character type in force. Called first in main().
void useUsersMessageLanguage();

}  // namespace velko
