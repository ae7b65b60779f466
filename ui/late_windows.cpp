#include "ui/late_windows.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

#include "data/private_parts.h"
#include "model/command_error.h"

namespace velko {

namespace {

LateWindows* replacement = nullptr;

}  // namespace

LateWindows& loadLateWindows(const std::string& executableDir) {
  using Entry = LateWindows* (*)();
  QStringList failures;
  for (const std::filesystem::path& place : privatePartPlaces(executableDir, kLateWindowsModule)) {
    // The module stays loaded for the rest of the program: its windows live as long.
    QLibrary module(QString::fromStdString(place.string()));
    if (const auto entry = reinterpret_cast<Entry>(module.resolve(kLateWindowsEntry))) return *entry();
    failures << module.errorString();
  }
  throw CommandError(QStringLiteral("Графики и печать недоступны: %1").arg(failures.join(QStringLiteral("; "))).toStdString());
}

LateWindows& lateWindows() {
  if (replacement) return *replacement;
  static LateWindows* loaded = nullptr;
  if (!loaded) loaded = &loadLateWindows(QCoreApplication::applicationDirPath().toStdString());
  return *loaded;
}

void useLateWindows(LateWindows* windows) { replacement = windows; }

}  // namespace velko
