#pragma once

#include <QString>

class QMimeData;
class QWidget;

namespace velko {

// The local data file (.dat) a drag carries, as a single file; empty for anything else.
QString draggedDataFile(const QMimeData* mime);

// A data file dragged over `box` (a widget that takes dropped text, such as a count box
// or a cell editor) goes to `box`'s window instead, which opens it when it takes drops.
void passDataFileDropsToWindow(QWidget* box);

}  // namespace velko
