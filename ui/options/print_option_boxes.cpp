#include "ui/options/print_option_boxes.h"

#include <QLineEdit>

#include "model/command_error.h"
#include "model/number_text.h"

namespace velko {

void takePrintOptionsFromBoxes(TPrintOptions& options, const PrintOptionBoxes& boxes) {
  takePrintOptions(options, boxes.height->text().toStdString(),
                   boxes.zoom->text().toStdString());
}

void takeStoredPrintOptions(TPrintOptions& options, const PrintOptionBoxes& boxes) {
  // A whole number out of range (an edited settings file) would lay out a report of a
  // row per page: it quietly becomes the default, which the next save stores.
  try {
    const std::int32_t height = StrToInt(boxes.height->text().toStdString());
    options.PrintHeight = height;
    if (!printHeightInRange(height)) {
      options.PrintHeight = kDefaultPrintHeight;
      boxes.height->setText(QString::number(options.PrintHeight));
    }
  } catch (const CommandError&) {
    showPrintOptionsInBoxes(options, boxes);
    throw;
  }
  try {
    const std::int32_t zoom = StrToInt(boxes.zoom->text().toStdString());
    options.PreviewZoom = zoom;
    if (!previewZoomInRange(zoom)) {
      options.PreviewZoom = kDefaultPreviewZoom;
      boxes.zoom->setText(QString::number(options.PreviewZoom));
    }
  } catch (const CommandError&) {
    boxes.zoom->setText(QString::number(options.PreviewZoom));
    throw;
  }
}

void showPrintOptionsInBoxes(const TPrintOptions& options, const PrintOptionBoxes& boxes) {
  boxes.height->setText(QString::number(options.PrintHeight));
  boxes.zoom->setText(QString::number(options.PreviewZoom));
}

}  // namespace velko
