#pragma once

#include "ui/options/print_options.h"

class QLineEdit;

namespace velko {

// The main window's two hidden boxes that carry the options in their stored form
// (CurrencyEdit5: the print height, CurrencyEdit6: the preview zoom).
struct PrintOptionBoxes {
  QLineEdit* height = nullptr;
  QLineEdit* zoom = nullptr;
};

// The main window's creation: both options from the boxes' design texts.
void takePrintOptionsFromBoxes(TPrintOptions& options, const PrintOptionBoxes& boxes);

// After the stored texts have been put into the boxes. A box whose text is refused gets
// back the value in force, together with the boxes not yet taken, so a damaged entry is
// reported once and mended by the next save instead of being written back. A whole
// number outside its option's range takes the default, without a word.
void takeStoredPrintOptions(TPrintOptions& options, const PrintOptionBoxes& boxes);

// The boxes show the values in force, so that the next save stores them.
void showPrintOptionsInBoxes(const TPrintOptions& options, const PrintOptionBoxes& boxes);

}  // namespace velko
