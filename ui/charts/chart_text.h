#pragma once

#include <QString>

#include "model/stored_real.h"

namespace velko {

// A number of days or workers for a picture or a table: at most two decimals, no
// trailing zeros, and the program's decimal comma ("2,5", "7", "2,33").
QString chartNumber(Extended value);

// The same with the decimal point, for files other programs read (CSV).
QString plainNumber(Extended value);

// "I-J", the way the results name a work.
QString workName(int i, int j);

}  // namespace velko
