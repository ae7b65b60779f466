#include "ui/options/print_options.h"

#include "model/number_text.h"

namespace velko {

TPrintOptions& printOptions() {
  static TPrintOptions options;
  return options;
}

void takePrintOptions(TPrintOptions& options, std::string_view heightText,
                      std::string_view zoomText) {
  options.PrintHeight = StrToInt(heightText);
  options.PreviewZoom = StrToInt(zoomText);
}

}  // namespace velko
