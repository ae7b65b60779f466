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
  try {
    options.PrintHeight = StrToInt(boxes.height->text().toStdString());
  } catch (const CommandError&) {
    showPrintOptionsInBoxes(options, boxes);
    throw;
  }
  try {
    options.PreviewZoom = StrToInt(boxes.zoom->text().toStdString());
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
