#pragma once

#include <QString>

class QCoreApplication;

namespace velko {

// The program's command line, "velko [FILE]": the data file to open at start, empty
// when none is named. "--help" and "--version" print and end the program, as does a
// wrong argument, with its message.
QString dataFileArgument(const QCoreApplication& app);

}  // namespace velko
