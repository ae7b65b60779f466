#pragma once

#include <functional>

#include <QString>

class QDropEvent;
class QMimeData;
class QWidget;

namespace velko {

// The local data file (.dat) a drag carries, as a single file; empty for anything else.
QString draggedDataFile(const QMimeData* mime);

// Takes a drag as a copy (or else a link), whatever the source proposes: a file manager
// that is answered "move" deletes its file. A drag that offers only a move is refused.
// True when taken.
bool acceptAsCopy(QDropEvent* drag);

// What to do with a data file dropped on a window: open it.
using DataFileDropHandler = std::function<void(const QString& name)>;

// A data file dragged over `box` (a widget that takes dropped text, such as a count box
// or a cell editor) is taken by `open` instead of landing in the box as the text of its
// address; with no handler the drag is refused there.
void takeDataFileDrops(QWidget* box, DataFileDropHandler open);

}  // namespace velko
