#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/command_error.h"

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

// An option text refused, with the option it was for, so that the dialog can put the
// user back in that box.
class PrintOptionError : public CommandError {
 public:
  enum Option { Height, Zoom };
  PrintOptionError(Option option, const std::string& message) : CommandError(message), option(option) {}
  Option option;
};

// Takes both options from their texts, the height first: when only the zoom text is not
// a whole number, the new height is already in force and the zoom keeps its value
// ("'<text>' is not a valid integer value"). A value outside its range (the report's
// kMinPrintHeight.., kMinPreviewZoom..) is refused with the range and its unit before
// either option changes. Throws PrintOptionError.
void takePrintOptions(TPrintOptions& options, std::string_view heightText,
                      std::string_view zoomText);

// Whether a value may stand for the option; a stored value that may not gives way to
// the default.
bool printHeightInRange(std::int32_t height);
bool previewZoomInRange(std::int32_t zoom);

}  // namespace velko
