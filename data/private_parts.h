#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velko {

// Parts the program and the batch tool load only when a command needs them (the pictures,
// the printed report) are installed in a private folder, given relative to the folder
// of the executables (VELKO_PRIVATE_PARTS, set by the build from the install layout); a
// build keeps them beside the executables. The places to look, in order.
inline std::vector<std::filesystem::path> privatePartPlaces(const std::filesystem::path& executableDir,
                                                           const std::string& name) {
  return {executableDir / VELKO_PRIVATE_PARTS / name, executableDir / name};
}

}  // namespace velko
