#pragma once

#include <string>

namespace velko {

// What velko-batch prints: the one-line usage after a wrong call, the whole help for
// --help and the version for --version. The manual page velko-batch(1) lists the same
// options (the package test compares them).
std::string batchUsageLine();
std::string batchHelpText();
std::string batchVersionText();

}  // namespace velko
