#pragma once

#include <QString>

class QWidget;

namespace velko {

// The program's filters are written "text|pattern[|text|pattern...]"; Qt's dialogs want
// "text (patterns)" joined by ";;". A text that already shows its pattern keeps it.
QString qtFileFilter(const QString& filter);

// The filter added to the open and save dialogs for the other planning programs' format.
inline constexpr const char* kProjectXmlFilter = "|MS Project XML (*.xml)|*.xml";
// A name that the program reads and writes as Project XML.
inline bool isProjectXmlName(const QString& name) { return name.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive); }

// The open and save dialogs of the program. They start in the current directory and,
// once a file is chosen, leave the process's current directory at its folder: the
// results file "velko.rez" is written and read by its bare name and so follows the
// folder the user last worked in. Both return an empty name when cancelled. The save
// dialog asks before it replaces an existing file, and adds to a name typed without an
// extension `defaultSuffix`, or the extension of the filter the user picked when that
// is not the first one; `chosenFilter` gets the index of the filter in force.
QString chooseFileToOpen(QWidget* parent, const QString& filter);
QString chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                         int* chosenFilter = nullptr);

}  // namespace velko
