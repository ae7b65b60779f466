#pragma once

#include <cstddef>
#include <string>

#include "exchange/project_file.h"

namespace velko {

// Files larger than this are refused before they are parsed: 5,000 tasks take about 5 MiB.
inline constexpr std::size_t kMaxProjectXmlBytes = std::size_t{64} << 20;

// Reads the Project XML interchange text `bytes` (of the file `fileName`, for the
// messages). No external entity or DTD is ever fetched, and a document type that
// declares entities is refused before anything is expanded. Malformed XML, XML whose
// root is not Project, and numbers or dates that do not read throw a CommandError
// naming the line and column.
ProjectFile parseProjectXml(const std::string& bytes, const std::string& fileName);

// The same from the file, refused above kMaxProjectXmlBytes.
ProjectFile readProjectXmlFile(const std::string& fileName);

}  // namespace velko
