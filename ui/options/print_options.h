#pragma once

#include <cstdint>
#include <string_view>

namespace velko {

inline constexpr std::int32_t kDefaultPrintHeight = 750;
inline constexpr std::int32_t kDefaultPreviewZoom = 120;

// The two options of the printed report. The report copies them at the start of every
// run, so a change is in force from the next preview or print on.
struct TPrintOptions {
  std::int32_t PrintHeight = kDefaultPrintHeight;  // page-break limit, in device dots
  std::int32_t PreviewZoom = kDefaultPreviewZoom;  // zoom of the print preview, in percent
};

// The program's one pair of options, at the defaults until the main window takes them.
TPrintOptions& printOptions();

// Takes both options from their texts, the height first: when only the zoom text is bad,
// the new height is already in force and the zoom keeps its value. Throws CommandError
// "'<text>' is not a valid integer value".
void takePrintOptions(TPrintOptions& options, std::string_view heightText,
                      std::string_view zoomText);

}  // namespace velko
