#pragma once

#include <string>

#include "crews/crew_problem.h"

namespace velko {

// A standard single-mode instance (.sm): its jobs, numbered from 1, are the activities
// from 0; its renewable resources, the trades from 0. Throws std::runtime_error when the
// file cannot be read or is no such instance.
CrewProblem readPsplibInstance(const std::string& path);

}  // namespace velko
