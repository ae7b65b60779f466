#include "ui/options/print_options.h"

#include "model/number_text.h"
#include "report/print_report.h"

namespace velko {

namespace {

std::int32_t integer(PrintOptionError::Option option, std::string_view text) {
  try {
    return StrToInt(text);
  } catch (const CommandError& error) {
    throw PrintOptionError(option, error.what());
  }
}

}  // namespace

TPrintOptions& printOptions() {
  static TPrintOptions options;
  return options;
}

bool printHeightInRange(std::int32_t height) { return height >= kMinPrintHeight && height <= kMaxPrintHeight; }

bool previewZoomInRange(std::int32_t zoom) { return zoom >= kMinPreviewZoom && zoom <= kMaxPreviewZoom; }

void takePrintOptions(TPrintOptions& options, std::string_view heightText,
                      std::string_view zoomText) {
  const std::int32_t height = integer(PrintOptionError::Height, heightText);
  if (!printHeightInRange(height)) {
    throw PrintOptionError(PrintOptionError::Height, "Высота печати должна быть от " + std::to_string(kMinPrintHeight) +
                                                         " до " + std::to_string(kMaxPrintHeight) +
                                                         " точек устройства вывода");
  }
  std::int32_t zoom = 0;
  try {
    zoom = integer(PrintOptionError::Zoom, zoomText);
  } catch (const PrintOptionError&) {
    options.PrintHeight = height;
    throw;
  }
  if (!previewZoomInRange(zoom)) {
    throw PrintOptionError(PrintOptionError::Zoom, "Увеличение должно быть от " + std::to_string(kMinPreviewZoom) +
                                                       " до " + std::to_string(kMaxPreviewZoom) + " процентов");
  }
  options.PrintHeight = height;
  options.PreviewZoom = zoom;
}

}  // namespace velko
