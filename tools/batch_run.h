#pragma once

#include <functional>

#include "tools/batch_options.h"

namespace velko {

class OptimisationObserver;

// What a freshly started copy of the program does when it opens the data file
// ("Открыть ...", which takes the counts over) and presses "Расчет" or, with --optimise,
// "Оптимизация": the model is theModel(); velko.rez is written into the current folder
// and printed in UTF-8 on stdout. A failure throws, as the command would.
void runBatchCommand(const BatchOptions& options, OptimisationObserver* observer);

// Runs `body`; a failure prints the error box's message on stderr. Returns the exit
// code: 0, or 1 after a failure.
int exitCodeOf(const std::function<void()>& body);

}  // namespace velko
